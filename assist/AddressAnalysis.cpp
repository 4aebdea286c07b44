#include "assist/AddressAnalysis.h"

#include "base/Strings.h"
#include "catalog/MostFCatContainer.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace {

// The keywords of the keyword setting, in upper case; the longer one is looked for first.
const char kAmsKeyword[] = "MOSTAMSMESSAGE";
const char kMessageKeyword[] = "MOSTMESSAGE";

const char kWordDelimiters[] = " ():,;'=-{}[]/\"\\";
const char kParameterDelimiters[] = ":;=(){}\\";

bool isWordDelimiter(char c) { return c != '\0' && std::strchr(kWordDelimiters, c) != nullptr; }
bool isParameterDelimiter(char c) { return c != '\0' && std::strchr(kParameterDelimiters, c) != nullptr; }

int clampTo(int position, const std::string& text) {
    return std::max(0, std::min(position, static_cast<int>(text.size())));
}

// An entry spelt as typed wins over one that differs only in letter case.
template <class Entries> std::optional<ListEntry> firstWithHead(const Entries& list, const std::string& segment) {
    for (const auto& e : list)
        if (GetEntryHead(e.text) == segment) return e;
    for (const auto& e : list)
        if (EqualsNoCase(GetEntryHead(e.text), segment)) return e;
    return std::nullopt;
}

} // namespace

int KAddressAnalysis::WordStart(const std::string& text, int position) {
    for (int i = clampTo(position, text) - 1; i >= 0; --i)
        if (text[static_cast<size_t>(i)] == '.' || isWordDelimiter(text[static_cast<size_t>(i)])) return i + 1;
    return 0;
}

int KAddressAnalysis::WordEnd(const std::string& text, int position) {
    for (int i = clampTo(position, text); i < static_cast<int>(text.size()); ++i)
        if (text[static_cast<size_t>(i)] == '.' || isWordDelimiter(text[static_cast<size_t>(i)])) return i;
    return static_cast<int>(text.size());
}

int KAddressAnalysis::ParameterStart(const std::string& text, int position) {
    for (int i = clampTo(position, text) - 1; i >= 0; --i)
        if (text[static_cast<size_t>(i)] == ',' || isParameterDelimiter(text[static_cast<size_t>(i)])) return i + 1;
    return 0;
}

int KAddressAnalysis::ParameterEnd(const std::string& text, int position) {
    for (int i = clampTo(position, text); i < static_cast<int>(text.size()); ++i)
        if (text[static_cast<size_t>(i)] == ',' || isParameterDelimiter(text[static_cast<size_t>(i)])) return i;
    return static_cast<int>(text.size());
}

int KAddressAnalysis::CountParameterIndex(const std::string& text) {
    const size_t npos = std::string::npos;
    int count = 1;
    size_t q = text.find('\'');
    size_t c = text.find(',');
    while (c != npos) {
        bool counts = false;
        if (q == npos || q > c) {
            counts = true;
        } else {
            size_t e = text.find('\'', q + 1);
            bool finished = false;
            while (e != npos) {
                if (c < e) {
                    c = text.find(',', c + 1);
                    if (c == npos) {
                        finished = true;
                        break;
                    }
                    continue;
                }
                if (e + 1 < text.size() && text[e + 1] == '\'') {
                    e = text.find('\'', e + 2);
                    continue;
                }
                q = text.find('\'', e + 1);
                counts = q == npos || c < q;
                break;
            }
            if (finished) break;
        }
        if (counts) ++count;
        c = text.find(',', c + 1);
    }
    return count;
}

bool KAddressAnalysis::IsValidInstanceText(const std::string& text) {
    if (text.empty() || text == "*") return true;
    if (text.compare(0, 2, "0x") == 0) {
        if (text.size() > 4) return false;
        return std::all_of(text.begin() + 2, text.end(), [](unsigned char c) { return std::isxdigit(c) != 0; });
    }
    if (text.size() > 3 || !std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c) != 0; }))
        return false;
    return std::stoi(text) <= 255;
}

int KAddressAnalysis::DisplayFormatOf(const std::string& segment) {
    if (segment.empty()) return kNameFirst;
    if (segment[0] == '0') return kHexFirst;
    if (segment[0] >= '1' && segment[0] <= '9') return kDecimalFirst;
    return kNameFirst;
}

void KAddressAnalysis::SetReplaceRange(int start, int end, int selStart, int selEnd) {
    if (selStart == selEnd) {
        replaceStart = start;
        replaceEnd = end;
    } else if (selStart > start) {
        replaceStart = start;
        replaceEnd = std::max(end, selEnd);
    } else {
        int d = start - selStart;
        sourceLine.erase(static_cast<size_t>(selStart), static_cast<size_t>(d));
        replaceStart = selStart;
        replaceEnd = std::max(end, selEnd) - d;
    }
}

bool KAddressAnalysis::TryKeywordSetting(int caret, int selStart, int selEnd) {
    const std::string& line = sourceLine;
    size_t semicolon = caret > 0 ? line.rfind(';', static_cast<size_t>(caret - 1)) : std::string::npos;
    int statementStart = semicolon == std::string::npos ? 0 : static_cast<int>(semicolon) + 1;
    if (statementStart > caret) return false;
    std::string statement = ToUpper(line.substr(static_cast<size_t>(statementStart), static_cast<size_t>(caret - statementStart)));
    auto counts = [&](const char* keyword, size_t* at) {
        size_t p = statement.find(keyword);
        if (p == std::string::npos) return false;
        *at = p;
        return p == 0 || statement[p - 1] == ' ' || statement[p - 1] == '\t';
    };
    size_t at = 0;
    int keywordEnd;
    if (counts(kAmsKeyword, &at))
        keywordEnd = statementStart + static_cast<int>(at + std::strlen(kAmsKeyword));
    else if (counts(kMessageKeyword, &at))
        keywordEnd = statementStart + static_cast<int>(at + std::strlen(kMessageKeyword));
    else
        return false;
    // the keyword ends before the caret, having been found in front of it; a selection may still
    // start inside it
    if (selStart < keywordEnd) return false;

    int tokenStart = keywordEnd;
    for (int i = caret - 1; i >= keywordEnd; --i)
        if (isWordDelimiter(line[static_cast<size_t>(i)])) {
            tokenStart = i + 1;
            break;
        }
    int tokenEnd = static_cast<int>(line.size());
    for (int i = caret; i < static_cast<int>(line.size()); ++i)
        if (isWordDelimiter(line[static_cast<size_t>(i)])) {
            tokenEnd = i;
            break;
        }
    typedPrefix = line.substr(static_cast<size_t>(tokenStart), static_cast<size_t>(caret - tokenStart));
    addressText = line.substr(static_cast<size_t>(tokenStart), static_cast<size_t>(tokenEnd - tokenStart));
    caretInToken = caret - tokenStart; // the token was found around the caret
    SetReplaceRange(tokenStart, tokenEnd, selStart, selEnd);
    return true;
}

void KAddressAnalysis::SetSourceText(const std::string& line, int caret, int selStart, int selEnd) {
    sourceLine = line;
    addressText.clear();
    typedPrefix.clear();
    caretInToken = -1;
    int n = static_cast<int>(line.size());
    // A position beyond the line goes to its last character, as the host expects; nothing may
    // land outside the line, not even for an empty one.
    if (caret > n) caret = n - 1;
    if (selStart > n) selStart = n - 1;
    caret = std::max(caret, 0);
    selStart = std::max(selStart, 0);
    selEnd = std::min(std::max(selEnd, 0), n);
    if (selStart > selEnd) selEnd = selStart;

    if (TryKeywordSetting(caret, selStart, selEnd)) {
        keywordMode = true;
        return;
    }
    keywordMode = false;
    size_t quote = caret > 0 ? line.rfind('"', static_cast<size_t>(caret - 1)) : std::string::npos;
    if (quote == std::string::npos) {
        replaceStart = selStart;
        replaceEnd = caret;
        return;
    }
    int start = static_cast<int>(quote) + 1;
    int tokenEnd = n;
    bool inParentheses = false;
    for (int p = start; p < n; ++p) {
        char ch = line[static_cast<size_t>(p)];
        if (ch == '(') {
            if (inParentheses) {
                tokenEnd = p;
                break;
            }
            inParentheses = true;
        } else if (ch == ')') {
            tokenEnd = inParentheses ? p + 1 : p;
            break;
        } else if (ch == '"' || (inParentheses ? isParameterDelimiter(ch) : isWordDelimiter(ch))) {
            // the closing quote ends the address even inside an unclosed parameter list
            tokenEnd = p;
            break;
        }
    }
    if (start <= n) typedPrefix = line.substr(static_cast<size_t>(start), static_cast<size_t>(std::max(caret - start, 0)));
    addressText = line.substr(static_cast<size_t>(start), static_cast<size_t>(tokenEnd - start));
    withInstance = std::count(addressText.begin(), addressText.end(), '.') > 2;
    caretInToken = std::min(caret, tokenEnd) - start; // past the token: at its end
    size_t closing = line.find('"', static_cast<size_t>(tokenEnd));
    int end = closing == std::string::npos ? tokenEnd : static_cast<int>(closing);
    SetReplaceRange(start, end, selStart, selEnd);
}

void KAddressAnalysis::ResolveFBlock(const std::string& segment) {
    fblockEntry.reset();
    if (!container) return;
    container->SetFBlockFormat(DisplayFormatOf(segment));
    fblockEntry = firstWithHead(container->fblocks, segment);
}

void KAddressAnalysis::ResolveFunction(const std::string& segment) {
    functionEntry.reset();
    if (!container || !fblockEntry) return;
    functionEntry = firstWithHead(container->BuildFunctionList(*fblockEntry, DisplayFormatOf(segment)), segment);
}

void KAddressAnalysis::ResolveOpType(const std::string& segment) {
    opTypeEntry.reset();
    if (!container || !fblockEntry || !functionEntry) return;
    opTypeEntry = firstWithHead(container->BuildOpTypeList(*fblockEntry, *functionEntry, DisplayFormatOf(segment)), segment);
}

CaretPosition KAddressAnalysis::LocateCaret(int caret) {
    const std::string& text = addressText;
    const int length = static_cast<int>(text.size());
    size_t open = text.find('(');
    size_t close = text.find(')');
    // the segment the caret has reached so far
    CaretPosition state = kCaretNothing;
    int s = 0;
    for (;;) {
        int e = WordEnd(text, s);
        if (e == 0) break;
        std::string segment = text.substr(static_cast<size_t>(std::min(s, length)), static_cast<size_t>(std::max(e - s, 0)));
        CaretPosition before = state;
        switch (state) {
        case kCaretNothing:
            ResolveFBlock(segment);
            state = kCaretFBlock;
            break;
        case kCaretFBlock:
            if (!keywordMode && withInstance) {
                state = IsValidInstanceText(segment) ? kCaretInstance : kCaretInvalid;
            } else {
                ResolveFunction(segment);
                state = kCaretFunction;
            }
            break;
        case kCaretInstance:
            ResolveFunction(segment);
            state = kCaretFunction;
            break;
        case kCaretFunction:
            ResolveOpType(segment);
            state = kCaretOpType;
            break;
        case kCaretOpType:
            if (open == std::string::npos || s < static_cast<int>(open) || keywordMode) state = kCaretInvalid;
            break;
        default: break;
        }
        bool justSet = state != before;
        if (justSet && e != length) {
            // each segment ends at the separator of the next one
            char at = text[static_cast<size_t>(e)];
            if ((state == kCaretFBlock || state == kCaretInstance || state == kCaretFunction) && at != '.')
                state = kCaretInvalid;
            if (state == kCaretOpType && at != '(') state = kCaretInvalid;
        }
        s = e + 1;
        if (!(e + 1 <= caret)) break;
    }
    if (state == kCaretInvalid) return kCaretInvalid;
    if (open != std::string::npos && caret > static_cast<int>(open)) state = kCaretParameters;
    if (close != std::string::npos && caret > static_cast<int>(close)) return kCaretAfterList;
    return state;
}

int KAddressAnalysis::BuildReplacement(std::string& outLine) {
    size_t n = sourceLine.size();
    size_t start = static_cast<size_t>(std::max(0, std::min(replaceStart, static_cast<int>(n))));
    size_t end = static_cast<size_t>(std::max(0, std::min(replaceEnd, static_cast<int>(n))));
    std::string prefix = sourceLine.substr(0, start);
    int added = 0;
    if (!keywordMode && (prefix.empty() || prefix.back() != '"')) {
        prefix.push_back('"');
        added = 1;
    }
    std::string suffix = sourceLine.substr(end);
    if (!keywordMode && (suffix.empty() || suffix.front() != '"')) suffix.insert(0, 1, '"');
    if (addressText.find('(') != std::string::npos && (addressText.empty() || addressText.back() != ')'))
        addressText.push_back(')');
    outLine = prefix + addressText + suffix;
    return static_cast<int>(addressText.size()) + added - static_cast<int>(typedPrefix.size());
}

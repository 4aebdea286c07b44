#include "host/TuiKeys.h"
#include "host/Text.h"

#include <windows.h>
#include <w32drv.h>
#include <curses.h>

#include <cctype>
#include <cstring>
#include <vector>

namespace {

KeyAction keyStroke(unsigned vk, unsigned modifiers = 0) {
    KeyAction a;
    a.kind = KeyAction::Key;
    a.vk = vk;
    a.modifiers = modifiers;
    return a;
}

bool fromByte(int c, KeyAction& a) {
    switch (c) {
    case 0: a = keyStroke(VK_SPACE, w32drv::Control); return true; // Ctrl+Space sends NUL
    case 8:
    case 127: a = keyStroke(VK_BACK); return true;
    case 9: a = keyStroke(VK_TAB); return true;
    case 10:
    case 13: a = keyStroke(VK_RETURN); return true;
    case 27: a = keyStroke(VK_ESCAPE); return true;
    default: break;
    }
    if (c >= 1 && c <= 26) {
        a = keyStroke(static_cast<unsigned>('A' + c - 1), w32drv::Control);
        return true;
    }
    if (c >= 32 && c < 127) {
        a = KeyAction{};
        a.kind = KeyAction::Char;
        a.ch = static_cast<char>(c);
        return true;
    }
    return false;
}

// Modifier digit of xterm's extended key names (kLFT5 = Ctrl+Left): 1 + Shift(1) + Alt(2) + Ctrl(4).
bool fromExtendedName(const std::string& name, KeyAction& a) {
    static const struct {
        const char* base;
        unsigned vk;
    } bases[] = {{"kUP", VK_UP},    {"kDN", VK_DOWN},  {"kLFT", VK_LEFT},  {"kRIT", VK_RIGHT}, {"kHOM", VK_HOME},
                 {"kEND", VK_END},  {"kDC", VK_DELETE}, {"kIC", VK_INSERT}, {"kNXT", VK_NEXT},  {"kPRV", VK_PRIOR}};
    for (const auto& b : bases) {
        size_t n = std::strlen(b.base);
        if (name.size() != n + 1 || name.compare(0, n, b.base) != 0) continue;
        char digit = name[n];
        if (digit < '2' || digit > '8') return false;
        unsigned bits = static_cast<unsigned>(digit - '1');
        unsigned modifiers = ((bits & 1) ? w32drv::Shift : 0u) | ((bits & 2) ? w32drv::Alt : 0u) |
                             ((bits & 4) ? w32drv::Control : 0u);
        a = keyStroke(b.vk, modifiers);
        return true;
    }
    return false;
}

bool fromCurses(int code, const std::string& name, KeyAction& a) {
    static const struct {
        int code;
        unsigned vk;
        unsigned modifiers;
    } keys[] = {{KEY_LEFT, VK_LEFT, 0},          {KEY_RIGHT, VK_RIGHT, 0},
                {KEY_UP, VK_UP, 0},              {KEY_DOWN, VK_DOWN, 0},
                {KEY_HOME, VK_HOME, 0},          {KEY_END, VK_END, 0},
                {KEY_PPAGE, VK_PRIOR, 0},        {KEY_NPAGE, VK_NEXT, 0},
                {KEY_BACKSPACE, VK_BACK, 0},     {KEY_DC, VK_DELETE, 0},
                {KEY_IC, VK_INSERT, 0},          {KEY_ENTER, VK_RETURN, 0},
                {KEY_BTAB, VK_TAB, w32drv::Shift}, {KEY_SLEFT, VK_LEFT, w32drv::Shift},
                {KEY_SRIGHT, VK_RIGHT, w32drv::Shift}, {KEY_SR, VK_UP, w32drv::Shift},
                {KEY_SF, VK_DOWN, w32drv::Shift}, {KEY_SHOME, VK_HOME, w32drv::Shift},
                {KEY_SEND, VK_END, w32drv::Shift}, {KEY_SDC, VK_DELETE, w32drv::Shift},
                {KEY_SPREVIOUS, VK_PRIOR, w32drv::Shift}, {KEY_SNEXT, VK_NEXT, w32drv::Shift}};
    for (const auto& k : keys)
        if (k.code == code) {
            a = keyStroke(k.vk, k.modifiers);
            return true;
        }
    if (code >= KEY_F(1) && code <= KEY_F(12)) {
        a = keyStroke(static_cast<unsigned>(VK_F1 + (code - KEY_F(1))));
        return true;
    }
    return fromExtendedName(name, a);
}

// The modifier parameter of xterm's key sequences: 1 + Shift(1) + Alt(2) + Ctrl(4).
bool modifierBits(int m, unsigned& modifiers) {
    if (m < 1 || m > 8) return false;
    unsigned bits = static_cast<unsigned>(m - 1);
    modifiers = ((bits & 1) ? w32drv::Shift : 0u) | ((bits & 2) ? w32drv::Alt : 0u) | ((bits & 4) ? w32drv::Control : 0u);
    return true;
}

// The numbers of a parameter string of digits and ";" (an empty one stands for the default);
// false for private parameters (<, =, >, ?) and colons.
bool sequenceNumbers(const std::string& params, std::vector<int>& numbers) {
    numbers.assign(1, -1);
    for (char c : params) {
        if (c == ';') {
            numbers.push_back(-1);
        } else if (c >= '0' && c <= '9') {
            int& n = numbers.back();
            if (n > 9999) return false;
            n = (n < 0 ? 0 : n * 10) + (c - '0');
        } else {
            return false;
        }
    }
    if (params.empty()) numbers.clear();
    return true;
}

// The keys terminals send as sequences that curses may not know for the terminal type at hand.
bool sequenceKey(bool ss3, const std::string& params, unsigned char final, TermKey& key) {
    std::vector<int> n;
    if (!sequenceNumbers(params, n) || n.size() > 2) return false;
    unsigned modifiers = 0;
    if (n.size() == 2 && !modifierBits(n[1] < 0 ? 1 : n[1], modifiers)) return false;
    unsigned vk = 0;
    static const char* const kLetters = "ABCDHFPQRS";
    static const unsigned kLetterKeys[] = {VK_UP,   VK_DOWN, VK_RIGHT, VK_LEFT, VK_HOME,
                                           VK_END,  VK_F1,   VK_F2,    VK_F3,   VK_F4};
    if (const char* at = final ? std::strchr(kLetters, final) : nullptr) {
        // ESC [ A, ESC O A, ESC [ 1 ; 5 A
        if (!n.empty() && n[0] > 1) return false;
        if (!ss3 && n.empty() && at - kLetters >= 6) return false; // ESC [ P and on are no keys alone
        vk = kLetterKeys[at - kLetters];
    } else if (final == '~' && !ss3 && !n.empty()) {
        // ESC [ 3 ~, ESC [ 15 ; 2 ~
        switch (n[0]) {
        case 1:
        case 7: vk = VK_HOME; break;
        case 2: vk = VK_INSERT; break;
        case 3: vk = VK_DELETE; break;
        case 4:
        case 8: vk = VK_END; break;
        case 5: vk = VK_PRIOR; break;
        case 6: vk = VK_NEXT; break;
        case 11: case 12: case 13: case 14: case 15: vk = static_cast<unsigned>(VK_F1 + n[0] - 11); break;
        case 17: case 18: case 19: case 20: case 21: vk = static_cast<unsigned>(VK_F6 + n[0] - 17); break;
        case 23: case 24: vk = static_cast<unsigned>(VK_F11 + n[0] - 23); break;
        default: return false;
        }
    } else if (final == 'Z' && !ss3 && n.empty()) {
        vk = VK_TAB;
        modifiers = w32drv::Shift;
    } else {
        return false;
    }
    key = TermKey{};
    key.kind = TermKey::Stroke;
    key.code = static_cast<int>(vk);
    key.modifiers = modifiers;
    return true;
}

// A sequence longer than any key's is no key; its bytes are not kept.
const size_t kLongestParams = 32;

} // namespace

void TermKeyDecoder::emit(TermKey key) {
    if (alt_) key.alt = true;
    alt_ = false;
    ready_.push_back(std::move(key));
}

void TermKeyDecoder::emitByte(int c) {
    TermKey k;
    k.kind = TermKey::Byte;
    k.code = c;
    emit(k);
}

void TermKeyDecoder::dropSequence() {
    alt_ = false;
    params_.clear();
    character_.clear();
}

void TermKeyDecoder::ground(unsigned char c) {
    state_ = Ground;
    if (c == 27) {
        state_ = Escape;
    } else if (c < 0x80) {
        emitByte(c);
    } else {
        // the lead byte tells the length of a UTF-8 character; a stray byte is dropped
        characterLength_ = c >= 0xC2 && c <= 0xDF ? 2 : (c & 0xF0) == 0xE0 ? 3 : c >= 0xF0 && c <= 0xF4 ? 4 : 0;
        if (!characterLength_) {
            alt_ = false;
            return;
        }
        character_.assign(1, static_cast<char>(c));
        state_ = Character;
    }
}

void TermKeyDecoder::byte(unsigned char c) {
    const bool parameter = c >= 0x30 && c <= 0x3F, intermediate = c >= 0x20 && c <= 0x2F, final = c >= 0x40 && c <= 0x7E;
    switch (state_) {
    case Ground: ground(c); return;
    case Escape:
        if (c == 27) {
            emitByte(27); // Escape twice: the first is the key
        } else if (c == '[' || c == 'O') {
            state_ = Sequence;
            ss3_ = c == 'O';
            intermediate_ = invalid_ = false;
            params_.clear();
        } else {
            alt_ = true; // Alt with the key that follows
            ground(c);
        }
        return;
    case Sequence:
    case PasteSequence: {
        const State after = state_ == Sequence ? Ground : Paste;
        if (parameter || intermediate) {
            // a parameter byte after an intermediate one breaks the shape; the sequence still runs
            // to its final byte and is dropped there
            if (parameter && intermediate_) invalid_ = true;
            intermediate_ = intermediate_ || intermediate;
            if (params_.size() < kLongestParams)
                params_.push_back(static_cast<char>(c));
            else
                invalid_ = true;
            return;
        }
        if (final) {
            state_ = after;
            if (after == Ground) {
                finishSequence(c);
            } else if (!invalid_ && !ss3_ && params_ == "201" && c == '~') {
                TermKey k;
                k.kind = TermKey::Paste;
                k.text.swap(paste_);
                emit(k);
                state_ = Ground;
            }
            params_.clear();
            return;
        }
        // a control byte or one beyond ASCII cuts the sequence off: dropped, the byte counts
        dropSequence();
        state_ = after;
        byte(c);
        return;
    }
    case Character:
        if ((c & 0xC0) != 0x80) {
            dropSequence();
            ground(c);
            return;
        }
        character_.push_back(static_cast<char>(c));
        if (character_.size() < characterLength_) return;
        state_ = Ground;
        {
            unsigned cp;
            TermKey k;
            k.kind = TermKey::Text;
            k.text.swap(character_);
            if (Utf8Sequence(k.text, 0, cp) == k.text.size())
                emit(k);
            else
                alt_ = false; // an overlong form or a surrogate: no character
        }
        return;
    case Paste:
        if (c == 27)
            state_ = PasteEscape;
        else
            paste_.push_back(static_cast<char>(c));
        return;
    case PasteEscape:
        // inside a paste only the end marker counts; a lone Escape is a control character and goes
        if (c == '[') {
            state_ = PasteSequence;
            ss3_ = intermediate_ = invalid_ = false;
            params_.clear();
        } else if (c != 27) {
            state_ = Paste;
            paste_.push_back(static_cast<char>(c));
        }
        return;
    }
}

void TermKeyDecoder::finishSequence(unsigned char final) {
    if (invalid_) {
        alt_ = false;
        return;
    }
    if (!ss3_ && params_ == "200" && final == '~') {
        alt_ = false;
        paste_.clear();
        state_ = Paste;
        return;
    }
    TermKey k;
    if (sequenceKey(ss3_, params_, final, k))
        emit(k);
    else
        alt_ = false; // a sequence of no key here: nothing was typed
}

void TermKeyDecoder::key(const TermKey& key) {
    switch (state_) {
    case Ground: break;
    case Escape:
        if (key.kind == TermKey::Resize || key.kind == TermKey::Closed) {
            emitByte(27);
        } else {
            alt_ = true;
        }
        break;
    case Sequence:
    case Character: dropSequence(); break;
    case Paste:
    case PasteEscape:
    case PasteSequence:
        // keys inside a paste are no part of it; the paste goes on unless input has ended
        if (key.kind == TermKey::Resize) {
            ready_.push_back(key);
            return;
        }
        if (key.kind != TermKey::Closed) return;
        pause();
        break;
    }
    state_ = Ground;
    emit(key);
}

void TermKeyDecoder::pause() {
    switch (state_) {
    case Ground: return;
    case Escape: emitByte(27); break;
    case Sequence:
    case Character: dropSequence(); break;
    case Paste:
    case PasteEscape:
    case PasteSequence: {
        // the end marker did not come: the paste ends with what did
        TermKey k;
        k.kind = TermKey::Paste;
        k.text.swap(paste_);
        emit(k);
        params_.clear();
        break;
    }
    }
    state_ = Ground;
}

int TermKeyDecoder::wait() const {
    switch (state_) {
    case Ground: return -1;
    case Escape: return 0; // curses has waited for what follows an Escape already
    case Sequence:
    case Character: return 100;
    default: return 1000;
    }
}

bool TermKeyDecoder::next(TermKey& key) {
    if (ready_.empty()) return false;
    key = std::move(ready_.front());
    ready_.pop_front();
    return true;
}

bool PastedText(const std::string& utf8, std::string& cp1252, std::string& problem) {
    std::string text;
    problem = Cp1252Argument("the pasted text", utf8, text);
    if (!problem.empty()) return false;
    cp1252.clear();
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '\r' || c == '\n') {
            cp1252.push_back(' ');
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else if (c == '\t' || (c >= 0x20 && c != 0x7F && c != 0x81 && c != 0x8D && c != 0x8F && c != 0x90 && c != 0x9D)) {
            cp1252.push_back(static_cast<char>(c)); // the five undefined bytes stand for C1 controls
        }
    }
    return true;
}

bool TranslateTermKey(const TermKey& key, KeyAction& a) {
    bool known = false;
    switch (key.kind) {
    case TermKey::Byte: known = fromByte(key.code, a); break;
    case TermKey::Text: {
        std::string c;
        // a character the system's code page lacks cannot be typed
        if (Cp1252FromUtf8(key.text, c) != TextProblem::None || c.size() != 1) return false;
        a = KeyAction{};
        a.kind = KeyAction::Char;
        a.ch = c[0];
        known = true;
        break;
    }
    case TermKey::Curses: known = fromCurses(key.code, key.name, a); break;
    case TermKey::Stroke:
        a = keyStroke(static_cast<unsigned>(key.code), key.modifiers);
        known = true;
        break;
    case TermKey::Paste: // text, not a key: the editor inserts it
    case TermKey::Resize:
    case TermKey::Closed: return false;
    }
    if (!known || !key.alt) return known;
    if (a.kind == KeyAction::Char) {
        SHORT scan = VkKeyScanA(a.ch);
        if (scan == -1) return false;
        a = keyStroke(static_cast<unsigned>(scan & 0xFF), (scan & 0x100) ? w32drv::Shift : 0u);
    }
    a.modifiers |= w32drv::Alt;
    return true;
}

bool IsQuitKey(const KeyAction& a) {
    return a.kind == KeyAction::Key && a.vk == 'Q' && a.modifiers == w32drv::Control;
}

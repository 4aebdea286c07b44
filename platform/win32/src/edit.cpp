// The predefined EDIT control, built on the public API of the subset only. Single-line edits
// behave as Windows' edit control does; multi-line edits keep their text with CR LF line breaks,
// wrap it when they do not scroll horizontally, and answer the line queries.
#include "controls.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>
#include <vector>

namespace w32 {
namespace {

// Windows' edits take 30000 characters until told otherwise (their documentation says 32767; the
// control says 30000, and programs rely on what it does).
constexpr UINT kDefaultLimit = 30000;
constexpr UINT kSingleLineMaxLimit = 0x7FFFFFFE;
constexpr UINT kMultiLineMaxLimit = 0xFFFFFFFF;

enum class Kind { Typing, Backspace, Delete, Other };

// Windows' edit keeps one level of undo: the last change, which undoing replaces by its reverse.
struct Undo {
    bool valid = false;
    int pos = 0;
    std::string removed; // what the change took out at pos
    int inserted = 0;    // how much it put in at pos
    Kind kind = Kind::Other;
    bool open = false; // further keystrokes of the same kind join it
};

struct EditState {
    std::string text;
    int anchor = 0, caret = 0; // the caret is the active end of the selection
    UINT limit = kDefaultLimit;
    HFONT font = nullptr;
    int lineHeight = 16;
    int leftMargin = 0, rightMargin = 0;
    int firstVisible = 0; // single-line: first visible character
    int xOffset = 0;      // multi-line: horizontal scroll in pixels
    int topLine = 0;      // multi-line: first visible line
    bool modified = false;
    Undo undo;
    bool hasCaret = false;
    bool tracking = false; // selecting with the mouse
    char passwordChar = 0;
    bool customRect = false;
    RECT rect{};
    HBRUSH brush = nullptr;
};

struct Line {
    int start, end; // characters of the line, without its break
};

EditState* stateOf(HWND hwnd) { return IsWindow(hwnd) ? controlState<EditState>(hwnd) : nullptr; }

// The window style with what Windows implies from it: scroll bars of a multi-line edit make it
// scroll in their direction.
DWORD styleOf(HWND hwnd) {
    DWORD style = static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE));
    if (style & ES_MULTILINE) {
        if (style & WS_HSCROLL) style |= ES_AUTOHSCROLL;
        if (style & WS_VSCROLL) style |= ES_AUTOVSCROLL;
    }
    return style;
}

int length(const EditState& st) { return static_cast<int>(st.text.size()); }
int selMin(const EditState& st) { return std::min(st.anchor, st.caret); }
int selMax(const EditState& st) { return std::max(st.anchor, st.caret); }
int clampIndex(long long i, int n) { return static_cast<int>(std::max(0LL, std::min<long long>(i, n))); }

bool isDelimiter(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Text width through a DC with the control's font, as Windows' edit measures it.
class Measure {
public:
    Measure(HWND hwnd, HFONT font) : hwnd_(hwnd), dc_(GetDC(hwnd)) {
        if (dc_ && font) old_ = SelectObject(dc_, font);
    }
    ~Measure() {
        if (!dc_) return;
        if (old_) SelectObject(dc_, old_);
        ReleaseDC(hwnd_, dc_);
    }
    Measure(const Measure&) = delete;
    Measure& operator=(const Measure&) = delete;

    int width(const char* s, int n) const {
        if (!dc_ || n <= 0) return 0;
        SIZE size{};
        return GetTextExtentPoint32A(dc_, s, n, &size) ? size.cx : 0;
    }
    int lineHeight() const {
        TEXTMETRICA tm{};
        return dc_ && GetTextMetricsA(dc_, &tm) && tm.tmHeight > 0 ? tm.tmHeight : 16;
    }

private:
    HWND hwnd_;
    HDC dc_;
    HGDIOBJ old_ = nullptr;
};

RECT formatRect(HWND hwnd, const EditState& st, DWORD style) {
    if ((style & ES_MULTILINE) && st.customRect) return st.rect;
    RECT c{};
    GetClientRect(hwnd, &c);
    RECT r{c.left + st.leftMargin, c.top, c.right - st.rightMargin, c.bottom};
    if (r.right < r.left) r.right = r.left;
    if (!(style & ES_MULTILINE)) r.bottom = r.top + st.lineHeight;
    return r;
}

// Geometry of the text as it is shown now: lines, positions, hit testing.
class Layout {
public:
    Layout(HWND hwnd, EditState& st)
        : st_(st), style_(styleOf(hwnd)), measure_(hwnd, st.font), rect_(formatRect(hwnd, st, style_)) {
        shown_ = st.passwordChar && !multi() ? std::string(st.text.size(), st.passwordChar) : st.text;
        buildLines();
    }

    bool multi() const { return style_ & ES_MULTILINE; }
    DWORD style() const { return style_; }
    const RECT& rect() const { return rect_; }
    int formatWidth() const { return static_cast<int>(rect_.right - rect_.left); }
    const std::vector<Line>& lines() const { return lines_; }

    int width(int a, int b) const {
        a = clampIndex(a, length(st_));
        b = clampIndex(b, length(st_));
        return b > a ? measure_.width(shown_.data() + a, b - a) : 0;
    }
    // Width of some other text as this control would show it.
    int widthOf(const std::string& s) const {
        if (st_.passwordChar && !multi()) return measure_.width(std::string(s.size(), st_.passwordChar).data(), static_cast<int>(s.size()));
        return measure_.width(s.data(), static_cast<int>(s.size()));
    }

    int lineOf(int index) const {
        int line = 0;
        for (size_t i = 1; i < lines_.size(); ++i)
            if (lines_[i].start <= index) line = static_cast<int>(i);
        return line;
    }

    // Single-line alignment: ES_CENTER and ES_RIGHT place text that fits.
    int alignOffset() const {
        if (multi() || !(style_ & (ES_CENTER | ES_RIGHT))) return 0;
        int free = formatWidth() - width(0, length(st_));
        if (free <= 0) return 0;
        return (style_ & ES_RIGHT) ? free : free / 2;
    }

    // Client x where lines start, scrolling included.
    int lineOrigin() const {
        if (multi()) return rect_.left - st_.xOffset;
        return rect_.left + alignOffset() - width(0, st_.firstVisible);
    }

    POINT pos(int index) const {
        int line = lineOf(index);
        const Line& l = lines_[static_cast<size_t>(line)];
        int ci = std::min(std::max(index, l.start), l.end);
        int x = lineOrigin() + width(l.start, ci);
        int y = rect_.top + (multi() ? (line - st_.topLine) * st_.lineHeight : 0);
        return POINT{x, y};
    }

    // The character boundary nearest to a client point.
    int indexAt(int x, int y) const {
        int line = 0;
        if (multi()) {
            int dy = y - static_cast<int>(rect_.top);
            int rel = dy >= 0 ? dy / st_.lineHeight : -((-dy + st_.lineHeight - 1) / st_.lineHeight);
            line = std::max(0, std::min(st_.topLine + rel, static_cast<int>(lines_.size()) - 1));
        }
        const Line& l = lines_[static_cast<size_t>(line)];
        int origin = lineOrigin();
        for (int k = l.start; k < l.end; ++k) {
            int left = origin + width(l.start, k);
            int cw = width(k, k + 1);
            if (x < left + (cw + 1) / 2) return k;
        }
        return l.end;
    }

    int visibleLines() const {
        return std::max(1, static_cast<int>(rect_.bottom - rect_.top) / std::max(1, st_.lineHeight));
    }

private:
    void buildLines() {
        const std::string& t = st_.text;
        int n = length(st_);
        if (!multi()) {
            lines_.push_back(Line{0, n});
            return;
        }
        bool wrap = !(style_ & ES_AUTOHSCROLL);
        int avail = formatWidth();
        int pos = 0;
        for (;;) {
            size_t nl = t.find('\n', static_cast<size_t>(pos));
            int hardEnd = nl == std::string::npos ? n : static_cast<int>(nl);
            int end = hardEnd > pos && t[static_cast<size_t>(hardEnd - 1)] == '\r' ? hardEnd - 1 : hardEnd;
            int s = pos;
            // Windows wraps after delimiters, keeping them at the end of the line.
            while (wrap && end - s > 1 && width(s, end) > avail) {
                int k = s + 1;
                while (k < end && width(s, k + 1) <= avail) ++k;
                int b = k;
                for (int j = k; j > s; --j)
                    if (t[static_cast<size_t>(j - 1)] == ' ' || t[static_cast<size_t>(j - 1)] == '\t') {
                        b = j;
                        break;
                    }
                while (b < end && t[static_cast<size_t>(b)] == ' ') ++b;
                if (b >= end) break;
                lines_.push_back(Line{s, b});
                s = b;
            }
            lines_.push_back(Line{s, end});
            if (nl == std::string::npos) break;
            pos = hardEnd + 1;
        }
    }

    EditState& st_;
    DWORD style_;
    Measure measure_;
    RECT rect_;
    std::string shown_;
    std::vector<Line> lines_;
};

// ---- view: scrolling, caret, repaint ----

void scrollCaretIntoView(HWND hwnd, EditState& st) {
    Layout lay(hwnd, st);
    int n = length(st);
    int fw = lay.formatWidth();
    if (!lay.multi()) {
        if (!(lay.style() & ES_AUTOHSCROLL) || lay.width(0, n) <= fw) {
            st.firstVisible = 0;
            return;
        }
        st.firstVisible = clampIndex(st.firstVisible, n);
        int caret = st.caret;
        // Windows scrolls in jumps of a third of the width rather than character by character.
        if (caret < st.firstVisible) {
            int first = caret;
            while (first > 0 && lay.width(first - 1, caret) <= fw / 3) --first;
            st.firstVisible = first;
        } else if (lay.width(st.firstVisible, caret) > fw) {
            int first = caret;
            while (first > 0 && lay.width(first - 1, caret) <= fw - fw / 3) --first;
            st.firstVisible = first;
        }
        // No empty space on the right while text is hidden on the left.
        while (st.firstVisible > 0 && st.firstVisible <= caret && lay.width(st.firstVisible - 1, n) <= fw)
            --st.firstVisible;
        return;
    }
    int line = lay.lineOf(st.caret);
    const Line& l = lay.lines()[static_cast<size_t>(line)];
    if (!(lay.style() & ES_AUTOHSCROLL)) {
        st.xOffset = 0;
    } else {
        int cx = lay.width(l.start, std::min(std::max(st.caret, l.start), l.end));
        if (cx < st.xOffset) st.xOffset = std::max(0, cx - fw / 3);
        else if (cx - st.xOffset > fw) st.xOffset = cx - (fw - fw / 3);
    }
    int visible = lay.visibleLines();
    if (line < st.topLine) st.topLine = line;
    else if (line >= st.topLine + visible) st.topLine = line - visible + 1;
    st.topLine = std::max(0, std::min(st.topLine, static_cast<int>(lay.lines().size()) - 1));
}

void placeCaret(HWND hwnd, EditState& st) {
    if (!st.hasCaret || GetFocus() != hwnd) return;
    Layout lay(hwnd, st);
    POINT p = lay.pos(st.caret);
    SetCaretPos(p.x, p.y);
}

void refresh(HWND hwnd, bool scroll) {
    EditState* st = stateOf(hwnd);
    if (!st) return;
    if (scroll) scrollCaretIntoView(hwnd, *st);
    placeCaret(hwnd, *st);
    InvalidateRect(hwnd, nullptr, TRUE);
}

// Keeps the window manager's copy of the text current for code that reads it directly.
void syncWindowText(HWND hwnd, const EditState& st) { DefWindowProcA(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(st.text.c_str())); }

void notify(HWND hwnd, WORD code) {
    if (IsWindow(hwnd)) notifyParent(hwnd, code);
}

// A selection change that is not part of an edit: the open undo group closes.
void select(HWND hwnd, int anchor, int caret, bool scroll) {
    EditState* st = stateOf(hwnd);
    if (!st) return;
    int n = length(*st);
    st->anchor = clampIndex(anchor, n);
    st->caret = clampIndex(caret, n);
    st->undo.open = false;
    refresh(hwnd, scroll);
}

// ---- editing ----

void convertCase(std::string& s, DWORD style) {
    for (char& c : s) {
        unsigned char u = static_cast<unsigned char>(c);
        if (style & ES_UPPERCASE) c = static_cast<char>(std::toupper(u));
        else if (style & ES_LOWERCASE) c = static_cast<char>(std::tolower(u));
    }
}

void recordUndo(EditState& st, int a, int b, const std::string& ins, Kind kind) {
    Undo& u = st.undo;
    if (u.valid && u.open) {
        if (kind == u.kind && kind == Kind::Typing && a == b && a == u.pos + u.inserted) {
            u.inserted += static_cast<int>(ins.size());
            return;
        }
        if (kind == u.kind && kind == Kind::Backspace && ins.empty() && b == u.pos && u.inserted == 0) {
            u.removed.insert(0, st.text.substr(static_cast<size_t>(a), static_cast<size_t>(b - a)));
            u.pos = a;
            return;
        }
        if (kind == u.kind && kind == Kind::Delete && ins.empty() && a == u.pos && u.inserted == 0) {
            u.removed += st.text.substr(static_cast<size_t>(a), static_cast<size_t>(b - a));
            return;
        }
        // Backspacing over what was just typed shortens the typing.
        if (u.kind == Kind::Typing && kind == Kind::Backspace && ins.empty() && b == u.pos + u.inserted && a >= u.pos) {
            u.inserted -= b - a;
            return;
        }
    }
    u = Undo{true, a, st.text.substr(static_cast<size_t>(a), static_cast<size_t>(b - a)), static_cast<int>(ins.size()),
             kind, kind != Kind::Other};
}

// Replaces [a, b) by ins as Windows' edit inserts text: within the text limit and, without
// ES_AUTOHSCROLL, within the width; EN_MAXTEXT when cut short, then EN_UPDATE and EN_CHANGE.
bool replace(HWND hwnd, int a, int b, std::string ins, Kind kind, bool undoable) {
    EditState* st = stateOf(hwnd);
    if (!st) return false;
    DWORD style = styleOf(hwnd);
    int n = length(*st);
    a = clampIndex(a, n);
    b = clampIndex(b, n);
    if (a > b) std::swap(a, b);
    convertCase(ins, style);

    bool truncated = false;
    long long room = static_cast<long long>(st->limit) - (n - (b - a));
    if (room < 0) room = 0;
    if (static_cast<long long>(ins.size()) > room) {
        ins.resize(static_cast<size_t>(room));
        truncated = true;
    }
    if (!(style & (ES_MULTILINE | ES_AUTOHSCROLL)) && !ins.empty()) {
        Layout lay(hwnd, *st);
        std::string rest = st->text.substr(0, static_cast<size_t>(a)) + st->text.substr(static_cast<size_t>(b));
        while (!ins.empty() && lay.widthOf(rest + ins) > lay.formatWidth()) {
            ins.pop_back();
            truncated = true;
        }
    }
    if ((style & ES_MULTILINE) && !(style & ES_AUTOVSCROLL) && !ins.empty()) {
        // Without ES_AUTOVSCROLL the text may not grow past the lines the control shows.
        const std::string before = st->text;
        auto fits = [&](size_t k) {
            st->text = before.substr(0, static_cast<size_t>(a)) + ins.substr(0, k) + before.substr(static_cast<size_t>(b));
            Layout lay(hwnd, *st);
            return static_cast<int>(lay.lines().size()) <= lay.visibleLines();
        };
        if (!fits(ins.size())) {
            size_t lo = 0, hi = ins.size(); // more text never takes fewer lines
            while (lo < hi) {
                size_t mid = (lo + hi + 1) / 2;
                if (fits(mid)) lo = mid;
                else hi = mid - 1;
            }
            // A CR LF pair is not split.
            if (lo > 0 && ins[lo - 1] == '\r' && lo < ins.size() && ins[lo] == '\n') --lo;
            ins.resize(lo);
            truncated = true;
        }
        st->text = before;
    }
    if (a == b && ins.empty()) {
        if (truncated) notify(hwnd, EN_MAXTEXT);
        return false;
    }

    if (undoable) recordUndo(*st, a, b, ins, kind);
    else st->undo = Undo{};
    st->text.replace(static_cast<size_t>(a), static_cast<size_t>(b - a), ins);
    st->anchor = st->caret = a + static_cast<int>(ins.size());
    st->modified = true;
    syncWindowText(hwnd, *st);
    refresh(hwnd, true);
    if (truncated) notify(hwnd, EN_MAXTEXT);
    notify(hwnd, EN_UPDATE);
    notify(hwnd, EN_CHANGE);
    return true;
}

void setText(HWND hwnd, const char* text) {
    EditState* st = stateOf(hwnd);
    if (!st) return;
    st->text = text ? text : "";
    st->anchor = st->caret = 0;
    st->firstVisible = st->xOffset = st->topLine = 0;
    st->undo = Undo{};
    st->modified = false;
    syncWindowText(hwnd, *st);
    refresh(hwnd, true);
}

bool readOnly(HWND hwnd) { return styleOf(hwnd) & ES_READONLY; }

void copySelection(HWND hwnd) {
    EditState* st = stateOf(hwnd);
    // Windows never lets a password out through the clipboard.
    if (!st || selMin(*st) == selMax(*st) || st->passwordChar) return;
    std::string s = st->text.substr(static_cast<size_t>(selMin(*st)), static_cast<size_t>(selMax(*st) - selMin(*st)));
    if (!OpenClipboard(hwnd)) return;
    EmptyClipboard();
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, s.size() + 1);
    if (char* p = mem ? static_cast<char*>(GlobalLock(mem)) : nullptr) {
        std::memcpy(p, s.c_str(), s.size() + 1);
        GlobalUnlock(mem);
        if (!SetClipboardData(CF_TEXT, mem)) GlobalFree(mem);
    } else if (mem) {
        GlobalFree(mem);
    }
    CloseClipboard();
}

void clearSelection(HWND hwnd) {
    EditState* st = stateOf(hwnd);
    if (!st || readOnly(hwnd) || selMin(*st) == selMax(*st)) return;
    replace(hwnd, selMin(*st), selMax(*st), std::string(), Kind::Other, true);
}

void cutSelection(HWND hwnd) {
    EditState* st = stateOf(hwnd);
    if (!st || readOnly(hwnd) || st->passwordChar || selMin(*st) == selMax(*st)) return;
    copySelection(hwnd);
    clearSelection(hwnd);
}

void paste(HWND hwnd) {
    if (!stateOf(hwnd) || readOnly(hwnd)) return;
    if (!OpenClipboard(hwnd)) return;
    bool found = false;
    std::string s;
    if (HANDLE mem = GetClipboardData(CF_TEXT)) {
        if (const char* p = static_cast<const char*>(GlobalLock(mem))) {
            size_t size = GlobalSize(mem), k = 0;
            while (k < size && p[k]) ++k;
            s.assign(p, k);
            found = true;
            GlobalUnlock(mem);
        }
    }
    CloseClipboard();
    if (!found) return;
    // A single-line edit takes the first line of what is pasted.
    if (!(styleOf(hwnd) & ES_MULTILINE)) {
        size_t br = s.find_first_of("\r\n");
        if (br != std::string::npos) s.resize(br);
    }
    EditState* st = stateOf(hwnd);
    if (st) replace(hwnd, selMin(*st), selMax(*st), s, Kind::Other, true);
}

bool undo(HWND hwnd) {
    EditState* st = stateOf(hwnd);
    if (!st || !st->undo.valid) return false;
    int n = length(*st);
    Undo& u = st->undo;
    int p = clampIndex(u.pos, n);
    int count = clampIndex(u.inserted, n - p);
    std::string back = st->text.substr(static_cast<size_t>(p), static_cast<size_t>(count));
    st->text.replace(static_cast<size_t>(p), static_cast<size_t>(count), u.removed);
    int restored = static_cast<int>(u.removed.size());
    // Undoing again redoes: the reverse change becomes the undo.
    st->undo = Undo{true, p, back, restored, Kind::Other, false};
    st->anchor = p;
    st->caret = p + restored;
    st->modified = true;
    syncWindowText(hwnd, *st);
    refresh(hwnd, true);
    notify(hwnd, EN_UPDATE);
    notify(hwnd, EN_CHANGE);
    return true;
}

// ---- keyboard ----

int wordLeft(const std::string& t, int pos) {
    while (pos > 0 && isDelimiter(t[static_cast<size_t>(pos - 1)])) --pos;
    while (pos > 0 && !isDelimiter(t[static_cast<size_t>(pos - 1)])) --pos;
    return pos;
}

int wordRight(const std::string& t, int pos) {
    int n = static_cast<int>(t.size());
    while (pos < n && !isDelimiter(t[static_cast<size_t>(pos)])) ++pos;
    while (pos < n && isDelimiter(t[static_cast<size_t>(pos)])) ++pos;
    return pos;
}

bool insideLineBreak(const std::string& t, int pos) {
    return pos > 0 && pos < static_cast<int>(t.size()) && t[static_cast<size_t>(pos - 1)] == '\r' &&
           t[static_cast<size_t>(pos)] == '\n';
}

// One character step, a CR LF pair being a single step in a multi-line edit.
int stepLeft(const std::string& t, int pos, bool multi) {
    if (pos <= 0) return 0;
    --pos;
    if (multi && insideLineBreak(t, pos)) --pos;
    return pos;
}

int stepRight(const std::string& t, int pos, bool multi) {
    int n = static_cast<int>(t.size());
    if (pos >= n) return n;
    ++pos;
    if (multi && insideLineBreak(t, pos)) ++pos;
    return pos;
}

void moveTo(HWND hwnd, int pos, bool extend) {
    EditState* st = stateOf(hwnd);
    if (!st) return;
    select(hwnd, extend ? st->anchor : pos, pos, true);
}

int verticalTarget(HWND hwnd, EditState& st, int lines) {
    Layout lay(hwnd, st);
    POINT p = lay.pos(st.caret);
    int line = lay.lineOf(st.caret) + lines;
    int count = static_cast<int>(lay.lines().size());
    if (line < 0) return 0;
    if (line >= count) return length(st);
    int y = static_cast<int>(lay.rect().top) + (line - st.topLine) * st.lineHeight;
    return lay.indexAt(p.x, y);
}

void keyDown(HWND hwnd, WPARAM vk, LPARAM lParam) {
    EditState* st = stateOf(hwnd);
    if (!st) return;
    bool shift = GetKeyState(VK_SHIFT) < 0;
    bool ctrl = GetKeyState(VK_CONTROL) < 0;
    bool multi = styleOf(hwnd) & ES_MULTILINE;
    const std::string& t = st->text;
    bool hasSel = st->anchor != st->caret;
    switch (vk) {
    case VK_LEFT:
    case VK_UP:
        if (vk == VK_UP && multi) {
            moveTo(hwnd, verticalTarget(hwnd, *st, -1), shift);
        } else if (ctrl) {
            moveTo(hwnd, wordLeft(t, st->caret), shift);
        } else if (hasSel && !shift) {
            moveTo(hwnd, selMin(*st), false); // the selection collapses to its start
        } else {
            moveTo(hwnd, stepLeft(t, st->caret, multi), shift);
        }
        break;
    case VK_RIGHT:
    case VK_DOWN:
        if (vk == VK_DOWN && multi) {
            moveTo(hwnd, verticalTarget(hwnd, *st, 1), shift);
        } else if (ctrl) {
            moveTo(hwnd, wordRight(t, st->caret), shift);
        } else if (hasSel && !shift) {
            moveTo(hwnd, selMax(*st), false);
        } else {
            moveTo(hwnd, stepRight(t, st->caret, multi), shift);
        }
        break;
    case VK_PRIOR:
    case VK_NEXT:
        if (multi) {
            Layout lay(hwnd, *st);
            int page = lay.visibleLines();
            moveTo(hwnd, verticalTarget(hwnd, *st, vk == VK_PRIOR ? -page : page), shift);
        }
        break;
    case VK_HOME:
    case VK_END: {
        int pos = vk == VK_HOME ? 0 : length(*st);
        if (multi && !ctrl) {
            Layout lay(hwnd, *st);
            const Line& l = lay.lines()[static_cast<size_t>(lay.lineOf(st->caret))];
            pos = vk == VK_HOME ? l.start : l.end;
        }
        moveTo(hwnd, pos, shift);
        break;
    }
    case VK_DELETE:
        if (readOnly(hwnd)) break;
        if (hasSel) {
            if (shift) cutSelection(hwnd);
            else clearSelection(hwnd);
        } else if (ctrl && !shift) {
            // Control+Delete deletes to the end of the line.
            Layout lay(hwnd, *st);
            int end = lay.lines()[static_cast<size_t>(lay.lineOf(st->caret))].end;
            replace(hwnd, st->caret, end, std::string(), Kind::Other, true);
        } else if (!shift && st->caret < length(*st)) {
            replace(hwnd, st->caret, stepRight(t, st->caret, multi), std::string(), Kind::Delete, true);
        }
        break;
    case VK_INSERT:
        if (shift && !ctrl) paste(hwnd);
        else if (ctrl && !shift) copySelection(hwnd);
        break;
    default: DefWindowProcA(hwnd, WM_KEYDOWN, vk, lParam); break;
    }
}

void charTyped(HWND hwnd, unsigned char ch) {
    EditState* st = stateOf(hwnd);
    if (!st) return;
    DWORD style = styleOf(hwnd);
    bool multi = style & ES_MULTILINE;
    bool ro = style & ES_READONLY;
    switch (ch) {
    case 3: copySelection(hwnd); return; // Control+C
    case 22:                             // Control+V
        if (ro) MessageBeep(MB_OK);
        else paste(hwnd);
        return;
    case 24: // Control+X
        if (ro) MessageBeep(MB_OK);
        else cutSelection(hwnd);
        return;
    case 26: // Control+Z
        if (ro) MessageBeep(MB_OK);
        else undo(hwnd);
        return;
    case 1: // Control+A: current single-line edits select all; multi-line edits do not
        if (!multi) select(hwnd, 0, length(*st), true);
        else MessageBeep(MB_OK);
        return;
    case 8: // Backspace
        if (ro) {
            MessageBeep(MB_OK);
        } else if (st->anchor != st->caret) {
            replace(hwnd, selMin(*st), selMax(*st), std::string(), Kind::Other, true);
        } else if (st->caret > 0) {
            replace(hwnd, stepLeft(st->text, st->caret, multi), st->caret, std::string(), Kind::Backspace, true);
        }
        return;
    case 27: // Escape: a multi-line edit posts WM_CLOSE to its parent, as Windows' does
        if (multi) {
            if (HWND parent = GetParent(hwnd)) PostMessageA(parent, WM_CLOSE, 0, 0);
        } else {
            MessageBeep(MB_OK);
        }
        return;
    default: break;
    }
    bool lineBreak = ch == '\r' || ch == '\n';
    bool accepted = ch >= 0x20 || (multi && (lineBreak || ch == '\t'));
    // A single-line edit does not take Tab, Enter or other control characters.
    if (!accepted || ro) {
        MessageBeep(MB_OK);
        return;
    }
    if ((style & ES_NUMBER) && !lineBreak && !std::isdigit(ch)) {
        MessageBeep(MB_OK);
        return;
    }
    std::string ins = lineBreak ? std::string("\r\n") : std::string(1, static_cast<char>(ch));
    replace(hwnd, selMin(*st), selMax(*st), ins, Kind::Typing, true);
}

LRESULT dialogCode(HWND hwnd, const MSG* msg) {
    LRESULT code = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
    DWORD style = styleOf(hwnd);
    if (!(style & ES_MULTILINE)) return code;
    // A multi-line edit wants every key except Tab (dialog navigation; Control+Tab is a tab
    // character) and, without ES_WANTRETURN, Enter (the default button).
    if (msg && msg->message == WM_KEYDOWN) {
        if (msg->wParam == VK_TAB && GetKeyState(VK_CONTROL) >= 0) return code;
        if (msg->wParam == VK_RETURN && !(style & ES_WANTRETURN)) return code;
    }
    return code | DLGC_WANTALLKEYS;
}

// ---- mouse ----

void mouseDown(HWND hwnd, WPARAM keys, LPARAM lParam) {
    if (GetFocus() != hwnd) SetFocus(hwnd);
    EditState* st = stateOf(hwnd);
    if (!st) return;
    int pos;
    {
        Layout lay(hwnd, *st);
        pos = lay.indexAt(static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam)));
    }
    select(hwnd, (keys & MK_SHIFT) ? st->anchor : pos, pos, true);
    if ((st = stateOf(hwnd))) {
        st->tracking = true;
        SetCapture(hwnd);
    }
}

void mouseMove(HWND hwnd, LPARAM lParam) {
    EditState* st = stateOf(hwnd);
    if (!st || !st->tracking || GetCapture() != hwnd) return;
    int pos;
    {
        Layout lay(hwnd, *st);
        pos = lay.indexAt(static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam)));
    }
    select(hwnd, st->anchor, pos, true);
}

// Double-click selects the word under the pointer with the delimiters that follow it.
void selectWord(HWND hwnd, LPARAM lParam) {
    EditState* st = stateOf(hwnd);
    if (!st) return;
    int n = length(*st);
    int c;
    {
        Layout lay(hwnd, *st);
        int x = static_cast<SHORT>(LOWORD(lParam)), y = static_cast<SHORT>(HIWORD(lParam));
        c = lay.indexAt(x, y);
        // indexAt rounds to the nearest boundary; the click is on the character left of it when
        // it hit that character's right half.
        if (c > 0 && lay.pos(c).x > x) --c;
    }
    if (n == 0) return;
    c = std::min(c, n - 1);
    const std::string& t = st->text;
    int start = c, end = c;
    if (!isDelimiter(t[static_cast<size_t>(c)])) {
        while (start > 0 && !isDelimiter(t[static_cast<size_t>(start - 1)])) --start;
    } else {
        start = wordLeft(t, c);
    }
    end = wordRight(t, c);
    select(hwnd, start, end, true);
    if ((st = stateOf(hwnd))) {
        st->tracking = true;
        SetCapture(hwnd);
    }
}

// ---- focus and painting ----

void setFocus(HWND hwnd) {
    EditState* st = stateOf(hwnd);
    if (!st) return;
    st->hasCaret = CreateCaret(hwnd, nullptr, 1, st->lineHeight) != FALSE;
    placeCaret(hwnd, *st);
    if (st->hasCaret) ShowCaret(hwnd);
    InvalidateRect(hwnd, nullptr, TRUE); // the selection shows again
    notify(hwnd, EN_SETFOCUS);
}

void killFocus(HWND hwnd) {
    EditState* st = stateOf(hwnd);
    if (!st) return;
    if (st->hasCaret) {
        HideCaret(hwnd);
        DestroyCaret();
        st->hasCaret = false;
    }
    if (st->tracking && GetCapture() == hwnd) ReleaseCapture();
    if ((st = stateOf(hwnd))) st->tracking = false;
    InvalidateRect(hwnd, nullptr, TRUE); // the selection hides unless ES_NOHIDESEL
    notify(hwnd, EN_KILLFOCUS);
}

// Read-only and disabled edits are coloured as static text.
HBRUSH controlBrush(HWND hwnd, HDC dc) {
    DWORD style = styleOf(hwnd);
    UINT msg = (style & ES_READONLY) || !IsWindowEnabled(hwnd) ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT;
    HWND parent = GetParent(hwnd);
    LRESULT r = parent ? SendMessageA(parent, msg, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(hwnd)) : 0;
    if (!r && IsWindow(hwnd)) r = DefWindowProcA(hwnd, msg, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(hwnd));
    HBRUSH brush = reinterpret_cast<HBRUSH>(r);
    if (EditState* st = stateOf(hwnd)) st->brush = brush;
    return brush;
}

void paint(HWND hwnd, HDC dc) {
    HBRUSH brush = controlBrush(hwnd, dc);
    EditState* st = stateOf(hwnd);
    if (!st) return;
    RECT client{};
    GetClientRect(hwnd, &client);
    if (brush) FillRect(dc, &client, brush);
    HGDIOBJ oldFont = st->font ? SelectObject(dc, st->font) : nullptr;
    if (!IsWindowEnabled(hwnd)) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    DWORD style = styleOf(hwnd);
    bool showSel = st->anchor != st->caret && (GetFocus() == hwnd || (style & ES_NOHIDESEL));
    Layout lay(hwnd, *st);
    std::string shown = st->passwordChar && !lay.multi() ? std::string(st->text.size(), st->passwordChar) : st->text;
    const auto& lines = lay.lines();
    int last = lay.multi() ? std::min(static_cast<int>(lines.size()), st->topLine + lay.visibleLines() + 1)
                           : static_cast<int>(lines.size());
    for (int i = lay.multi() ? st->topLine : 0; i < last; ++i) {
        const Line& l = lines[static_cast<size_t>(i)];
        POINT p = lay.pos(l.start);
        TextOutA(dc, p.x, p.y, shown.data() + l.start, l.end - l.start);
        int a = std::max(l.start, selMin(*st)), b = std::min(l.end, selMax(*st));
        if (showSel && a < b) {
            COLORREF oldBk = SetBkColor(dc, GetSysColor(COLOR_HIGHLIGHT));
            COLORREF oldText = SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
            POINT q = lay.pos(a);
            TextOutA(dc, q.x, q.y, shown.data() + a, b - a);
            SetBkColor(dc, oldBk);
            SetTextColor(dc, oldText);
        }
    }
    if (oldFont) SelectObject(dc, oldFont);
}

// ---- line queries ----

LRESULT lineIndex(HWND hwnd, EditState& st, WPARAM wParam) {
    Layout lay(hwnd, st);
    long long line = static_cast<INT>(static_cast<UINT>(wParam));
    if (line == -1) line = lay.lineOf(st.caret);
    if (line < 0 || line >= static_cast<long long>(lay.lines().size())) return -1;
    return lay.lines()[static_cast<size_t>(line)].start;
}

LRESULT lineLength(HWND hwnd, EditState& st, WPARAM wParam) {
    Layout lay(hwnd, st);
    long long index = static_cast<INT>(static_cast<UINT>(wParam));
    if (index == -1) {
        // The characters of the selection's lines that are not selected.
        const Line& first = lay.lines()[static_cast<size_t>(lay.lineOf(selMin(st)))];
        const Line& last = lay.lines()[static_cast<size_t>(lay.lineOf(selMax(st)))];
        return std::max(0, selMin(st) - first.start) + std::max(0, last.end - selMax(st));
    }
    if (index < 0 || index > length(st)) return 0;
    const Line& l = lay.lines()[static_cast<size_t>(lay.lineOf(static_cast<int>(index)))];
    return l.end - l.start;
}

LRESULT getLine(HWND hwnd, EditState& st, WPARAM wParam, LPARAM lParam) {
    char* buf = reinterpret_cast<char*>(lParam);
    if (!buf) return 0;
    WORD size;
    std::memcpy(&size, buf, sizeof size);
    Layout lay(hwnd, st);
    size_t line = lay.multi() ? static_cast<size_t>(wParam) : 0;
    if (line >= lay.lines().size()) return 0;
    const Line& l = lay.lines()[line];
    int n = std::min(static_cast<int>(size), l.end - l.start);
    if (n > 0) std::memcpy(buf, st.text.data() + l.start, static_cast<size_t>(n));
    return n;
}

LRESULT scrollLines(HWND hwnd, EditState& st, int lines) {
    Layout lay(hwnd, st);
    int before = st.topLine;
    st.topLine = std::max(0, std::min(st.topLine + lines, static_cast<int>(lay.lines().size()) - 1));
    placeCaret(hwnd, st);
    InvalidateRect(hwnd, nullptr, TRUE);
    return st.topLine - before;
}

void horizontalScroll(HWND hwnd, WORD code) {
    EditState* st = stateOf(hwnd);
    if (!st) return;
    bool multi = styleOf(hwnd) & ES_MULTILINE;
    notify(hwnd, EN_HSCROLL); // sent before the view changes
    if (!(st = stateOf(hwnd))) return;
    Layout lay(hwnd, *st);
    int n = length(*st);
    int charWidth = std::max(1, lay.widthOf("x"));
    int page = std::max(1, lay.formatWidth() / charWidth);
    int step = 0;
    switch (code) {
    case SB_LINELEFT: step = -1; break;
    case SB_LINERIGHT: step = 1; break;
    case SB_PAGELEFT: step = -page; break;
    case SB_PAGERIGHT: step = page; break;
    case SB_LEFT: step = -n; break;
    case SB_RIGHT: step = n; break;
    default: return;
    }
    if (multi) st->xOffset = std::max(0, st->xOffset + step * charWidth);
    else st->firstVisible = clampIndex(st->firstVisible + step, n);
    placeCaret(hwnd, *st);
    InvalidateRect(hwnd, nullptr, TRUE);
}

void verticalScroll(HWND hwnd, WORD code) {
    EditState* st = stateOf(hwnd);
    if (!st || !(styleOf(hwnd) & ES_MULTILINE)) return;
    notify(hwnd, EN_VSCROLL);
    if (!(st = stateOf(hwnd))) return;
    int page = Layout(hwnd, *st).visibleLines();
    switch (code) {
    case SB_LINEUP: scrollLines(hwnd, *st, -1); break;
    case SB_LINEDOWN: scrollLines(hwnd, *st, 1); break;
    case SB_PAGEUP: scrollLines(hwnd, *st, -page); break;
    case SB_PAGEDOWN: scrollLines(hwnd, *st, page); break;
    case SB_TOP: scrollLines(hwnd, *st, -st->topLine); break;
    case SB_BOTTOM: scrollLines(hwnd, *st, 1 << 20); break;
    default: break;
    }
}

int marginFromFont(const EditState&) {
    // Windows derives font margins from the glyph overhangs of outline fonts; the subset's
    // fonts are fixed-metric raster-like fonts without overhang, which get none.
    return 0;
}

void setMargins(EditState& st, WPARAM which, LPARAM lParam) {
    WORD left = LOWORD(lParam), right = HIWORD(lParam);
    if (which & EC_LEFTMARGIN) st.leftMargin = left == EC_USEFONTINFO ? marginFromFont(st) : left;
    if (which & EC_RIGHTMARGIN) st.rightMargin = right == EC_USEFONTINFO ? marginFromFont(st) : right;
}

void setFont(HWND hwnd, HFONT font, bool redraw) {
    EditState* st = stateOf(hwnd);
    if (!st) return;
    st->font = font;
    st->lineHeight = Measure(hwnd, font).lineHeight();
    // A new font resets the margins to the font's, as Windows does.
    setMargins(*st, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(EC_USEFONTINFO, EC_USEFONTINFO));
    if (st->hasCaret && GetFocus() == hwnd) {
        DestroyCaret();
        st->hasCaret = CreateCaret(hwnd, nullptr, 1, st->lineHeight) != FALSE;
        if (st->hasCaret) ShowCaret(hwnd);
    }
    scrollCaretIntoView(hwnd, *st);
    placeCaret(hwnd, *st);
    if (redraw) InvalidateRect(hwnd, nullptr, TRUE);
}

LRESULT setSel(HWND hwnd, EditState& st, WPARAM wParam, LPARAM lParam) {
    int n = length(st);
    int start = static_cast<INT>(static_cast<UINT>(wParam));
    int end = static_cast<INT>(static_cast<UINT>(lParam));
    // -1 as start removes the selection and leaves the caret where it is.
    if (start == -1) {
        select(hwnd, st.caret, st.caret, false);
        return 0;
    }
    // Other out-of-range values, -1 as end included, mean the end of the text.
    int a = start < 0 ? n : std::min(start, n);
    int c = end < 0 ? n : std::min(end, n);
    // A multi-line edit leaves scrolling to EM_SCROLLCARET; a single-line edit shows the caret.
    select(hwnd, a, c, !(styleOf(hwnd) & ES_MULTILINE));
    return 0;
}

LRESULT getSel(const EditState& st, WPARAM wParam, LPARAM lParam) {
    DWORD a = static_cast<DWORD>(selMin(st)), b = static_cast<DWORD>(selMax(st));
    if (auto* p = reinterpret_cast<DWORD*>(wParam)) *p = a;
    if (auto* p = reinterpret_cast<DWORD*>(lParam)) *p = b;
    if (a > 0xFFFF || b > 0xFFFF) return -1;
    return static_cast<LRESULT>(static_cast<DWORD>(MAKELONG(a, b)));
}

LRESULT posFromChar(HWND hwnd, EditState& st, WPARAM wParam) {
    // the position after the last character is no character's: -1, as on Windows
    if (wParam >= static_cast<WPARAM>(length(st))) return -1;
    POINT p = Layout(hwnd, st).pos(static_cast<int>(wParam));
    return static_cast<LRESULT>(static_cast<DWORD>(MAKELONG(static_cast<WORD>(p.x), static_cast<WORD>(p.y))));
}

LRESULT charFromPos(HWND hwnd, EditState& st, LPARAM lParam) {
    POINT p{static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))};
    RECT client{};
    GetClientRect(hwnd, &client);
    if (!PtInRect(&client, p)) return -1;
    Layout lay(hwnd, st);
    int index = lay.indexAt(p.x, p.y);
    int line = lay.lineOf(index);
    return static_cast<LRESULT>(static_cast<DWORD>(MAKELONG(std::min(index, 0xFFFF), std::min(line, 0xFFFF))));
}

LRESULT getText(const EditState& st, WPARAM wParam, LPARAM lParam) {
    char* buf = reinterpret_cast<char*>(lParam);
    if (!buf || wParam == 0) return 0;
    size_t n = std::min(st.text.size(), static_cast<size_t>(wParam) - 1);
    std::memcpy(buf, st.text.data(), n);
    buf[n] = 0;
    return static_cast<LRESULT>(n);
}

} // namespace

LRESULT CALLBACK editProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        setControlState(hwnd, new EditState);
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    EditState* st = stateOf(hwnd);
    if (!st) return DefWindowProcA(hwnd, msg, wParam, lParam);
    switch (msg) {
    case WM_CREATE: {
        DWORD style = styleOf(hwnd);
        st->lineHeight = Measure(hwnd, st->font).lineHeight();
        if ((style & ES_PASSWORD) && !(style & ES_MULTILINE)) st->passwordChar = '*';
        auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        st->text = cs && cs->lpszName && !IS_INTRESOURCE(cs->lpszName) ? cs->lpszName : "";
        syncWindowText(hwnd, *st);
        return 0;
    }
    case WM_NCDESTROY:
        setControlState<EditState>(hwnd, nullptr);
        delete st;
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_DESTROY:
        if (st->hasCaret) {
            DestroyCaret();
            st->hasCaret = false;
        }
        return 0;

    // ---- text ----
    case WM_SETTEXT:
        setText(hwnd, reinterpret_cast<const char*>(lParam));
        // Windows notifies a change of a single-line edit's text, not of a multi-line one's.
        if (!(styleOf(hwnd) & ES_MULTILINE)) {
            notify(hwnd, EN_UPDATE);
            notify(hwnd, EN_CHANGE);
        }
        return TRUE;
    case WM_GETTEXT: return getText(*st, wParam, lParam);
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(st->text.size());
    case EM_LIMITTEXT: {
        UINT max = (styleOf(hwnd) & ES_MULTILINE) ? kMultiLineMaxLimit : kSingleLineMaxLimit;
        st->limit = wParam == 0 ? max : static_cast<UINT>(std::min<WPARAM>(wParam, max));
        return 0;
    }
    case EM_GETLIMITTEXT: return static_cast<LRESULT>(st->limit);
    case EM_REPLACESEL: {
        // Programs may change a read-only edit; only the user may not.
        const char* s = reinterpret_cast<const char*>(lParam);
        replace(hwnd, selMin(*st), selMax(*st), s ? s : "", Kind::Other, wParam != 0);
        return 0;
    }
    case EM_GETMODIFY: return st->modified ? TRUE : FALSE;
    case EM_SETMODIFY: st->modified = wParam != 0; return 0;
    case EM_CANUNDO: return st->undo.valid ? TRUE : FALSE;
    case EM_UNDO:
    case WM_UNDO: {
        bool multi = styleOf(hwnd) & ES_MULTILINE;
        bool done = !readOnly(hwnd) && undo(hwnd);
        // A single-line edit always reports success.
        return multi ? (done ? TRUE : FALSE) : TRUE;
    }
    case EM_EMPTYUNDOBUFFER: st->undo = Undo{}; return 0;
    case EM_SETREADONLY: {
        LONG style = GetWindowLongA(hwnd, GWL_STYLE);
        SetWindowLongA(hwnd, GWL_STYLE, wParam ? (style | ES_READONLY) : (style & ~ES_READONLY));
        InvalidateRect(hwnd, nullptr, TRUE);
        return TRUE;
    }
    case EM_SETPASSWORDCHAR:
        if (!(styleOf(hwnd) & ES_MULTILINE)) {
            st->passwordChar = static_cast<char>(wParam);
            LONG style = GetWindowLongA(hwnd, GWL_STYLE);
            SetWindowLongA(hwnd, GWL_STYLE, wParam ? (style | ES_PASSWORD) : (style & ~ES_PASSWORD));
            refresh(hwnd, true);
        }
        return 0;
    case EM_GETPASSWORDCHAR: return static_cast<LRESULT>(static_cast<unsigned char>(st->passwordChar));
    case WM_CUT: cutSelection(hwnd); return 0;
    case WM_COPY: copySelection(hwnd); return 0;
    case WM_PASTE: paste(hwnd); return 0;
    case WM_CLEAR: clearSelection(hwnd); return 0;

    // ---- selection and geometry ----
    case EM_GETSEL: return getSel(*st, wParam, lParam);
    case EM_SETSEL: return setSel(hwnd, *st, wParam, lParam);
    case EM_SCROLLCARET: refresh(hwnd, true); return TRUE;
    case EM_POSFROMCHAR: return posFromChar(hwnd, *st, wParam);
    case EM_CHARFROMPOS: return charFromPos(hwnd, *st, lParam);
    case EM_GETRECT:
        if (auto* r = reinterpret_cast<RECT*>(lParam)) *r = formatRect(hwnd, *st, styleOf(hwnd));
        return 0;
    case EM_SETRECT:
    case EM_SETRECTNP:
        if (styleOf(hwnd) & ES_MULTILINE) {
            const RECT* r = reinterpret_cast<const RECT*>(lParam);
            st->customRect = r != nullptr;
            if (r) st->rect = *r;
            scrollCaretIntoView(hwnd, *st);
            placeCaret(hwnd, *st);
            if (msg == EM_SETRECT) InvalidateRect(hwnd, nullptr, TRUE);
        }
        return 0;
    case EM_SETMARGINS:
        setMargins(*st, wParam, lParam);
        refresh(hwnd, true);
        return 0;
    case EM_GETMARGINS: return static_cast<LRESULT>(static_cast<DWORD>(MAKELONG(st->leftMargin, st->rightMargin)));
    case EM_GETFIRSTVISIBLELINE: return (styleOf(hwnd) & ES_MULTILINE) ? st->topLine : st->firstVisible;
    case EM_GETLINECOUNT: return static_cast<LRESULT>(Layout(hwnd, *st).lines().size());
    case EM_LINEINDEX: return lineIndex(hwnd, *st, wParam);
    case EM_LINELENGTH: return lineLength(hwnd, *st, wParam);
    case EM_LINEFROMCHAR: {
        Layout lay(hwnd, *st);
        int index = static_cast<INT>(static_cast<UINT>(wParam));
        // -1: the line of the selection's start, or of the caret when nothing is selected.
        if (index == -1) index = st->anchor != st->caret ? selMin(*st) : st->caret;
        return lay.lineOf(clampIndex(index, length(*st)));
    }
    case EM_GETLINE: return getLine(hwnd, *st, wParam, lParam);
    case EM_LINESCROLL:
        if (!(styleOf(hwnd) & ES_MULTILINE)) return FALSE;
        if (styleOf(hwnd) & ES_AUTOHSCROLL) st->xOffset = std::max(0, st->xOffset + static_cast<INT>(static_cast<UINT>(wParam)) * Layout(hwnd, *st).widthOf("x"));
        scrollLines(hwnd, *st, static_cast<INT>(static_cast<UINT>(lParam)));
        return TRUE;
    case EM_SCROLL: {
        if (!(styleOf(hwnd) & ES_MULTILINE)) return FALSE;
        int page = Layout(hwnd, *st).visibleLines();
        int lines = wParam == SB_LINEUP ? -1 : wParam == SB_LINEDOWN ? 1 : wParam == SB_PAGEUP ? -page : wParam == SB_PAGEDOWN ? page : 0;
        if (wParam > SB_PAGEDOWN) return FALSE;
        LRESULT moved = scrollLines(hwnd, *st, lines);
        return static_cast<LRESULT>(static_cast<DWORD>(MAKELONG(static_cast<WORD>(moved), TRUE)));
    }

    // ---- input ----
    case WM_GETDLGCODE: return dialogCode(hwnd, reinterpret_cast<const MSG*>(lParam));
    case WM_CHAR: charTyped(hwnd, static_cast<unsigned char>(wParam)); return 0;
    case WM_KEYDOWN: keyDown(hwnd, wParam, lParam); return 0;
    case WM_LBUTTONDOWN: mouseDown(hwnd, wParam, lParam); return 0;
    case WM_LBUTTONDBLCLK: selectWord(hwnd, lParam); return 0;
    case WM_MOUSEMOVE: mouseMove(hwnd, lParam); return 0;
    case WM_LBUTTONUP:
        if (st->tracking) {
            st->tracking = false;
            if (GetCapture() == hwnd) ReleaseCapture();
        }
        return 0;
    case WM_CAPTURECHANGED: st->tracking = false; return 0;
    case WM_HSCROLL: horizontalScroll(hwnd, LOWORD(wParam)); return 0;
    case WM_VSCROLL: verticalScroll(hwnd, LOWORD(wParam)); return 0;

    // ---- focus, font, painting ----
    case WM_SETFOCUS: setFocus(hwnd); return 0;
    case WM_KILLFOCUS: killFocus(hwnd); return 0;
    case WM_SETFONT: setFont(hwnd, reinterpret_cast<HFONT>(wParam), LOWORD(lParam) != 0); return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(st->font);
    case WM_SIZE: refresh(hwnd, true); return 0;
    case WM_ENABLE:
    case WM_STYLECHANGED: refresh(hwnd, false); return 0;
    case WM_ERASEBKGND: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        HBRUSH brush = controlBrush(hwnd, dc);
        RECT client{};
        GetClientRect(hwnd, &client);
        if (brush) FillRect(dc, &client, brush);
        return 1;
    }
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        if (dc) paint(hwnd, dc);
        EndPaint(hwnd, &ps);
        return 0;
    }
    default: return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

} // namespace w32

// The LISTBOX control, for the "ListBox" class and the "ComboLBox" list of a combo box: items
// with text and data, sorted insertion, single and multiple selection, scrolling with its scroll
// bar state, keyboard and mouse input and the notifications of Windows' list box. Built on the
// public API only.
#include "controls.h"

#include <windowsx.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <string>
#include <vector>

namespace w32 {

namespace {

// ---- text comparison of the narrow code page, as a list box sorts and searches ----

unsigned char foldCase(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 32);
    switch (c) {
    case 0x8A:
        return 0x9A;
    case 0x8C:
        return 0x9C;
    case 0x8E:
        return 0x9E;
    case 0x9F:
        return 0xFF;
    default:
        return c;
    }
}

// Base letter of an accented letter (lower case), 0 when the character is no letter.
unsigned char baseLetter(unsigned char c) {
    c = foldCase(c);
    if (c >= 'a' && c <= 'z') return c;
    static const char latin1[] = "aaaaaaaceeeeiiiidnooooo\0ouuuuyty"; // 0xE0..0xFF
    if (c >= 0xE0) return static_cast<unsigned char>(latin1[c - 0xE0]);
    switch (c) {
    case 0xDF:
        return 's';
    case 0x9A:
        return 's';
    case 0x9C:
        return 'o';
    case 0x9E:
        return 'z';
    default:
        return 0;
    }
}

// Punctuation in the order of Windows' default sort table; other symbols follow it.
int symbolWeight(unsigned char c) {
    static const char order[] = " !\"#$%&()*,./:;?@[\\]^_`{|}~+<=>";
    const char* p = c ? std::strchr(order, c) : nullptr;
    return p ? static_cast<int>(p - order) : 64 + c;
}

// The weights of Windows' word sort, character by character: hyphens and apostrophes count only
// after everything else ("coop" and "co-op" stay together); symbols sort before digits, digits
// before letters; accents count after the letters themselves.
bool isIgnored(unsigned char c) { return c == '-' || c == '\'' || c == 0xAD; }

int primaryWeight(unsigned char c) {
    if (unsigned char b = baseLetter(c)) return 0x2000 + b;
    if (c >= '0' && c <= '9') return 0x1000 + c;
    return symbolWeight(c);
}

int accentWeight(unsigned char c) {
    unsigned char b = baseLetter(c);
    return b && b != foldCase(c) ? foldCase(c) : 0;
}

// Compares the weight sequences of the characters that count, without building them (a sorted
// list compares on every insertion).
template <class Weight> int compareWeights(const std::string& a, const std::string& b, Weight weight) {
    size_t i = 0, j = 0;
    for (;;) {
        while (i < a.size() && isIgnored(static_cast<unsigned char>(a[i]))) ++i;
        while (j < b.size() && isIgnored(static_cast<unsigned char>(b[j]))) ++j;
        bool endA = i == a.size(), endB = j == b.size();
        if (endA || endB) return endA == endB ? 0 : endA ? -1 : 1;
        int wa = weight(static_cast<unsigned char>(a[i++])), wb = weight(static_cast<unsigned char>(b[j++]));
        if (wa != wb) return wa < wb ? -1 : 1;
    }
}

// Case-insensitive comparison of Windows' word sort: <0, 0 or >0.
int compareItems(const std::string& a, const std::string& b) {
    if (int r = compareWeights(a, b, primaryWeight)) return r;
    if (int r = compareWeights(a, b, accentWeight)) return r;
    auto ignored = [](const std::string& s) {
        return std::count_if(s.begin(), s.end(), [](char c) { return isIgnored(static_cast<unsigned char>(c)); });
    };
    auto ia = ignored(a), ib = ignored(b);
    return ia == ib ? 0 : ia < ib ? -1 : 1;
}

bool startsWithNoCase(const std::string& text, const char* prefix) {
    size_t n = std::strlen(prefix);
    if (n > text.size()) return false;
    for (size_t i = 0; i < n; ++i)
        if (foldCase(static_cast<unsigned char>(text[i])) != foldCase(static_cast<unsigned char>(prefix[i])))
            return false;
    return true;
}

bool equalsNoCase(const std::string& text, const char* other) {
    return std::strlen(other) == text.size() && startsWithNoCase(text, other);
}

// ---- state ----

struct Item {
    std::string text;
    ULONG_PTR data = 0;
    bool selected = false; // multiple-selection list boxes
};

struct ListBox {
    HWND self = nullptr;
    HWND notify = nullptr; // the parent, the owner of a pop-up, or the combo box of a "ComboLBox"
    DWORD style = 0;
    bool comboList = false; // LBS_COMBOBOX: part of a combo box
    bool dropDown = false;  // the pop-up list of a drop-down combo box
    bool hasStrings = true;
    bool multiple = false; // LBS_MULTIPLESEL
    bool extended = false; // LBS_EXTENDEDSEL
    bool vscroll = false;  // created with a vertical scroll bar
    std::vector<Item> items;
    int sel = -1; // single selection
    int caret = 0;
    int anchor = 0;
    int top = 0;
    int itemHeight = 16;
    HFONT font = nullptr;
    bool focused = false;
    bool tracking = false; // the left button went down in the list and the list has the capture
    int wheel = 0;         // wheel delta not yet turned into lines
    int requestedHeight = -1;
    int horizontalExtent = 0;
    int columnWidth = 0;

    int count() const { return static_cast<int>(items.size()); }
    bool multi() const { return multiple || extended; }
    bool integralHeight() const {
        return !(style & (LBS_NOINTEGRALHEIGHT | LBS_OWNERDRAWVARIABLE | LBS_MULTICOLUMN));
    }
};

ListBox* state(HWND hwnd) {
    return controlState<ListBox>(hwnd);
}

// An index argument that names an existing item.
bool validIndex(const ListBox* lb, WPARAM index) {
    return index < static_cast<WPARAM>(lb->count());
}

int clientHeight(HWND hwnd) {
    RECT r{};
    GetClientRect(hwnd, &r);
    return r.bottom - r.top;
}

int clientWidth(HWND hwnd) {
    RECT r{};
    GetClientRect(hwnd, &r);
    return r.right - r.left;
}

// Rows that are fully visible (at least one, for scrolling arithmetic).
int pageSize(const ListBox* lb) {
    return std::max(1, clientHeight(lb->self) / std::max(1, lb->itemHeight));
}

int maxTop(const ListBox* lb) {
    return std::max(0, lb->count() - pageSize(lb));
}

int fontHeight(HWND hwnd, HFONT font) {
    HDC dc = GetDC(hwnd);
    HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    if (old) SelectObject(dc, old);
    ReleaseDC(hwnd, dc);
    return tm.tmHeight > 0 ? static_cast<int>(tm.tmHeight) : 16;
}

void redraw(const ListBox* lb) {
    InvalidateRect(lb->self, nullptr, TRUE);
}

void updateScroll(const ListBox* lb) {
    if (!lb->vscroll) return;
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    if (lb->style & LBS_DISABLENOSCROLL) si.fMask |= SIF_DISABLENOSCROLL;
    si.nMin = 0;
    si.nMax = std::max(lb->count() - 1, 0);
    si.nPage = static_cast<UINT>(pageSize(lb));
    si.nPos = lb->top;
    SetScrollInfo(lb->self, SB_VERT, &si, TRUE);
}

void setTop(ListBox* lb, int top) {
    top = std::max(0, std::min(top, maxTop(lb)));
    if (top != lb->top) {
        lb->top = top;
        redraw(lb);
    }
    updateScroll(lb);
}

void ensureVisible(ListBox* lb, int index) {
    if (index < 0 || index >= lb->count()) return;
    int page = pageSize(lb);
    if (index < lb->top)
        setTop(lb, index);
    else if (index >= lb->top + page)
        setTop(lb, index - page + 1);
}

// Sends a notification; returns false when the list box did not survive it.
bool notify(ListBox* lb, int code) {
    bool userCode = code == LBN_SELCHANGE || code == LBN_DBLCLK || code == LBN_SELCANCEL;
    if (userCode && !lb->comboList && !(lb->style & LBS_NOTIFY)) return true;
    if (lb->comboList && (code == LBN_SETFOCUS || code == LBN_KILLFOCUS)) return true;
    HWND self = lb->self, target = lb->notify;
    if (!target) return true;
    SendMessageA(target, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(self), static_cast<WORD>(code)),
                 reinterpret_cast<LPARAM>(self));
    return IsWindow(self) && state(self) == lb;
}

// The item shown at a client y coordinate, limited to the items in view.
int itemAtY(const ListBox* lb, int y) {
    if (lb->count() == 0) return -1;
    int row = y < 0 ? 0 : y / std::max(1, lb->itemHeight);
    int last = std::min(lb->count() - 1, lb->top + pageSize(lb));
    return std::max(lb->top, std::min(lb->top + row, last));
}

// True when the point lies on an item inside the client area.
bool onItem(const ListBox* lb, int x, int y) {
    RECT c{};
    GetClientRect(lb->self, &c);
    if (!PtInRect(&c, POINT{x, y})) return false;
    return lb->top + y / std::max(1, lb->itemHeight) < lb->count();
}

// ---- selection ----

void selectSingle(ListBox* lb, int index) {
    if (lb->style & LBS_NOSEL) index = -1;
    if (lb->sel != index) {
        lb->sel = index;
        redraw(lb);
    }
    if (index >= 0) lb->caret = index;
}

void selectOnly(ListBox* lb, int index) {
    for (int i = 0; i < lb->count(); ++i)
        lb->items[static_cast<size_t>(i)].selected = i == index;
    redraw(lb);
}

void selectRange(ListBox* lb, int from, int to, bool clearOthers) {
    int lo = std::min(from, to), hi = std::max(from, to);
    for (int i = 0; i < lb->count(); ++i) {
        bool inRange = i >= lo && i <= hi;
        if (inRange)
            lb->items[static_cast<size_t>(i)].selected = true;
        else if (clearOthers)
            lb->items[static_cast<size_t>(i)].selected = false;
    }
    redraw(lb);
}

// ---- items ----

LRESULT insertItem(ListBox* lb, int pos, std::string text, ULONG_PTR data) {
    try {
        Item item;
        item.text = std::move(text);
        item.data = data;
        lb->items.insert(lb->items.begin() + pos, std::move(item));
    } catch (const std::bad_alloc&) {
        notify(lb, LBN_ERRSPACE);
        return LB_ERRSPACE;
    }
    if (lb->sel >= pos) ++lb->sel;
    if (lb->count() == 1) {
        lb->caret = lb->anchor = 0;
    } else if (lb->multi()) {
        // a single-selection list box keeps its caret index where it was
        if (lb->caret >= pos) ++lb->caret;
        if (lb->anchor >= pos) ++lb->anchor;
    }
    updateScroll(lb);
    redraw(lb);
    return pos;
}

int sortedPosition(const ListBox* lb, const std::string& text) {
    // after the items that sort equal, so equal strings keep their order of addition
    auto it = std::upper_bound(
        lb->items.begin(), lb->items.end(), text,
        [](const std::string& t, const Item& item) { return compareItems(t, item.text) < 0; });
    return static_cast<int>(it - lb->items.begin());
}

LRESULT deleteItem(ListBox* lb, int index) {
    lb->items.erase(lb->items.begin() + index);
    int n = lb->count();
    if (lb->sel == index)
        lb->sel = -1;
    else if (lb->sel > index)
        --lb->sel;
    if (lb->caret > index) --lb->caret;
    if (lb->anchor > index) --lb->anchor;
    lb->caret = std::max(0, std::min(lb->caret, n - 1));
    lb->anchor = std::max(0, std::min(lb->anchor, n - 1));
    setTop(lb, lb->top > index ? lb->top - 1 : lb->top);
    redraw(lb);
    return n;
}

// Searches after `start` and wraps around, as LB_FINDSTRING does.
template <class Match> int findItem(const ListBox* lb, WPARAM start, Match match) {
    int n = lb->count();
    if (n == 0) return LB_ERR;
    int first = validIndex(lb, start) ? static_cast<int>(start) + 1 : 0;
    for (int k = 0; k < n; ++k) {
        int i = (first + k) % n;
        if (match(lb->items[static_cast<size_t>(i)])) return i;
    }
    return LB_ERR;
}

LRESULT findString(const ListBox* lb, WPARAM start, LPARAM lParam, bool exact) {
    if (!lb->hasStrings)
        return findItem(lb, start, [&](const Item& it) { return it.data == static_cast<ULONG_PTR>(lParam); });
    const char* text = reinterpret_cast<const char*>(lParam);
    if (!text) return LB_ERR;
    if (exact) return findItem(lb, start, [&](const Item& it) { return equalsNoCase(it.text, text); });
    return findItem(lb, start, [&](const Item& it) { return startsWithNoCase(it.text, text); });
}

// ---- geometry ----

void applyIntegralHeight(ListBox* lb) {
    if (!lb->integralHeight() || lb->requestedHeight < 0) return;
    RECT r{};
    GetWindowRect(lb->self, &r);
    SetWindowPos(lb->self, nullptr, 0, 0, r.right - r.left, lb->requestedHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The system sizes a list box so that it shows no partial item, unless LBS_NOINTEGRALHEIGHT.
void snapHeight(ListBox* lb, WINDOWPOS* wp) {
    if (!wp || (wp->flags & SWP_NOSIZE) || !lb->integralHeight()) return;
    lb->requestedHeight = wp->cy;
    RECT w{}, c{};
    GetWindowRect(lb->self, &w);
    GetClientRect(lb->self, &c);
    int nonClient = (w.bottom - w.top) - (c.bottom - c.top);
    int client = wp->cy - nonClient;
    if (client >= lb->itemHeight && lb->itemHeight > 0) wp->cy -= client % lb->itemHeight;
}

// ---- keyboard ----

void moveTo(ListBox* lb, int target, bool shift, bool ctrl) {
    HWND self = lb->self;
    target = std::max(0, std::min(target, lb->count() - 1));
    if (!lb->multi()) {
        bool changed = target != lb->sel && !(lb->style & LBS_NOSEL);
        selectSingle(lb, target);
        lb->caret = target;
        ensureVisible(lb, target);
        if (changed) notify(lb, LBN_SELCHANGE);
        return;
    }
    if (lb->extended && !ctrl) {
        if (shift) {
            selectRange(lb, lb->anchor, target, true);
        } else {
            selectOnly(lb, target);
            lb->anchor = target;
        }
    }
    lb->caret = target;
    redraw(lb);
    ensureVisible(lb, target);
    // a multiple-selection list box notifies on every arrow key, changed or not
    if (IsWindow(self)) notify(lb, LBN_SELCHANGE);
}

LRESULT keyDown(ListBox* lb, UINT vk) {
    HWND self = lb->self;
    if ((lb->style & LBS_WANTKEYBOARDINPUT) && !lb->comboList && lb->notify) {
        LRESULT r = SendMessageA(lb->notify, WM_VKEYTOITEM, MAKEWPARAM(vk, lb->caret),
                                 reinterpret_cast<LPARAM>(self));
        if (!IsWindow(self) || state(self) != lb) return 0;
        if (r == -2) return 0;
        if (r >= 0 && r < lb->count()) lb->caret = static_cast<int>(r);
    }
    int n = lb->count();
    bool shift = GetKeyState(VK_SHIFT) < 0, ctrl = GetKeyState(VK_CONTROL) < 0;
    if (vk == VK_SPACE && lb->multi() && n > 0) {
        Item& it = lb->items[static_cast<size_t>(lb->caret)];
        if (lb->multiple || ctrl) {
            it.selected = !it.selected;
        } else if (shift) {
            selectRange(lb, lb->anchor, lb->caret, true);
        } else {
            selectOnly(lb, lb->caret);
        }
        if (!shift) lb->anchor = lb->caret;
        redraw(lb);
        notify(lb, LBN_SELCHANGE);
        return 0;
    }
    int step = std::max(1, pageSize(lb) - 1);
    // with nothing selected the first move selects the caret item itself
    int cur = lb->multi() ? lb->caret : lb->sel;
    bool none = cur < 0;
    if (none) cur = lb->caret;
    int target;
    switch (vk) {
    case VK_UP:
    case VK_LEFT:
        target = none ? cur : cur - 1;
        break;
    case VK_DOWN:
    case VK_RIGHT:
        target = none ? cur : cur + 1;
        break;
    case VK_PRIOR:
        target = none ? cur : cur - step;
        break;
    case VK_NEXT:
        target = none ? cur : cur + step;
        break;
    case VK_HOME:
        target = 0;
        break;
    case VK_END:
        target = n - 1;
        break;
    default:
        return DefWindowProcA(self, WM_KEYDOWN, vk, 0);
    }
    if (n == 0) return 0;
    moveTo(lb, target, shift, ctrl);
    return 0;
}

LRESULT charTyped(ListBox* lb, WPARAM ch) {
    HWND self = lb->self;
    if ((lb->style & LBS_WANTKEYBOARDINPUT) && !lb->hasStrings && lb->notify) {
        LRESULT r = SendMessageA(lb->notify, WM_CHARTOITEM, MAKEWPARAM(ch, lb->caret),
                                 reinterpret_cast<LPARAM>(self));
        if (!IsWindow(self) || state(self) != lb) return 0;
        if (r >= 0 && r < lb->count()) moveTo(lb, static_cast<int>(r), false, false);
        return 0;
    }
    if (!lb->hasStrings || ch < 0x20 || ch == 0x7F || (ch == ' ' && lb->multi())) return 0;
    char prefix[2] = {static_cast<char>(ch), 0};
    int from = lb->multi() ? lb->caret : lb->sel;
    LRESULT found = findString(lb, static_cast<WPARAM>(static_cast<INT_PTR>(from)),
                               reinterpret_cast<LPARAM>(prefix), false);
    if (found != LB_ERR) moveTo(lb, static_cast<int>(found), false, false);
    return 0;
}

// ---- mouse ----

void buttonDown(ListBox* lb, WPARAM keys, int x, int y) {
    HWND self = lb->self;
    if (lb->dropDown) {
        if (onItem(lb, x, y)) {
            selectSingle(lb, itemAtY(lb, y));
            lb->tracking = true;
            return;
        }
        POINT pt{x, y};
        ClientToScreen(self, &pt);
        RECT wr{};
        GetWindowRect(self, &wr);
        if (PtInRect(&wr, pt)) {
            // the scroll bar of the open list pages towards the click
            if (x >= clientWidth(self) && lb->vscroll)
                SendMessageA(self, WM_VSCROLL, y < clientHeight(self) / 2 ? SB_PAGEUP : SB_PAGEDOWN, 0);
            return;
        }
        notify(lb, LBN_SELCANCEL); // a click outside closes the list without a choice
        return;
    }
    HWND focusTo = lb->comboList ? lb->notify : self;
    if (focusTo && GetFocus() != focusTo) {
        SetFocus(focusTo);
        if (!IsWindow(self) || state(self) != lb) return;
    }
    int index = itemAtY(lb, y);
    if (index >= 0) {
        if (!lb->multi()) {
            selectSingle(lb, index);
        } else if (lb->multiple) {
            Item& it = lb->items[static_cast<size_t>(index)];
            it.selected = !it.selected;
            lb->anchor = index;
        } else if (keys & MK_SHIFT) {
            selectRange(lb, lb->anchor, index, !(keys & MK_CONTROL));
        } else if (keys & MK_CONTROL) {
            Item& it = lb->items[static_cast<size_t>(index)];
            it.selected = !it.selected;
            lb->anchor = index;
        } else {
            selectOnly(lb, index);
            lb->anchor = index;
        }
        lb->caret = index;
        redraw(lb);
    }
    lb->tracking = true;
    SetCapture(self);
}

void mouseMove(ListBox* lb, WPARAM keys, int x, int y) {
    if (lb->dropDown) {
        // the open list of a combo box follows the mouse
        if (onItem(lb, x, y)) selectSingle(lb, itemAtY(lb, y));
        return;
    }
    if (!lb->tracking || !(keys & MK_LBUTTON) || lb->count() == 0) return;
    int index;
    if (y < 0)
        index = std::max(lb->top - 1, 0);
    else if (y >= clientHeight(lb->self))
        index = std::min(lb->top + pageSize(lb), lb->count() - 1);
    else
        index = itemAtY(lb, y);
    ensureVisible(lb, index);
    if (!lb->multi())
        selectSingle(lb, index);
    else if (lb->extended)
        selectRange(lb, lb->anchor, index, !(keys & MK_CONTROL));
    lb->caret = index;
    redraw(lb);
}

void buttonUp(ListBox* lb, int x, int y) {
    HWND self = lb->self;
    if (lb->dropDown) {
        lb->tracking = false;
        // a release on an item chooses it; elsewhere (the opening click) the list stays open
        if (onItem(lb, x, y)) {
            selectSingle(lb, itemAtY(lb, y));
            notify(lb, LBN_SELCHANGE);
        }
        return;
    }
    if (!lb->tracking) return;
    lb->tracking = false;
    if (GetCapture() == self) ReleaseCapture();
    if (!IsWindow(self) || state(self) != lb) return;
    if (lb->count() > 0) notify(lb, LBN_SELCHANGE);
}

// ---- scrolling ----

void vscroll(ListBox* lb, WORD code, WORD pos) {
    int page = pageSize(lb);
    switch (code) {
    case SB_LINEUP:
        setTop(lb, lb->top - 1);
        break;
    case SB_LINEDOWN:
        setTop(lb, lb->top + 1);
        break;
    case SB_PAGEUP:
        setTop(lb, lb->top - page);
        break;
    case SB_PAGEDOWN:
        setTop(lb, lb->top + page);
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        setTop(lb, pos);
        break;
    case SB_TOP:
        setTop(lb, 0);
        break;
    case SB_BOTTOM:
        setTop(lb, lb->count());
        break;
    default:
        break;
    }
}

void wheel(ListBox* lb, int delta) {
    if ((lb->wheel > 0 && delta < 0) || (lb->wheel < 0 && delta > 0)) lb->wheel = 0;
    lb->wheel += delta;
    int perNotch = std::min(3, pageSize(lb)); // three lines a notch, never more than a page
    int lines = lb->wheel * perNotch / WHEEL_DELTA;
    if (lines == 0) return;
    lb->wheel -= lines * WHEEL_DELTA / perNotch;
    setTop(lb, lb->top - lines);
}

// ---- painting ----

void paint(ListBox* lb) {
    HWND self = lb->self;
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(self, &ps);
    if (!dc) return;
    HBRUSH brush = nullptr;
    if (lb->notify)
        brush = reinterpret_cast<HBRUSH>(SendMessageA(
            lb->notify, WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(self)));
    else
        brush = reinterpret_cast<HBRUSH>(DefWindowProcA(
            self, WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(self)));
    if (!IsWindow(self) || state(self) != lb) {
        EndPaint(self, &ps);
        return;
    }
    if (!brush) brush = GetSysColorBrush(COLOR_WINDOW);
    HGDIOBJ oldFont = lb->font ? SelectObject(dc, lb->font) : nullptr;
    RECT client{};
    GetClientRect(self, &client);
    FillRect(dc, &client, brush);
    COLORREF text = GetTextColor(dc), back = GetBkColor(dc);
    bool enabled = IsWindowEnabled(self);
    int last = std::min(lb->count(), lb->top + pageSize(lb) + 1);
    for (int i = lb->top; i < last; ++i) {
        const Item& it = lb->items[static_cast<size_t>(i)];
        RECT r{0, (i - lb->top) * lb->itemHeight, client.right, (i - lb->top + 1) * lb->itemHeight};
        bool selected = lb->multi() ? it.selected : i == lb->sel;
        if (selected) {
            FillRect(dc, &r, GetSysColorBrush(COLOR_HIGHLIGHT));
            SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
            SetBkColor(dc, GetSysColor(COLOR_HIGHLIGHT));
        } else {
            SetTextColor(dc, enabled ? text : GetSysColor(COLOR_GRAYTEXT));
            SetBkColor(dc, back);
        }
        if (lb->hasStrings)
            TextOutA(dc, r.left + 2, r.top, it.text.c_str(), static_cast<int>(it.text.size()));
        if (lb->focused && i == lb->caret) DrawFocusRect(dc, &r);
    }
    if (oldFont) SelectObject(dc, oldFont);
    EndPaint(self, &ps);
}

// ---- messages ----

LRESULT onCreate(ListBox* lb, const CREATESTRUCTA* cs) {
    lb->style = static_cast<DWORD>(cs->style);
    lb->comboList = lb->style & LBS_COMBOBOX;
    lb->dropDown = lb->comboList && (lb->style & WS_POPUP);
    lb->notify = cs->hwndParent;
    if (lb->comboList && cs->lpCreateParams) lb->notify = static_cast<HWND>(cs->lpCreateParams);
    lb->hasStrings =
        !(lb->style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) || (lb->style & LBS_HASSTRINGS);
    lb->extended = lb->style & LBS_EXTENDEDSEL;
    lb->multiple = !lb->extended && (lb->style & LBS_MULTIPLESEL);
    lb->vscroll = lb->style & WS_VSCROLL;
    lb->itemHeight = fontHeight(lb->self, nullptr);
    lb->requestedHeight = cs->cy;
    applyIntegralHeight(lb);
    updateScroll(lb);
    return 0;
}

LRESULT getText(const ListBox* lb, WPARAM index, LPARAM buffer) {
    if (!validIndex(lb, index) || !buffer) return LB_ERR;
    const Item& it = lb->items[index];
    if (!lb->hasStrings) {
        std::memcpy(reinterpret_cast<void*>(buffer), &it.data, sizeof it.data);
        return sizeof it.data;
    }
    std::memcpy(reinterpret_cast<char*>(buffer), it.text.c_str(), it.text.size() + 1);
    return static_cast<LRESULT>(it.text.size());
}

LRESULT itemRect(const ListBox* lb, WPARAM index, LPARAM lParam) {
    auto* rect = reinterpret_cast<RECT*>(lParam);
    if (!rect || !validIndex(lb, index)) return LB_ERR;
    int row = static_cast<int>(index) - lb->top;
    RECT client{};
    GetClientRect(lb->self, &client);
    *rect = RECT{0, row * lb->itemHeight, std::max<LONG>(client.right, lb->horizontalExtent),
                 (row + 1) * lb->itemHeight};
    // nonzero when the item is at least partly in view
    return rect->top < client.bottom && rect->bottom > 0 ? 1 : 0;
}

LRESULT itemFromPoint(const ListBox* lb, LPARAM lParam) {
    int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
    if (lb->count() == 0) return MAKELRESULT(0, 1);
    int index = itemAtY(lb, y);
    bool outside = !onItem(lb, x, y);
    return MAKELRESULT(static_cast<WORD>(index), outside ? 1 : 0);
}

LRESULT selItemRange(ListBox* lb, bool select, int first, int last) {
    if (!lb->multi()) return LB_ERR;
    int n = lb->count();
    if (n == 0) return LB_ERR;
    first = std::max(0, std::min(first, n - 1));
    last = std::max(0, std::min(last, n - 1));
    for (int i = std::min(first, last); i <= std::max(first, last); ++i)
        lb->items[static_cast<size_t>(i)].selected = select;
    redraw(lb);
    return 0;
}

LRESULT listMessage(ListBox* lb, UINT msg, WPARAM wParam, LPARAM lParam) {
    HWND self = lb->self;
    int n = lb->count();
    switch (msg) {
    case LB_ADDSTRING: {
        if (!lb->hasStrings) return insertItem(lb, n, std::string(), static_cast<ULONG_PTR>(lParam));
        std::string text = lParam ? reinterpret_cast<const char*>(lParam) : "";
        int pos = (lb->style & LBS_SORT) ? sortedPosition(lb, text) : n;
        return insertItem(lb, pos, std::move(text), 0);
    }
    case LB_INSERTSTRING: {
        INT_PTR pos = static_cast<INT_PTR>(wParam);
        if (pos == -1) pos = n;
        if (pos < 0 || pos > n) return LB_ERR;
        if (!lb->hasStrings)
            return insertItem(lb, static_cast<int>(pos), std::string(), static_cast<ULONG_PTR>(lParam));
        return insertItem(lb, static_cast<int>(pos), lParam ? reinterpret_cast<const char*>(lParam) : "", 0);
    }
    case LB_DELETESTRING:
        if (!validIndex(lb, wParam)) return LB_ERR;
        return deleteItem(lb, static_cast<int>(wParam));
    case LB_RESETCONTENT:
        lb->items.clear();
        lb->sel = -1;
        lb->caret = lb->anchor = 0;
        lb->top = 0;
        updateScroll(lb);
        redraw(lb);
        return 0;
    case LB_GETCOUNT:
        return n;
    case LB_GETTEXT:
        return getText(lb, wParam, lParam);
    case LB_GETTEXTLEN:
        if (!validIndex(lb, wParam)) return LB_ERR;
        return lb->hasStrings ? static_cast<LRESULT>(lb->items[wParam].text.size()) : sizeof(ULONG_PTR);
    case LB_SETITEMDATA:
        if (!validIndex(lb, wParam)) return LB_ERR;
        lb->items[wParam].data = static_cast<ULONG_PTR>(lParam);
        return TRUE;
    case LB_GETITEMDATA:
        if (!validIndex(lb, wParam)) return LB_ERR;
        return static_cast<LRESULT>(lb->items[wParam].data);
    case LB_FINDSTRING:
        return findString(lb, wParam, lParam, false);
    case LB_FINDSTRINGEXACT:
        return findString(lb, wParam, lParam, true);
    case LB_SELECTSTRING: {
        LRESULT found = findString(lb, wParam, lParam, false);
        if (found == LB_ERR) return LB_ERR;
        int index = static_cast<int>(found);
        if (lb->multi()) {
            lb->items[static_cast<size_t>(index)].selected = true;
            lb->caret = index;
            redraw(lb);
        } else {
            selectSingle(lb, index);
        }
        ensureVisible(lb, index);
        return found;
    }
    case LB_SETCURSEL: {
        if (lb->multi()) return LB_ERR;
        INT_PTR index = static_cast<INT_PTR>(wParam);
        if (index == -1) {
            selectSingle(lb, -1);
            return LB_ERR; // documented: -1 answers LB_ERR although it clears the selection
        }
        if (!validIndex(lb, wParam) || (lb->style & LBS_NOSEL)) return LB_ERR;
        selectSingle(lb, static_cast<int>(index));
        ensureVisible(lb, static_cast<int>(index));
        return index;
    }
    case LB_GETCURSEL:
        if (!lb->multi()) return lb->sel;
        for (const Item& it : lb->items)
            if (it.selected) return lb->caret;
        return 0;
    case LB_GETSEL:
        if (!validIndex(lb, wParam)) return LB_ERR;
        return lb->multi() ? (lb->items[wParam].selected ? 1 : 0)
                           : (static_cast<int>(wParam) == lb->sel ? 1 : 0);
    case LB_SETSEL: {
        if (!lb->multi()) return LB_ERR;
        INT_PTR index = static_cast<INT_PTR>(lParam);
        if (index == -1) {
            for (Item& it : lb->items)
                it.selected = wParam != 0;
        } else {
            if (index < 0 || index >= n) return LB_ERR;
            lb->items[static_cast<size_t>(index)].selected = wParam != 0;
            lb->caret = static_cast<int>(index);
        }
        redraw(lb);
        return 0;
    }
    case LB_GETSELCOUNT:
        if (!lb->multi()) return LB_ERR;
        return std::count_if(lb->items.begin(), lb->items.end(), [](const Item& it) { return it.selected; });
    case LB_GETSELITEMS: {
        if (!lb->multi() || !lParam) return LB_ERR;
        auto* out = reinterpret_cast<int*>(lParam);
        int copied = 0;
        for (int i = 0; i < n && static_cast<WPARAM>(copied) < wParam; ++i)
            if (lb->items[static_cast<size_t>(i)].selected) out[copied++] = i;
        return copied;
    }
    case LB_SELITEMRANGE:
        return selItemRange(lb, wParam != 0, LOWORD(lParam), HIWORD(lParam));
    case LB_SELITEMRANGEEX: {
        int first = static_cast<int>(static_cast<INT_PTR>(wParam)), last = static_cast<int>(lParam);
        // a reversed range removes the selection
        return first <= last ? selItemRange(lb, true, first, last) : selItemRange(lb, false, last, first);
    }
    case LB_SETANCHORINDEX:
        if (!validIndex(lb, wParam)) return LB_ERR;
        lb->anchor = static_cast<int>(wParam);
        return 0;
    case LB_GETANCHORINDEX:
        return lb->anchor;
    case LB_SETCARETINDEX:
        if (!validIndex(lb, wParam)) return LB_ERR;
        lb->caret = static_cast<int>(wParam);
        ensureVisible(lb, lb->caret);
        redraw(lb);
        return 0;
    case LB_GETCARETINDEX:
        return lb->multi() || lb->sel < 0 ? lb->caret : lb->sel;
    case LB_GETTOPINDEX:
        return lb->top;
    case LB_SETTOPINDEX:
        if (!validIndex(lb, wParam)) return LB_ERR;
        setTop(lb, static_cast<int>(wParam));
        return 0;
    case LB_GETITEMHEIGHT:
        return lb->itemHeight;
    case LB_SETITEMHEIGHT: {
        int height = LOWORD(lParam);
        if (height <= 0 || height > 255) return LB_ERR;
        lb->itemHeight = height;
        setTop(lb, lb->top);
        redraw(lb);
        return 0;
    }
    case LB_GETITEMRECT:
        return itemRect(lb, wParam, lParam);
    case LB_ITEMFROMPOINT:
        return itemFromPoint(lb, lParam);
    case LB_GETHORIZONTALEXTENT:
        return lb->horizontalExtent;
    case LB_SETHORIZONTALEXTENT:
        lb->horizontalExtent = static_cast<int>(wParam);
        if (lb->style & WS_HSCROLL) {
            SCROLLINFO si{};
            si.cbSize = sizeof si;
            si.fMask = SIF_RANGE | SIF_PAGE;
            si.nMax = std::max(lb->horizontalExtent - 1, 0);
            si.nPage = static_cast<UINT>(clientWidth(self));
            SetScrollInfo(self, SB_HORZ, &si, TRUE);
        }
        return 0;
    case LB_SETCOLUMNWIDTH:
        lb->columnWidth = static_cast<int>(wParam);
        return 0;
    case LB_SETTABSTOPS:
        return (lb->style & LBS_USETABSTOPS) ? TRUE : FALSE;
    case LB_INITSTORAGE:
        try {
            lb->items.reserve(lb->items.size() + wParam);
        } catch (const std::exception&) {
            return LB_ERRSPACE;
        }
        return static_cast<LRESULT>(lb->items.capacity());
    case LB_SETCOUNT:
        return LB_ERR; // only for LBS_NODATA, which is not supported
    case LB_DIR:
    case LB_ADDFILE:
        return LB_ERR; // no file system listing
    default:
        return DefWindowProcA(self, msg, wParam, lParam);
    }
}

} // namespace

LRESULT CALLBACK listBoxProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* lb = new ListBox;
        lb->self = hwnd;
        setControlState(hwnd, lb);
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    ListBox* lb = state(hwnd);
    if (!lb) return DefWindowProcA(hwnd, msg, wParam, lParam);
    if (msg >= LB_ADDSTRING && msg <= LB_ITEMFROMPOINT) return listMessage(lb, msg, wParam, lParam);
    switch (msg) {
    case WM_CREATE:
        return onCreate(lb, reinterpret_cast<const CREATESTRUCTA*>(lParam));
    case WM_NCDESTROY:
        setControlState<ListBox>(hwnd, nullptr);
        delete lb;
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_WINDOWPOSCHANGING:
        snapHeight(lb, reinterpret_cast<WINDOWPOS*>(lParam));
        return 0;
    case WM_SIZE:
        setTop(lb, lb->top);
        redraw(lb);
        return 0;
    case WM_SETFONT:
        lb->font = reinterpret_cast<HFONT>(wParam);
        lb->itemHeight = fontHeight(hwnd, lb->font);
        applyIntegralHeight(lb);
        setTop(lb, lb->top);
        if (LOWORD(lParam)) redraw(lb);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(lb->font);
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETFOCUS:
        lb->focused = true;
        redraw(lb);
        notify(lb, LBN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        lb->focused = false;
        if (lb->tracking && !lb->dropDown) {
            lb->tracking = false;
            if (GetCapture() == hwnd) ReleaseCapture();
            if (!IsWindow(hwnd) || state(hwnd) != lb) return 0;
        }
        redraw(lb);
        notify(lb, LBN_KILLFOCUS);
        return 0;
    case WM_KEYDOWN:
        return keyDown(lb, static_cast<UINT>(wParam));
    case WM_CHAR:
        return charTyped(lb, wParam);
    case WM_LBUTTONDOWN:
        buttonDown(lb, wParam, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_LBUTTONDBLCLK:
        if (lb->comboList) {
            buttonDown(lb, wParam, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            return 0;
        }
        notify(lb, LBN_DBLCLK);
        return 0;
    case WM_MOUSEMOVE:
        mouseMove(lb, wParam, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_LBUTTONUP:
        buttonUp(lb, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) == hwnd) return 0;
        lb->tracking = false;
        // the open list of a combo box that loses the mouse closes
        if (lb->dropDown && IsWindowVisible(hwnd)) notify(lb, LBN_SELCANCEL);
        return 0;
    case WM_CANCELMODE:
        lb->tracking = false;
        if (GetCapture() == hwnd) ReleaseCapture();
        return 0;
    case WM_MOUSEACTIVATE:
        if (lb->dropDown) return MA_NOACTIVATE; // the focus stays in the combo box
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_VSCROLL:
        vscroll(lb, LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_MOUSEWHEEL:
        wheel(lb, GET_WHEEL_DELTA_WPARAM(wParam));
        return 0;
    case WM_ERASEBKGND:
        return 1; // WM_PAINT fills the background with the parent's brush
    case WM_PAINT:
        paint(lb);
        return 0;
    case WM_ENABLE:
        redraw(lb);
        return 0;
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

} // namespace w32

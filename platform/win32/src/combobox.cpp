// The COMBOBOX control: a selection field (an edit control for CBS_SIMPLE and CBS_DROPDOWN, the
// selected item's text for CBS_DROPDOWNLIST) over a "ComboLBox" list that holds the items. The
// list of a drop-down combo box is a pop-up owned by the combo box's top-level window, as on
// Windows, so that it can reach outside the dialog. Built on the public API only.
#include "controls.h"

#include <windowsx.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace w32 {

namespace {

constexpr int kListId = 1000; // the control IDs Windows gives the parts of a combo box
constexpr int kEditId = 1001;
constexpr int kBorder = 3; // sunken edge and padding around the selection field

struct Combo {
    HWND self = nullptr;
    HWND parent = nullptr;
    HWND list = nullptr;
    HWND edit = nullptr; // CBS_SIMPLE and CBS_DROPDOWN only
    WNDPROC editProc = nullptr;
    DWORD style = 0;
    DWORD kind = CBS_DROPDOWNLIST;
    bool dropped = false;
    bool focused = false;
    bool extendedUI = false;
    bool resizing = false;    // the combo box sets its own height
    bool swallowChar = false; // the WM_CHAR of an Enter or Escape that closed the list
    int suppressEdit = 0;     // edit notifications caused by the combo box itself
    int committed = -1;       // the selection the user or program settled on
    int droppedHeight = 0;    // window height with the list open
    int fieldHeight = 18;
    int droppedWidth = 0;
    int wheel = 0;
    HFONT font = nullptr;

    int closedHeight() const { return fieldHeight + 2 * kBorder; }
};

Combo* state(HWND hwnd) {
    return controlState<Combo>(hwnd);
}

bool alive(HWND hwnd, const Combo* cb) {
    return IsWindow(hwnd) && state(hwnd) == cb;
}

LRESULT toList(const Combo* cb, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) {
    return cb->list ? SendMessageA(cb->list, msg, wParam, lParam) : LB_ERR;
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

std::string itemText(const Combo* cb, int index) {
    LRESULT len = index >= 0 ? toList(cb, LB_GETTEXTLEN, static_cast<WPARAM>(index)) : LB_ERR;
    if (len < 0) return std::string();
    std::string text(static_cast<size_t>(len) + 1, '\0');
    LRESULT got = toList(cb, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return text;
}

std::string windowText(HWND hwnd) {
    int len = GetWindowTextLengthA(hwnd);
    std::string text(static_cast<size_t>(len) + 1, '\0');
    int got = GetWindowTextA(hwnd, text.data(), len + 1);
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return text;
}

// Sends a notification to the parent; returns false when the combo box did not survive it.
bool notify(Combo* cb, WORD code) {
    HWND self = cb->self;
    if (cb->parent)
        SendMessageA(cb->parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(self), code),
                     reinterpret_cast<LPARAM>(self));
    return alive(self, cb);
}

void setEditText(Combo* cb, const std::string& text) {
    if (!cb->edit) return;
    ++cb->suppressEdit;
    SetWindowTextA(cb->edit, text.c_str());
    --cb->suppressEdit;
    if (cb->focused) SendMessageA(cb->edit, EM_SETSEL, 0, -1);
}

// The selection field shows the item at index.
void showInField(Combo* cb, int index) {
    if (cb->edit) setEditText(cb, itemText(cb, index));
    InvalidateRect(cb->self, nullptr, TRUE);
}

void layout(Combo* cb) {
    RECT c{};
    GetClientRect(cb->self, &c);
    int button = cb->kind == CBS_SIMPLE ? 0 : GetSystemMetrics(SM_CXVSCROLL);
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    if (cb->kind == CBS_SIMPLE) {
        if (cb->edit) SetWindowPos(cb->edit, nullptr, 0, 0, c.right, cb->closedHeight(), flags);
        if (cb->list)
            SetWindowPos(cb->list, nullptr, 0, cb->closedHeight(), c.right,
                         std::max<int>(0, c.bottom - cb->closedHeight()), flags);
    } else if (cb->edit) {
        SetWindowPos(cb->edit, nullptr, kBorder, kBorder, std::max(0, c.right - button - 2 * kBorder),
                     cb->fieldHeight, flags);
    }
}

// Drop-down styles keep the closed height; the height asked for is that of the open combo box.
void setClosedHeight(Combo* cb) {
    if (cb->kind == CBS_SIMPLE) return;
    RECT r{};
    GetWindowRect(cb->self, &r);
    cb->resizing = true;
    SetWindowPos(cb->self, nullptr, 0, 0, r.right - r.left, cb->closedHeight(),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    cb->resizing = false;
}

int visibleItems(const Combo* cb) {
    int itemHeight = std::max<int>(1, static_cast<int>(toList(cb, LB_GETITEMHEIGHT)));
    return std::max(1, (cb->droppedHeight - cb->closedHeight() - 2) / itemHeight);
}

// ---- the drop-down list ----

void placeList(Combo* cb) {
    RECT r{};
    GetWindowRect(cb->self, &r);
    int width = std::max<int>(r.right - r.left, cb->droppedWidth);
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongA(cb->list, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongA(cb->list, GWL_EXSTYLE)));
    int border = frame.bottom - frame.top;
    int itemHeight = static_cast<int>(toList(cb, LB_GETITEMHEIGHT));
    int count = static_cast<int>(toList(cb, LB_GETCOUNT));
    int height = std::max(cb->droppedHeight - cb->closedHeight(), itemHeight + border);
    // a short list shrinks to its items
    height = std::min(height, std::max(count, 1) * itemHeight + border);
    int y = r.bottom;
    if (y + height > GetSystemMetrics(SM_CYSCREEN) && r.top - height >= 0) y = r.top - height;
    SetWindowPos(cb->list, HWND_TOPMOST, r.left, y, width, height, SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void dropDown(Combo* cb) {
    if (cb->kind == CBS_SIMPLE || cb->dropped || !cb->list) return;
    HWND self = cb->self;
    // the parent may fill the list now, before it is measured
    if (!notify(cb, CBN_DROPDOWN) || cb->dropped) return;
    cb->committed = static_cast<int>(toList(cb, LB_GETCURSEL));
    if (cb->edit) {
        // the list highlights the item that the typed text starts, without choosing it yet
        std::string text = windowText(cb->edit);
        LRESULT match = LB_ERR;
        if (!text.empty()) {
            match = toList(cb, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                           reinterpret_cast<LPARAM>(text.c_str()));
            if (match == LB_ERR)
                match = toList(cb, LB_FINDSTRING, static_cast<WPARAM>(-1),
                               reinterpret_cast<LPARAM>(text.c_str()));
        }
        toList(cb, LB_SETCURSEL, static_cast<WPARAM>(match));
    }
    placeList(cb);
    if (!alive(self, cb)) return;
    cb->dropped = true;
    LRESULT shown = toList(cb, LB_GETCURSEL);
    if (shown >= 0)
        toList(cb, LB_SETCURSEL, static_cast<WPARAM>(shown)); // into view at the new size
    else
        toList(cb, LB_SETTOPINDEX, 0);
    SetCapture(cb->list);
    InvalidateRect(self, nullptr, TRUE);
}

// Closes the list, accepting its highlighted item or going back to the selection before.
// Windows' order: CBN_SELENDOK or CBN_SELENDCANCEL, CBN_CLOSEUP, then CBN_SELCHANGE for a change
// chosen in the open list.
bool closeUp(Combo* cb, bool accept) {
    if (!cb->dropped) return true;
    HWND self = cb->self;
    int chosen = static_cast<int>(toList(cb, LB_GETCURSEL));
    if (!accept && chosen != cb->committed) {
        toList(cb, LB_SETCURSEL, static_cast<WPARAM>(static_cast<INT_PTR>(cb->committed)));
        chosen = cb->committed;
    }
    bool changed = chosen != cb->committed;
    cb->dropped = false;
    cb->committed = chosen;
    SetWindowPos(cb->list, nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (!alive(self, cb)) return false;
    if (GetCapture() == cb->list) ReleaseCapture();
    if (changed) showInField(cb, chosen);
    InvalidateRect(self, nullptr, TRUE);
    if (!notify(cb, accept ? CBN_SELENDOK : CBN_SELENDCANCEL)) return false;
    if (!notify(cb, CBN_CLOSEUP)) return false;
    if (changed && !notify(cb, CBN_SELCHANGE)) return false;
    return true;
}

void toggle(Combo* cb) {
    if (cb->dropped)
        closeUp(cb, true);
    else
        dropDown(cb);
}

// ---- selection by keyboard, wheel and typing ----

// A user's move of the selection: CBN_SELCHANGE while open, CBN_SELENDOK and CBN_SELCHANGE when
// closed.
void moveTo(Combo* cb, int target) {
    int count = static_cast<int>(toList(cb, LB_GETCOUNT));
    if (count <= 0) return;
    target = std::max(0, std::min(target, count - 1));
    if (target == static_cast<int>(toList(cb, LB_GETCURSEL))) return;
    toList(cb, LB_SETCURSEL, static_cast<WPARAM>(target));
    cb->committed = target;
    showInField(cb, target);
    if (!cb->dropped && !notify(cb, CBN_SELENDOK)) return;
    notify(cb, CBN_SELCHANGE);
}

void navigate(Combo* cb, UINT vk) {
    int count = static_cast<int>(toList(cb, LB_GETCOUNT));
    if (count <= 0) return;
    int cur = static_cast<int>(toList(cb, LB_GETCURSEL));
    int step = std::max(1, visibleItems(cb) - 1);
    int target;
    if (cur < 0) {
        target = vk == VK_END ? count - 1 : 0; // with no selection a move starts at the first item
    } else {
        switch (vk) {
        case VK_UP:
        case VK_LEFT:
            target = cur - 1;
            break;
        case VK_DOWN:
        case VK_RIGHT:
            target = cur + 1;
            break;
        case VK_PRIOR:
            target = cur - step;
            break;
        case VK_NEXT:
            target = cur + step;
            break;
        case VK_HOME:
            target = 0;
            break;
        case VK_END:
            target = count - 1;
            break;
        default:
            return;
        }
    }
    moveTo(cb, target);
}

// Keys of the combo box, from itself or from its edit control; true when handled.
bool handleKey(Combo* cb, UINT vk, bool sysKey) {
    if (sysKey) {
        // Alt+Down and Alt+Up open and close the list
        if ((vk == VK_DOWN || vk == VK_UP) && cb->kind != CBS_SIMPLE) {
            toggle(cb);
            return true;
        }
        return false;
    }
    switch (vk) {
    case VK_F4:
        if (cb->kind == CBS_SIMPLE || cb->extendedUI) return false;
        toggle(cb);
        return true;
    case VK_RETURN:
    case VK_ESCAPE:
        if (!cb->dropped) return false;
        cb->swallowChar = true;
        closeUp(cb, vk == VK_RETURN);
        return true;
    case VK_DOWN:
        if (cb->kind != CBS_SIMPLE && cb->extendedUI && !cb->dropped) {
            dropDown(cb);
            return true;
        }
        navigate(cb, vk);
        return true;
    case VK_UP:
    case VK_PRIOR:
    case VK_NEXT:
        navigate(cb, vk);
        return true;
    case VK_HOME:
    case VK_END:
    case VK_LEFT:
    case VK_RIGHT:
        if (cb->kind != CBS_DROPDOWNLIST) return false; // they move the caret of the edit control
        navigate(cb, vk);
        return true;
    default:
        return false;
    }
}

void typed(Combo* cb, WPARAM ch) {
    if (cb->kind != CBS_DROPDOWNLIST || ch < 0x20 || ch == 0x7F) return;
    char prefix[2] = {static_cast<char>(ch), 0};
    LRESULT cur = toList(cb, LB_GETCURSEL);
    LRESULT found = toList(cb, LB_FINDSTRING, static_cast<WPARAM>(cur), reinterpret_cast<LPARAM>(prefix));
    if (found != LB_ERR) moveTo(cb, static_cast<int>(found));
}

void wheel(Combo* cb, WPARAM wParam, LPARAM lParam) {
    if (cb->dropped || cb->kind == CBS_SIMPLE) {
        toList(cb, WM_MOUSEWHEEL, wParam, lParam);
        return;
    }
    HWND self = cb->self;
    int delta = GET_WHEEL_DELTA_WPARAM(wParam);
    if ((cb->wheel > 0 && delta < 0) || (cb->wheel < 0 && delta > 0)) cb->wheel = 0;
    cb->wheel += delta;
    // a closed combo box steps through its items, one a notch
    while (alive(self, cb) && (cb->wheel >= WHEEL_DELTA || cb->wheel <= -WHEEL_DELTA)) {
        bool up = cb->wheel > 0;
        cb->wheel += up ? -WHEEL_DELTA : WHEEL_DELTA;
        navigate(cb, up ? VK_UP : VK_DOWN);
    }
}

// ---- focus ----

void focusIn(Combo* cb) {
    if (cb->focused) return;
    cb->focused = true;
    if (cb->edit) SendMessageA(cb->edit, EM_SETSEL, 0, -1);
    InvalidateRect(cb->self, nullptr, TRUE);
    notify(cb, CBN_SETFOCUS);
}

void focusOut(Combo* cb) {
    HWND self = cb->self;
    if (cb->dropped && !closeUp(cb, false)) return;
    if (!alive(self, cb) || !cb->focused) return;
    cb->focused = false;
    InvalidateRect(self, nullptr, TRUE);
    notify(cb, CBN_KILLFOCUS);
}

// ---- the edit control of CBS_SIMPLE and CBS_DROPDOWN, subclassed for the keys of the combo box ----

LRESULT CALLBACK editSubclass(HWND edit, UINT msg, WPARAM wParam, LPARAM lParam) {
    HWND comboWnd = GetParent(edit);
    Combo* cb = comboWnd ? state(comboWnd) : nullptr;
    WNDPROC original = cb && cb->edit == edit ? cb->editProc : nullptr;
    if (!original) {
        WNDCLASSA wc{};
        original = GetClassInfoA(nullptr, "Edit", &wc) ? wc.lpfnWndProc : DefWindowProcA;
        return CallWindowProcA(original, edit, msg, wParam, lParam);
    }
    switch (msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (handleKey(cb, static_cast<UINT>(wParam), msg == WM_SYSKEYDOWN)) return 0;
        break;
    case WM_CHAR:
        if (cb->swallowChar && (wParam == '\r' || wParam == 27)) {
            cb->swallowChar = false;
            return 0;
        }
        break;
    case WM_GETDLGCODE: {
        LRESULT code =
            CallWindowProcA(original, edit, msg, wParam, lParam) | DLGC_WANTARROWS | DLGC_WANTCHARS;
        const MSG* m = reinterpret_cast<const MSG*>(lParam);
        if (alive(comboWnd, cb) && cb->dropped && m && m->message == WM_KEYDOWN &&
            (m->wParam == VK_RETURN || m->wParam == VK_ESCAPE))
            code |= DLGC_WANTMESSAGE;
        return code;
    }
    case WM_SETFOCUS: {
        LRESULT r = CallWindowProcA(original, edit, msg, wParam, lParam);
        if (alive(comboWnd, cb)) focusIn(cb);
        return r;
    }
    case WM_KILLFOCUS: {
        LRESULT r = CallWindowProcA(original, edit, msg, wParam, lParam);
        HWND to = reinterpret_cast<HWND>(wParam);
        if (alive(comboWnd, cb) && to != comboWnd && !IsChild(comboWnd, to)) focusOut(cb);
        return r;
    }
    case WM_MOUSEWHEEL:
        return SendMessageA(comboWnd, msg, wParam, lParam);
    default:
        break;
    }
    return CallWindowProcA(original, edit, msg, wParam, lParam);
}

// ---- creation ----

LRESULT onCreate(Combo* cb, const CREATESTRUCTA* cs) {
    HWND self = cb->self;
    cb->style = static_cast<DWORD>(cs->style);
    cb->kind = cb->style & 3;
    if (cb->kind == 0) cb->kind = CBS_SIMPLE;
    cb->parent = cs->hwndParent;
    cb->fieldHeight = fontHeight(self, nullptr) + 2;
    cb->droppedHeight = cs->cy;
    auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(self, GWLP_HINSTANCE));

    DWORD lbStyle = LBS_COMBOBOX | LBS_NOTIFY | WS_BORDER | (cb->style & WS_VSCROLL);
    if (cb->style & CBS_SORT) lbStyle |= LBS_SORT;
    if (cb->style & CBS_NOINTEGRALHEIGHT) lbStyle |= LBS_NOINTEGRALHEIGHT;
    if (cb->style & CBS_DISABLENOSCROLL) lbStyle |= LBS_DISABLENOSCROLL;
    if (cb->style & CBS_OWNERDRAWFIXED) lbStyle |= LBS_OWNERDRAWFIXED;
    if (cb->style & CBS_OWNERDRAWVARIABLE) lbStyle |= LBS_OWNERDRAWVARIABLE;
    if (cb->style & CBS_HASSTRINGS) lbStyle |= LBS_HASSTRINGS;
    if (cb->kind == CBS_SIMPLE) {
        cb->list = CreateWindowExA(0, "ComboLBox", nullptr, WS_CHILD | WS_VISIBLE | lbStyle, 0,
                                   cb->closedHeight(), cs->cx, std::max(0, cs->cy - cb->closedHeight()), self,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(kListId)), instance, self);
    } else {
        // a pop-up owned by the top-level window, so that it may extend past the dialog
        cb->list =
            CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, "ComboLBox", nullptr, WS_POPUP | lbStyle, 0, 0,
                            cs->cx, std::max(0, cs->cy - cb->closedHeight()), self, nullptr, instance, self);
    }
    if (!alive(self, cb) || !cb->list) return -1;

    if (cb->kind != CBS_DROPDOWNLIST) {
        DWORD editStyle = WS_CHILD | WS_VISIBLE;
        if (cb->style & CBS_AUTOHSCROLL) editStyle |= ES_AUTOHSCROLL;
        if (cb->style & CBS_OEMCONVERT) editStyle |= ES_OEMCONVERT;
        if (cb->style & CBS_UPPERCASE) editStyle |= ES_UPPERCASE;
        if (cb->style & CBS_LOWERCASE) editStyle |= ES_LOWERCASE;
        const char* text = cs->lpszName && !IS_INTRESOURCE(cs->lpszName) ? cs->lpszName : "";
        cb->edit = CreateWindowExA(0, "Edit", text, editStyle, 0, 0, 0, 0, self,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditId)), instance, nullptr);
        if (!alive(self, cb) || !cb->edit) return -1;
        cb->editProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(cb->edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(editSubclass)));
    }
    setClosedHeight(cb);
    layout(cb);
    return 0;
}

// ---- painting ----

void paint(Combo* cb) {
    HWND self = cb->self;
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(self, &ps);
    if (!dc) return;
    RECT c{};
    GetClientRect(self, &c);
    if (cb->kind != CBS_SIMPLE) {
        RECT button{c.right - GetSystemMetrics(SM_CXVSCROLL), c.top, c.right, c.bottom};
        FillRect(dc, &button, GetSysColorBrush(COLOR_3DFACE));
    }
    if (cb->kind == CBS_DROPDOWNLIST) {
        // the selection field takes its colours as an edit control does, or a static when disabled
        UINT colorMsg = IsWindowEnabled(self) ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC;
        HBRUSH brush = nullptr;
        if (cb->parent)
            brush = reinterpret_cast<HBRUSH>(SendMessageA(cb->parent, colorMsg, reinterpret_cast<WPARAM>(dc),
                                                          reinterpret_cast<LPARAM>(self)));
        if (!alive(self, cb)) {
            EndPaint(self, &ps);
            return;
        }
        if (!brush) brush = GetSysColorBrush(COLOR_WINDOW);
        RECT field{kBorder, kBorder, c.right - GetSystemMetrics(SM_CXVSCROLL), kBorder + cb->fieldHeight};
        bool highlight = cb->focused && !cb->dropped;
        FillRect(dc, &field, highlight ? GetSysColorBrush(COLOR_HIGHLIGHT) : brush);
        if (highlight) {
            SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
            SetBkColor(dc, GetSysColor(COLOR_HIGHLIGHT));
        }
        HGDIOBJ oldFont = cb->font ? SelectObject(dc, cb->font) : nullptr;
        std::string text = itemText(cb, static_cast<int>(toList(cb, LB_GETCURSEL)));
        TextOutA(dc, field.left + 1, field.top + 1, text.c_str(), static_cast<int>(text.size()));
        if (highlight) DrawFocusRect(dc, &field);
        if (oldFont) SelectObject(dc, oldFont);
    }
    EndPaint(self, &ps);
}

// ---- messages ----

LRESULT getText(const Combo* cb, WPARAM size, LPARAM buffer) {
    if (cb->edit) return SendMessageA(cb->edit, WM_GETTEXT, size, buffer);
    if (!size || !buffer) return 0;
    std::string text = itemText(cb, static_cast<int>(toList(cb, LB_GETCURSEL)));
    size_t n = std::min(text.size(), static_cast<size_t>(size) - 1);
    std::memcpy(reinterpret_cast<char*>(buffer), text.data(), n);
    reinterpret_cast<char*>(buffer)[n] = 0;
    return static_cast<LRESULT>(n);
}

LRESULT setCurSel(Combo* cb, WPARAM wParam) {
    INT_PTR index = static_cast<INT_PTR>(wParam);
    if (index == -1) {
        toList(cb, LB_SETCURSEL, wParam);
        cb->committed = -1;
        showInField(cb, -1);
        return CB_ERR; // documented: -1 clears the selection and answers CB_ERR
    }
    // out of range answers CB_ERR; Windows leaves the selection as it was
    if (index < 0 || index >= toList(cb, LB_GETCOUNT)) return CB_ERR;
    toList(cb, LB_SETCURSEL, wParam);
    cb->committed = static_cast<int>(index);
    showInField(cb, cb->committed);
    return index;
}

void itemInserted(Combo* cb, LRESULT index) {
    if (index >= 0 && index <= cb->committed) ++cb->committed;
}

LRESULT comboMessage(Combo* cb, UINT msg, WPARAM wParam, LPARAM lParam) {
    HWND self = cb->self;
    switch (msg) {
    case CB_ADDSTRING: {
        LRESULT r = toList(cb, LB_ADDSTRING, 0, lParam);
        itemInserted(cb, r);
        return r;
    }
    case CB_INSERTSTRING: {
        LRESULT r = toList(cb, LB_INSERTSTRING, wParam, lParam);
        itemInserted(cb, r);
        return r;
    }
    case CB_DELETESTRING: {
        LRESULT r = toList(cb, LB_DELETESTRING, wParam);
        if (r == LB_ERR) return CB_ERR;
        int index = static_cast<int>(wParam);
        if (index == cb->committed) {
            cb->committed = -1;
            InvalidateRect(self, nullptr, TRUE);
        } else if (index < cb->committed) {
            --cb->committed;
        }
        return r;
    }
    case CB_RESETCONTENT:
        toList(cb, LB_RESETCONTENT);
        cb->committed = -1;
        showInField(cb, -1); // the edit control is emptied too
        return CB_OKAY;
    case CB_GETCOUNT:
        return toList(cb, LB_GETCOUNT);
    case CB_GETCURSEL:
        return toList(cb, LB_GETCURSEL);
    case CB_SETCURSEL:
        return setCurSel(cb, wParam);
    case CB_GETLBTEXT:
        return toList(cb, LB_GETTEXT, wParam, lParam);
    case CB_GETLBTEXTLEN:
        return toList(cb, LB_GETTEXTLEN, wParam);
    case CB_SETITEMDATA:
        return toList(cb, LB_SETITEMDATA, wParam, lParam);
    case CB_GETITEMDATA:
        return toList(cb, LB_GETITEMDATA, wParam);
    case CB_FINDSTRING:
        return toList(cb, LB_FINDSTRING, wParam, lParam);
    case CB_FINDSTRINGEXACT:
        return toList(cb, LB_FINDSTRINGEXACT, wParam, lParam);
    case CB_SELECTSTRING: {
        LRESULT found = toList(cb, LB_FINDSTRING, wParam, lParam);
        if (found == LB_ERR) return CB_ERR; // the selection stays
        return setCurSel(cb, static_cast<WPARAM>(found));
    }
    case CB_GETTOPINDEX:
        return toList(cb, LB_GETTOPINDEX);
    case CB_SETTOPINDEX:
        return toList(cb, LB_SETTOPINDEX, wParam);
    case CB_SHOWDROPDOWN:
        if (wParam)
            dropDown(cb);
        else
            closeUp(cb, false);
        return TRUE;
    case CB_GETDROPPEDSTATE:
        return cb->dropped ? TRUE : FALSE;
    case CB_GETDROPPEDCONTROLRECT: {
        auto* rect = reinterpret_cast<RECT*>(lParam);
        if (!rect) return CB_ERR;
        RECT r{};
        GetWindowRect(self, &r);
        *rect = RECT{r.left, r.top, r.left + std::max<int>(r.right - r.left, cb->droppedWidth),
                     r.top + std::max<int>(r.bottom - r.top, cb->droppedHeight)};
        return TRUE;
    }
    case CB_SETITEMHEIGHT: {
        INT_PTR index = static_cast<INT_PTR>(wParam);
        if (lParam <= 0 || lParam > 255 || index < -1) return CB_ERR;
        if (index >= 0) return toList(cb, LB_SETITEMHEIGHT, wParam, MAKELPARAM(lParam, 0));
        cb->fieldHeight = static_cast<int>(lParam);
        setClosedHeight(cb);
        layout(cb);
        InvalidateRect(self, nullptr, TRUE);
        return CB_OKAY;
    }
    case CB_GETITEMHEIGHT: {
        INT_PTR index = static_cast<INT_PTR>(wParam);
        if (index == -1) return cb->fieldHeight;
        if (index < -1) return CB_ERR;
        return toList(cb, LB_GETITEMHEIGHT, wParam);
    }
    case CB_SETEXTENDEDUI:
        if (cb->kind == CBS_SIMPLE) return CB_ERR;
        cb->extendedUI = wParam != 0;
        return CB_OKAY;
    case CB_GETEXTENDEDUI:
        return cb->extendedUI ? TRUE : FALSE;
    case CB_GETDROPPEDWIDTH:
    case CB_SETDROPPEDWIDTH: {
        if (msg == CB_SETDROPPEDWIDTH) {
            if (static_cast<INT_PTR>(wParam) < 0) return CB_ERR;
            cb->droppedWidth = static_cast<int>(wParam);
        }
        RECT r{};
        GetWindowRect(self, &r);
        return std::max<int>(cb->droppedWidth, r.right - r.left);
    }
    case CB_LIMITTEXT:
        if (cb->edit) SendMessageA(cb->edit, EM_LIMITTEXT, wParam, 0);
        return TRUE;
    case CB_GETEDITSEL: {
        if (!cb->edit) return CB_ERR;
        DWORD start = 0, end = 0;
        SendMessageA(cb->edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        if (wParam) *reinterpret_cast<DWORD*>(wParam) = start;
        if (lParam) *reinterpret_cast<DWORD*>(lParam) = end;
        return MAKELRESULT(start, end);
    }
    case CB_SETEDITSEL:
        if (!cb->edit) return CB_ERR;
        SendMessageA(cb->edit, EM_SETSEL, static_cast<WPARAM>(static_cast<SHORT>(LOWORD(lParam))),
                     static_cast<SHORT>(HIWORD(lParam)));
        return TRUE;
    case CB_DIR:
        return CB_ERR; // no file system listing
    default:
        return DefWindowProcA(self, msg, wParam, lParam);
    }
}

// Notifications of the list and the edit control.
LRESULT childCommand(Combo* cb, WPARAM wParam, LPARAM lParam) {
    auto from = reinterpret_cast<HWND>(lParam);
    WORD code = HIWORD(wParam);
    if (from && from == cb->list) {
        switch (code) {
        case LBN_SELCHANGE:
            if (cb->dropped) {
                closeUp(cb, true); // an item chosen with the mouse
            } else if (cb->kind == CBS_SIMPLE) {
                int index = static_cast<int>(toList(cb, LB_GETCURSEL));
                if (index == cb->committed) break;
                cb->committed = index;
                showInField(cb, index);
                if (notify(cb, CBN_SELENDOK)) notify(cb, CBN_SELCHANGE);
            }
            break;
        case LBN_SELCANCEL:
            if (cb->dropped) closeUp(cb, false);
            break;
        case LBN_DBLCLK:
            if (cb->kind == CBS_SIMPLE) notify(cb, CBN_DBLCLK);
            break;
        case static_cast<WORD>(LBN_ERRSPACE):
            notify(cb, static_cast<WORD>(CBN_ERRSPACE));
            break;
        default:
            break;
        }
        return 0;
    }
    if (from && from == cb->edit && !cb->suppressEdit) {
        switch (code) {
        case EN_SETFOCUS:
            focusIn(cb);
            break;
        case EN_CHANGE: {
            // typed text: the open list shows the first match; a closed one loses its selection
            std::string text = windowText(cb->edit);
            LRESULT match = LB_ERR;
            if (cb->dropped && !text.empty())
                match = toList(cb, LB_FINDSTRING, static_cast<WPARAM>(-1),
                               reinterpret_cast<LPARAM>(text.c_str()));
            toList(cb, LB_SETCURSEL, static_cast<WPARAM>(match));
            if (!cb->dropped) cb->committed = -1;
            notify(cb, CBN_EDITCHANGE);
            break;
        }
        case EN_UPDATE:
            notify(cb, CBN_EDITUPDATE);
            break;
        case EN_ERRSPACE:
            notify(cb, static_cast<WORD>(CBN_ERRSPACE));
            break;
        default:
            break;
        }
    }
    return 0;
}

void buttonDown(Combo* cb, int x) {
    HWND self = cb->self;
    if (cb->kind == CBS_SIMPLE) {
        if (cb->edit) SetFocus(cb->edit);
        return;
    }
    RECT c{};
    GetClientRect(self, &c);
    bool onButton = x >= c.right - GetSystemMetrics(SM_CXVSCROLL);
    HWND focusTo = cb->edit ? cb->edit : self;
    if (GetFocus() != focusTo) {
        SetFocus(focusTo);
        if (!alive(self, cb)) return;
    }
    // a drop-down list opens on a click anywhere, a drop-down combo box on its button
    if (cb->kind == CBS_DROPDOWNLIST || onButton) toggle(cb);
}

} // namespace

LRESULT CALLBACK comboBoxProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* cb = new Combo;
        cb->self = hwnd;
        setControlState(hwnd, cb);
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    Combo* cb = state(hwnd);
    if (!cb) return DefWindowProcA(hwnd, msg, wParam, lParam);
    if (msg >= CB_GETEDITSEL && msg <= CB_SETDROPPEDWIDTH) return comboMessage(cb, msg, wParam, lParam);
    switch (msg) {
    case WM_CREATE:
        return onCreate(cb, reinterpret_cast<const CREATESTRUCTA*>(lParam));
    case CB_GETCOMBOBOXINFO: {
        auto* info = reinterpret_cast<COMBOBOXINFO*>(lParam);
        if (!info || info->cbSize != sizeof(COMBOBOXINFO)) return FALSE;
        RECT c{};
        GetClientRect(hwnd, &c);
        int button = cb->kind == CBS_SIMPLE ? 0 : GetSystemMetrics(SM_CXVSCROLL);
        info->rcItem = RECT{c.left + kBorder, c.top + kBorder, c.right - button - kBorder, c.bottom - kBorder};
        info->rcButton = button ? RECT{c.right - button, c.top, c.right, c.bottom} : RECT{};
        info->stateButton = button ? (cb->dropped ? STATE_SYSTEM_PRESSED : 0) : STATE_SYSTEM_INVISIBLE;
        info->hwndCombo = hwnd;
        info->hwndItem = cb->edit ? cb->edit : hwnd;
        info->hwndList = cb->list;
        return TRUE;
    }
    case WM_DESTROY:
        if (cb->list && IsWindow(cb->list) && cb->kind != CBS_SIMPLE) {
            HWND list = cb->list;
            cb->list = nullptr;
            cb->dropped = false;
            DestroyWindow(list);
        }
        return 0;
    case WM_NCDESTROY:
        setControlState<Combo>(hwnd, nullptr);
        delete cb;
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_WINDOWPOSCHANGING: {
        auto* wp = reinterpret_cast<WINDOWPOS*>(lParam);
        if (wp && !cb->resizing && cb->kind != CBS_SIMPLE && !(wp->flags & SWP_NOSIZE) &&
            wp->cy != cb->closedHeight()) {
            cb->droppedHeight = wp->cy;
            wp->cy = cb->closedHeight();
        }
        return 0;
    }
    case WM_SIZE:
        layout(cb);
        return 0;
    case WM_SETFONT:
        cb->font = reinterpret_cast<HFONT>(wParam);
        toList(cb, WM_SETFONT, wParam, FALSE);
        if (cb->edit) SendMessageA(cb->edit, WM_SETFONT, wParam, FALSE);
        cb->fieldHeight = fontHeight(hwnd, cb->font) + 2;
        setClosedHeight(cb);
        layout(cb);
        if (LOWORD(lParam)) InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(cb->font);
    case WM_SETTEXT: {
        if (!cb->edit) return CB_ERR; // no edit control to hold the text
        const char* text = lParam ? reinterpret_cast<const char*>(lParam) : "";
        setEditText(cb, text);
        LRESULT match =
            toList(cb, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text));
        toList(cb, LB_SETCURSEL, static_cast<WPARAM>(match));
        cb->committed = static_cast<int>(match == LB_ERR ? -1 : match);
        return TRUE;
    }
    case WM_GETTEXT:
        return getText(cb, wParam, lParam);
    case WM_GETTEXTLENGTH: {
        if (cb->edit) return GetWindowTextLengthA(cb->edit);
        LRESULT sel = toList(cb, LB_GETCURSEL);
        return sel >= 0 ? toList(cb, LB_GETTEXTLEN, static_cast<WPARAM>(sel)) : 0;
    }
    case WM_GETDLGCODE: {
        LRESULT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
        const MSG* m = reinterpret_cast<const MSG*>(lParam);
        // while the list is open Enter and Escape belong to it, not to the dialog
        if (cb->dropped && m && m->message == WM_KEYDOWN &&
            (m->wParam == VK_RETURN || m->wParam == VK_ESCAPE))
            code |= DLGC_WANTMESSAGE;
        return code;
    }
    case WM_SETFOCUS:
        if (cb->edit) {
            SetFocus(cb->edit);
            return 0;
        }
        focusIn(cb);
        return 0;
    case WM_KILLFOCUS:
        if (!cb->edit) focusOut(cb);
        return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (handleKey(cb, static_cast<UINT>(wParam), msg == WM_SYSKEYDOWN)) return 0;
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_CHAR:
        if (cb->swallowChar && (wParam == '\r' || wParam == 27)) {
            cb->swallowChar = false;
            return 0;
        }
        typed(cb, wParam);
        return 0;
    case WM_MOUSEWHEEL:
        wheel(cb, wParam, lParam);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        buttonDown(cb, GET_X_LPARAM(lParam));
        return 0;
    case WM_COMMAND:
        return childCommand(cb, wParam, lParam);
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        // the colours of the edit control and the list come from the combo box's parent
        if (cb->parent) return SendMessageA(cb->parent, msg, wParam, lParam);
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_CANCELMODE:
        if (cb->dropped) closeUp(cb, false);
        return 0;
    case WM_SHOWWINDOW:
        if (!wParam && cb->dropped) closeUp(cb, false); // a hidden combo box leaves no list behind
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_ENABLE:
        if (cb->edit) EnableWindow(cb->edit, static_cast<BOOL>(wParam));
        if (!wParam && cb->dropped) closeUp(cb, false);
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        paint(cb);
        return 0;
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

} // namespace w32

BOOL WINAPI GetComboBoxInfo(HWND hwndCombo, PCOMBOBOXINFO pcbi) {
    return static_cast<BOOL>(SendMessageA(hwndCombo, CB_GETCOMBOBOXINFO, 0, reinterpret_cast<LPARAM>(pcbi)));
}

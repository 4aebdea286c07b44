// The dialog manager: in-memory templates (DLGTEMPLATE and DLGTEMPLATEEX), dialog creation with
// dialog units, the modal loop, the default dialog procedure, keyboard navigation and helpers.
#include "core.h"
#include "controls.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>

namespace w32 {

namespace {

struct ItemTemplate {
    DWORD style = 0, exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    DWORD id = 0;
    std::string cls;
    std::string title;
    const void* data = nullptr;
};

struct DialogTemplate {
    DWORD style = 0, exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    std::string cls;
    std::string title;
    bool hasFont = false;
    WORD pointSize = 0, weight = FW_NORMAL;
    BYTE italic = 0, charset = DEFAULT_CHARSET;
    std::string face;
    std::vector<ItemTemplate> items;
};

class Reader {
public:
    explicit Reader(const void* p) : base_(static_cast<const BYTE*>(p)), p_(base_) {}
    WORD word() {
        WORD v;
        std::memcpy(&v, p_, 2);
        p_ += 2;
        return v;
    }
    DWORD dword() {
        DWORD v;
        std::memcpy(&v, p_, 4);
        p_ += 4;
        return v;
    }
    short shortValue() { return static_cast<short>(word()); }
    BYTE byte() { return *p_++; }
    // A string, an ordinal (returned as "#n" in *ordinal) or nothing.
    std::string sz(WORD* ordinal = nullptr) {
        WORD w = word();
        if (w == 0) return "";
        if (w == 0xFFFF) {
            WORD v = word();
            if (ordinal) *ordinal = v;
            return "#" + std::to_string(v);
        }
        std::string s;
        while (w != 0) {
            s.push_back(w < 256 ? static_cast<char>(w) : '?');
            w = word();
        }
        return s;
    }
    void alignDword() {
        size_t off = static_cast<size_t>(p_ - base_);
        p_ = base_ + ((off + 3) & ~static_cast<size_t>(3));
    }
    const BYTE* here() const { return p_; }
    void skip(size_t n) { p_ += n; }

private:
    const BYTE* base_;
    const BYTE* p_;
};

std::string predefinedClass(WORD ordinal) {
    switch (ordinal) {
    case 0x80: return "Button";
    case 0x81: return "Edit";
    case 0x82: return "Static";
    case 0x83: return "ListBox";
    case 0x84: return "ScrollBar";
    case 0x85: return "ComboBox";
    default: return "#" + std::to_string(ordinal);
    }
}

DialogTemplate parse(const void* data) {
    DialogTemplate t;
    Reader r(data);
    WORD first = r.word(), second = r.word();
    bool ex = first == 1 && second == 0xFFFF;
    WORD count;
    if (ex) {
        r.dword(); // help ID
        t.exStyle = r.dword();
        t.style = r.dword();
    } else {
        r = Reader(data);
        t.style = r.dword();
        t.exStyle = r.dword();
    }
    count = r.word();
    t.x = r.shortValue();
    t.y = r.shortValue();
    t.cx = r.shortValue();
    t.cy = r.shortValue();
    r.sz(); // menu
    WORD clsOrdinal = 0;
    t.cls = r.sz(&clsOrdinal);
    if (clsOrdinal) t.cls = clsOrdinal == 0x8002 ? "" : predefinedClass(clsOrdinal);
    t.title = r.sz();
    if (t.style & DS_SETFONT) {
        t.hasFont = true;
        t.pointSize = r.word();
        if (ex) {
            t.weight = r.word();
            t.italic = r.byte();
            t.charset = r.byte();
        }
        t.face = r.sz();
    }
    for (WORD i = 0; i < count; ++i) {
        r.alignDword();
        ItemTemplate it;
        if (ex) {
            r.dword(); // help ID
            it.exStyle = r.dword();
            it.style = r.dword();
        } else {
            it.style = r.dword();
            it.exStyle = r.dword();
        }
        it.x = r.shortValue();
        it.y = r.shortValue();
        it.cx = r.shortValue();
        it.cy = r.shortValue();
        it.id = ex ? r.dword() : r.word();
        WORD ord = 0;
        it.cls = r.sz(&ord);
        if (ord) it.cls = predefinedClass(ord);
        it.title = r.sz();
        WORD extra = r.word();
        if (extra) {
            it.data = r.here();
            r.skip(ex ? extra : extra - (extra >= 2 ? 2 : 0));
        }
        t.items.push_back(it);
    }
    return t;
}

struct DialogInfo {
    HFONT font = nullptr;
    bool ownsFont = false;
    SIZE baseUnits{6, 13};
    int defId = 0;
    HWND savedFocus = nullptr;
    bool ended = false;
    INT_PTR result = 0;
    bool ownerEnabled = false;
};

std::map<HWND, DialogInfo>& infos() {
    static auto* m = new std::map<HWND, DialogInfo>;
    return *m;
}

DialogInfo* info(HWND dlg) {
    auto it = infos().find(dlg);
    return it == infos().end() ? nullptr : &it->second;
}

DLGPROC pendingProc = nullptr;
std::vector<HWND> modalLoops;

bool isPushButton(HWND h, LRESULT* code = nullptr) {
    LRESULT c = SendMessageA(h, WM_GETDLGCODE, 0, 0);
    if (code) *code = c;
    return c & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON);
}

// The focus moves to a control; an edit gets all its text selected, and push buttons follow the
// focus as the default button.
void setDialogFocus(HWND dlg, HWND ctl) {
    if (!ctl) return;
    LRESULT code = SendMessageA(ctl, WM_GETDLGCODE, 0, 0);
    if (code & DLGC_HASSETSEL) SendMessageA(ctl, EM_SETSEL, 0, -1);
    HWND oldFocus = GetFocus();
    bool oldIsButton = oldFocus && IsChild(dlg, oldFocus) && isPushButton(oldFocus);
    bool newIsButton = code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON);
    if (newIsButton || oldIsButton) {
        DialogInfo* di = info(dlg);
        HWND def = di && di->defId ? GetDlgItem(dlg, di->defId) : nullptr;
        for (HWND c = GetWindow(dlg, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            LRESULT cc = SendMessageA(c, WM_GETDLGCODE, 0, 0);
            if (!(cc & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON))) continue;
            bool shouldBeDefault = newIsButton ? c == ctl : c == def;
            bool isDefault = cc & DLGC_DEFPUSHBUTTON;
            if (shouldBeDefault != isDefault)
                SendMessageA(c, BM_SETSTYLE, shouldBeDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
        }
    }
    SetFocus(ctl);
}

void saveFocus(HWND dlg) {
    HWND f = GetFocus();
    DialogInfo* di = info(dlg);
    if (di && f && IsChild(dlg, f)) di->savedFocus = f;
}

void restoreFocus(HWND dlg) {
    DialogInfo* di = info(dlg);
    if (!di) return;
    if (IsIconic(dlg)) return;
    if (!di->savedFocus || !IsWindow(di->savedFocus) || !IsChild(dlg, di->savedFocus))
        di->savedFocus = GetNextDlgTabItem(dlg, nullptr, FALSE);
    if (di->savedFocus) setDialogFocus(dlg, di->savedFocus);
}

bool returnsResultDirectly(UINT msg) {
    return msg == WM_CTLCOLORMSGBOX || msg == WM_CTLCOLOREDIT || msg == WM_CTLCOLORLISTBOX || msg == WM_CTLCOLORBTN ||
           msg == WM_CTLCOLORDLG || msg == WM_CTLCOLORSCROLLBAR || msg == WM_CTLCOLORSTATIC ||
           msg == WM_COMPAREITEM || msg == WM_VKEYTOITEM || msg == WM_CHARTOITEM || msg == WM_INITDIALOG;
}

HWND createDialog(HINSTANCE instance, const void* data, HWND parent, DLGPROC proc, LPARAM param, bool modal) {
    if (!data) {
        setLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    ensureInit();
    DialogTemplate t = parse(data);
    HFONT font = nullptr;
    bool ownsFont = false;
    if (t.hasFont) {
        LOGFONTA lf{};
        HDC screen = GetDC(nullptr);
        lf.lfHeight = -MulDiv(t.pointSize, GetDeviceCaps(screen, LOGPIXELSY), 72);
        ReleaseDC(nullptr, screen);
        lf.lfWeight = t.weight;
        lf.lfItalic = t.italic;
        lf.lfCharSet = t.charset;
        std::strncpy(lf.lfFaceName, t.face.c_str(), LF_FACESIZE - 1);
        font = CreateFontIndirectA(&lf);
        ownsFont = true;
    }
    SIZE base = textCellOf(font);
    auto px = [&](int v) { return MulDiv(v, base.cx, 4); };
    auto py = [&](int v) { return MulDiv(v, base.cy, 8); };

    DWORD style = t.style;
    DWORD exStyle = t.exStyle;
    if (style & DS_MODALFRAME) exStyle |= WS_EX_DLGMODALFRAME;
    if (style & DS_CONTROL) {
        style &= ~(WS_CAPTION | WS_SYSMENU);
        style |= WS_CHILD;
        exStyle |= WS_EX_CONTROLPARENT;
    }
    RECT r{0, 0, px(t.cx), py(t.cy)};
    AdjustWindowRectEx(&r, style, FALSE, exStyle);
    int width = r.right - r.left, height = r.bottom - r.top;
    int x = px(t.x), y = py(t.y);
    HWND owner = parent;
    if (style & WS_CHILD) {
        // child dialogs are placed in the parent's client coordinates
    } else {
        if (style & DS_CENTER) {
            RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
            x = area.left + (area.right - area.left - width) / 2;
            y = area.top + (area.bottom - area.top - height) / 2;
        } else {
            if (owner && !(style & DS_ABSALIGN)) {
                POINT p{x, y};
                ClientToScreen(owner, &p);
                x = p.x;
                y = p.y;
            }
            x += r.left;
            y += r.top;
        }
        x = std::max(0, std::min(x, GetSystemMetrics(SM_CXSCREEN) - width));
        y = std::max(0, std::min(y, GetSystemMetrics(SM_CYSCREEN) - height));
    }
    // a modal dialog's owner is disabled before the dialog exists, so WM_INITDIALOG already sees it
    bool disabledOwner = false;
    if (modal && owner && IsWindowEnabled(owner)) {
        EnableWindow(owner, FALSE);
        disabledOwner = true;
    }
    auto fail = [&]() -> HWND {
        if (disabledOwner && IsWindow(owner)) EnableWindow(owner, TRUE);
        return nullptr;
    };

    pendingProc = proc;
    LPCSTR cls = t.cls.empty() ? WC_DIALOG : t.cls.c_str();
    HWND dlg = CreateWindowExA(exStyle, cls, t.title.c_str(), style & ~WS_VISIBLE, x, y, width, height, owner, nullptr,
                               instance, reinterpret_cast<LPVOID>(param));
    pendingProc = nullptr;
    if (!dlg) {
        if (ownsFont) DeleteObject(font);
        return fail();
    }
    DialogInfo& di = infos()[dlg];
    di.font = font;
    di.ownsFont = ownsFont;
    di.baseUnits = base;
    di.ownerEnabled = disabledOwner;
    if (font) SendMessageA(dlg, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (!IsWindow(dlg)) return fail();

    for (const auto& it : t.items) {
        RECT cr{px(it.x), py(it.y), px(it.x + it.cx), py(it.y + it.cy)};
        HWND c = CreateWindowExA(it.exStyle | WS_EX_NOPARENTNOTIFY, it.cls.c_str(), it.title.c_str(),
                                 it.style | WS_CHILD, cr.left, cr.top, cr.right - cr.left, cr.bottom - cr.top, dlg,
                                 reinterpret_cast<HMENU>(static_cast<UINT_PTR>(it.id & 0xFFFF)), instance,
                                 const_cast<void*>(it.data));
        if (!c) {
            if (!(t.style & DS_NOFAILCREATE)) {
                DestroyWindow(dlg);
                return fail();
            }
            continue;
        }
        if (font) SendMessageA(c, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        if (!IsWindow(dlg)) return fail();
        if ((SendMessageA(c, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON) && !infos()[dlg].defId)
            infos()[dlg].defId = static_cast<int>(it.id & 0xFFFF);
    }
    if (!IsWindow(dlg)) return fail();
    HWND firstTab = GetNextDlgTabItem(dlg, nullptr, FALSE);
    if (SendMessageA(dlg, WM_INITDIALOG, reinterpret_cast<WPARAM>(firstTab), param) && IsWindow(dlg)) {
        HWND focusTo = GetNextDlgTabItem(dlg, nullptr, FALSE);
        if (focusTo) setDialogFocus(dlg, focusTo);
        if (DialogInfo* d = info(dlg)) d->savedFocus = focusTo;
    }
    if (!IsWindow(dlg)) return fail();
    if ((t.style & WS_VISIBLE) && !(GetWindowLongA(dlg, GWL_STYLE) & WS_VISIBLE)) {
        ShowWindow(dlg, SW_SHOWNORMAL);
        UpdateWindow(dlg);
    }
    return IsWindow(dlg) ? dlg : nullptr;
}

const void* templateResource(HINSTANCE instance, LPCSTR name) {
    HRSRC res = FindResourceA(instance, name, RT_DIALOG);
    if (!res) return nullptr;
    return LockResource(LoadResource(instance, res));
}

} // namespace

HWND currentDialogBoxLoop() { return modalLoops.empty() ? nullptr : modalLoops.back(); }

void forgetDialogs() {
    for (auto& i : infos())
        if (i.second.ownsFont) DeleteObject(i.second.font);
    infos().clear();
    modalLoops.clear();
}

} // namespace w32

using namespace w32;

extern "C" {

HWND WINAPI CreateDialogIndirectParamA(HINSTANCE instance, LPCDLGTEMPLATEA tmpl, HWND parent, DLGPROC proc,
                                       LPARAM initParam) {
    return createDialog(instance, tmpl, parent, proc, initParam, false);
}

INT_PTR WINAPI DialogBoxIndirectParamA(HINSTANCE instance, LPCDLGTEMPLATEA tmpl, HWND parent, DLGPROC proc,
                                       LPARAM initParam) {
    HWND owner = parent ? root(parent) : nullptr;
    if (parent && !owner) {
        setLastError(ERROR_INVALID_WINDOW_HANDLE);
        return -1;
    }
    HWND dlg = createDialog(instance, tmpl, owner, proc, initParam, true);
    if (!dlg) return -1;
    DialogInfo* di = info(dlg);
    modalLoops.push_back(dlg);
    if ((di = info(dlg)) && !di->ended && !(GetWindowLongA(dlg, GWL_STYLE) & WS_VISIBLE)) ShowWindow(dlg, SW_SHOWNORMAL);
    INT_PTR result = IDCANCEL;
    for (;;) {
        di = info(dlg);
        if (!di || di->ended || !IsWindow(dlg)) break;
        MSG m;
        if (!GetMessageA(&m, nullptr, 0, 0)) {
            PostQuitMessage(static_cast<int>(m.wParam));
            break;
        }
        if (!IsDialogMessageA(dlg, &m)) {
            TranslateMessage(&m);
            DispatchMessageA(&m);
        }
    }
    modalLoops.erase(std::remove(modalLoops.begin(), modalLoops.end(), dlg), modalLoops.end());
    if ((di = info(dlg))) {
        result = di->ended ? di->result : IDCANCEL;
        if (di->ownerEnabled && owner && IsWindow(owner)) EnableWindow(owner, TRUE);
    }
    if (IsWindow(dlg)) DestroyWindow(dlg);
    return result;
}

HWND WINAPI CreateDialogParamA(HINSTANCE instance, LPCSTR templateName, HWND parent, DLGPROC proc, LPARAM initParam) {
    const void* t = templateResource(instance, templateName);
    return t ? createDialog(instance, t, parent, proc, initParam, false) : nullptr;
}

INT_PTR WINAPI DialogBoxParamA(HINSTANCE instance, LPCSTR templateName, HWND parent, DLGPROC proc, LPARAM initParam) {
    const void* t = templateResource(instance, templateName);
    if (!t) return -1;
    return DialogBoxIndirectParamA(instance, static_cast<LPCDLGTEMPLATEA>(t), parent, proc, initParam);
}

BOOL WINAPI EndDialog(HWND dlg, INT_PTR result) {
    DialogInfo* di = info(dlg);
    if (!di) {
        setLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    di->ended = true;
    di->result = result;
    HWND owner = GetWindow(dlg, GW_OWNER);
    if (di->ownerEnabled && owner) {
        EnableWindow(owner, TRUE);
        di->ownerEnabled = false;
    }
    if (IsChild(dlg, GetFocus())) SetFocus(dlg);
    SetWindowPos(dlg, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
    PostMessageA(dlg, WM_NULL, 0, 0);
    return TRUE;
}

LRESULT WINAPI DefDlgProcA(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE && pendingProc && !GetWindowLongPtrA(dlg, DWLP_DLGPROC))
        SetWindowLongPtrA(dlg, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(pendingProc));
    auto proc = reinterpret_cast<DLGPROC>(GetWindowLongPtrA(dlg, DWLP_DLGPROC));
    SetWindowLongPtrA(dlg, DWLP_MSGRESULT, 0);
    INT_PTR r = proc ? proc(dlg, msg, wParam, lParam) : 0;
    if (!IsWindow(dlg)) return r;
    if (returnsResultDirectly(msg) && (r || msg == WM_INITDIALOG)) return r;
    if (r) return GetWindowLongPtrA(dlg, DWLP_MSGRESULT);

    switch (msg) {
    case WM_ERASEBKGND: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        HBRUSH brush = reinterpret_cast<HBRUSH>(SendMessageA(dlg, WM_CTLCOLORDLG, wParam, reinterpret_cast<LPARAM>(dlg)));
        if (!brush) brush = reinterpret_cast<HBRUSH>(DefWindowProcA(dlg, WM_CTLCOLORDLG, wParam, reinterpret_cast<LPARAM>(dlg)));
        RECT rc;
        GetClientRect(dlg, &rc);
        FillRect(dc, &rc, brush);
        return 1;
    }
    case WM_NCDESTROY: {
        auto it = infos().find(dlg);
        if (it != infos().end()) {
            if (it->second.ownsFont) DeleteObject(it->second.font);
            infos().erase(it);
        }
        return DefWindowProcA(dlg, msg, wParam, lParam);
    }
    case WM_SHOWWINDOW:
        if (!wParam) saveFocus(dlg);
        return DefWindowProcA(dlg, msg, wParam, lParam);
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE)
            restoreFocus(dlg);
        else
            saveFocus(dlg);
        return 0;
    case WM_SETFOCUS: restoreFocus(dlg); return 0;
    case DM_SETDEFID: {
        DialogInfo* di = info(dlg);
        if (!di) return FALSE;
        HWND oldDef = di->defId ? GetDlgItem(dlg, di->defId) : nullptr;
        HWND newDef = wParam ? GetDlgItem(dlg, static_cast<int>(wParam)) : nullptr;
        if (oldDef && oldDef != newDef && (SendMessageA(oldDef, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON))
            SendMessageA(oldDef, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
        if (newDef && (SendMessageA(newDef, WM_GETDLGCODE, 0, 0) & DLGC_UNDEFPUSHBUTTON))
            SendMessageA(newDef, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
        di->defId = static_cast<int>(wParam);
        return TRUE;
    }
    case DM_GETDEFID: {
        DialogInfo* di = info(dlg);
        if (di && di->defId) return MAKELONG(di->defId, DC_HASDEFID);
        for (HWND c = GetWindow(dlg, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
            if (SendMessageA(c, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON) return MAKELONG(GetDlgCtrlID(c), DC_HASDEFID);
        return 0;
    }
    case WM_NEXTDLGCTL: {
        HWND target;
        if (lParam)
            target = reinterpret_cast<HWND>(wParam);
        else
            target = GetNextDlgTabItem(dlg, GetFocus(), wParam != 0);
        if (target && IsChild(dlg, target)) setDialogFocus(dlg, target);
        return 0;
    }
    case WM_GETFONT: {
        DialogInfo* di = info(dlg);
        return reinterpret_cast<LRESULT>(di ? di->font : nullptr);
    }
    case WM_CLOSE: {
        HWND cancel = GetDlgItem(dlg, IDCANCEL);
        if (!cancel || IsWindowEnabled(cancel))
            PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(cancel));
        return 0;
    }
    default: return DefWindowProcA(dlg, msg, wParam, lParam);
    }
}

BOOL WINAPI IsDialogMessageA(HWND dlg, LPMSG msg) {
    if (!dlg || !msg || !IsWindow(dlg)) return FALSE;
    if (msg->hwnd != dlg && !IsChild(dlg, msg->hwnd)) return FALSE;
    if (msg->message == WM_KEYDOWN) {
        LRESULT code = SendMessageA(msg->hwnd, WM_GETDLGCODE, msg->wParam, reinterpret_cast<LPARAM>(msg));
        switch (msg->wParam) {
        case VK_TAB:
            if (!(code & (DLGC_WANTTAB | DLGC_WANTMESSAGE))) {
                SendMessageA(dlg, WM_NEXTDLGCTL, (GetKeyState(VK_SHIFT) & 0x8000) ? 1 : 0, 0);
                return TRUE;
            }
            break;
        case VK_LEFT:
        case VK_UP:
        case VK_RIGHT:
        case VK_DOWN:
            if (!(code & (DLGC_WANTARROWS | DLGC_WANTMESSAGE))) {
                HWND next = GetNextDlgGroupItem(dlg, GetFocus(), msg->wParam == VK_LEFT || msg->wParam == VK_UP);
                if (next) {
                    setDialogFocus(dlg, next);
                    if (SendMessageA(next, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) SendMessageA(next, BM_CLICK, 0, 0);
                }
                return TRUE;
            }
            break;
        case VK_ESCAPE:
        case VK_CANCEL:
            if (!(code & DLGC_WANTMESSAGE)) {
                HWND cancel = GetDlgItem(dlg, IDCANCEL);
                SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(cancel));
                return TRUE;
            }
            break;
        case VK_RETURN:
        case VK_EXECUTE:
            if (!(code & DLGC_WANTMESSAGE)) {
                HWND focus = GetFocus();
                LRESULT dw;
                if (focus && IsChild(dlg, focus) && isPushButton(focus)) {
                    SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(focus), BN_CLICKED), reinterpret_cast<LPARAM>(focus));
                } else if (HIWORD(dw = SendMessageA(dlg, DM_GETDEFID, 0, 0)) == DC_HASDEFID) {
                    HWND def = GetDlgItem(dlg, LOWORD(dw));
                    if (!def || IsWindowEnabled(def))
                        SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(LOWORD(dw), BN_CLICKED), reinterpret_cast<LPARAM>(def));
                } else {
                    SendMessageA(dlg, WM_COMMAND, IDOK, reinterpret_cast<LPARAM>(GetDlgItem(dlg, IDOK)));
                }
                return TRUE;
            }
            break;
        }
    }
    TranslateMessage(msg);
    DispatchMessageA(msg);
    return TRUE;
}

HWND WINAPI GetDlgItem(HWND dlg, int id) {
    Window* w = win(dlg);
    if (!w) {
        setLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    for (HWND c : w->children)
        if (Window* cw = win(c); cw && static_cast<WORD>(cw->id) == static_cast<WORD>(id)) return c;
    return nullptr;
}

UINT WINAPI GetDlgItemTextA(HWND dlg, int id, LPSTR text, int maxCount) {
    HWND c = GetDlgItem(dlg, id);
    if (!c) {
        if (text && maxCount > 0) text[0] = 0;
        return 0;
    }
    return static_cast<UINT>(GetWindowTextA(c, text, maxCount));
}

BOOL WINAPI SetDlgItemTextA(HWND dlg, int id, LPCSTR text) {
    HWND c = GetDlgItem(dlg, id);
    return c ? SetWindowTextA(c, text) : FALSE;
}

UINT WINAPI GetDlgItemInt(HWND dlg, int id, BOOL* translated, BOOL isSigned) {
    char buf[64];
    if (translated) *translated = FALSE;
    if (!GetDlgItemTextA(dlg, id, buf, sizeof buf)) return 0;
    char* p = buf;
    while (*p == ' ') ++p;
    char* end = nullptr;
    long long v = std::strtoll(p, &end, 10);
    while (end && *end == ' ') ++end;
    if (!end || end == p || *end) return 0;
    if (isSigned ? (v < INT32_MIN || v > INT32_MAX) : (v < 0 || v > UINT32_MAX)) return 0;
    if (translated) *translated = TRUE;
    return static_cast<UINT>(v);
}

BOOL WINAPI SetDlgItemInt(HWND dlg, int id, UINT value, BOOL isSigned) {
    char buf[32];
    if (isSigned)
        std::snprintf(buf, sizeof buf, "%d", static_cast<int>(value));
    else
        std::snprintf(buf, sizeof buf, "%u", value);
    return SetDlgItemTextA(dlg, id, buf);
}

LRESULT WINAPI SendDlgItemMessageA(HWND dlg, int id, UINT msg, WPARAM wParam, LPARAM lParam) {
    HWND c = GetDlgItem(dlg, id);
    return c ? SendMessageA(c, msg, wParam, lParam) : 0;
}

BOOL WINAPI CheckDlgButton(HWND dlg, int id, UINT check) {
    HWND c = GetDlgItem(dlg, id);
    if (!c) return FALSE;
    SendMessageA(c, BM_SETCHECK, check, 0);
    return TRUE;
}

UINT WINAPI IsDlgButtonChecked(HWND dlg, int id) {
    HWND c = GetDlgItem(dlg, id);
    return c ? static_cast<UINT>(SendMessageA(c, BM_GETCHECK, 0, 0)) : 0;
}

static bool tabbable(HWND c) {
    DWORD style = static_cast<DWORD>(GetWindowLongA(c, GWL_STYLE));
    return (style & WS_TABSTOP) && (style & WS_VISIBLE) && !(style & WS_DISABLED);
}

HWND WINAPI GetNextDlgTabItem(HWND dlg, HWND ctl, BOOL previous) {
    Window* w = win(dlg);
    if (!w) return nullptr;
    std::vector<HWND> list = w->children;
    if (list.empty()) return nullptr;
    if (previous) std::reverse(list.begin(), list.end());
    auto start = ctl ? std::find(list.begin(), list.end(), ctl) : list.end();
    size_t n = list.size();
    size_t first = start == list.end() ? 0 : static_cast<size_t>(start - list.begin()) + 1;
    for (size_t i = 0; i < n; ++i) {
        HWND c = list[(first + i) % n];
        if (tabbable(c)) return c;
    }
    return ctl;
}

HWND WINAPI GetNextDlgGroupItem(HWND dlg, HWND ctl, BOOL previous) {
    Window* w = win(dlg);
    if (!w || w->children.empty()) return nullptr;
    const auto& list = w->children;
    auto it = std::find(list.begin(), list.end(), ctl);
    if (it == list.end()) return list.front();
    // the group runs from a WS_GROUP control up to the next one
    size_t i = static_cast<size_t>(it - list.begin());
    size_t begin = i;
    while (begin > 0 && !(GetWindowLongA(list[begin], GWL_STYLE) & WS_GROUP)) --begin;
    size_t end = i + 1;
    while (end < list.size() && !(GetWindowLongA(list[end], GWL_STYLE) & WS_GROUP)) ++end;
    size_t count = end - begin;
    for (size_t step = 1; step < count; ++step) {
        size_t j = previous ? begin + (i - begin + count - step) % count : begin + (i - begin + step) % count;
        DWORD style = static_cast<DWORD>(GetWindowLongA(list[j], GWL_STYLE));
        if ((style & WS_VISIBLE) && !(style & WS_DISABLED)) return list[j];
    }
    return ctl;
}

BOOL WINAPI MapDialogRect(HWND dlg, LPRECT rect) {
    DialogInfo* di = info(dlg);
    if (!di || !rect) return FALSE;
    rect->left = MulDiv(rect->left, di->baseUnits.cx, 4);
    rect->right = MulDiv(rect->right, di->baseUnits.cx, 4);
    rect->top = MulDiv(rect->top, di->baseUnits.cy, 8);
    rect->bottom = MulDiv(rect->bottom, di->baseUnits.cy, 8);
    return TRUE;
}

LONG WINAPI GetDialogBaseUnits(void) {
    SIZE s = textCellOf(nullptr);
    return MAKELONG(s.cx, s.cy);
}

} // extern "C"

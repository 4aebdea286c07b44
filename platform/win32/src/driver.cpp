// The driver: queued input, pumping, message box answers, records and inspection.
#include "core.h"
#include <w32drv.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <map>
#include <sstream>

namespace w32 {
void resetSystem();
bool getMessage(MSG* msg, HWND filter, UINT min, UINT max);
bool describeWindow(HWND hwnd, std::vector<w32drv::TreeRow>& rows, int& top, int& page);
void recordDrawing(bool on);
std::vector<w32drv::Drawing> drawings();
w32drv::GdiObjects liveGdiObjects();
} // namespace w32

// Registered messages: one number per name (case-insensitive) for the life of the process, as the
// window station keeps them on Windows; resetting the window system keeps them too.
UINT WINAPI RegisterWindowMessageA(LPCSTR name) {
    if (!name || !*name) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    static auto* table = new std::map<std::string, UINT>;
    std::string key(name);
    std::transform(key.begin(), key.end(), key.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    auto it = table->find(key);
    if (it != table->end()) return it->second;
    if (table->size() >= 0x4000) return 0;
    UINT id = static_cast<UINT>(0xC000 + table->size());
    table->emplace(key, id);
    return id;
}

namespace w32 {

// Asks a window for its description (see w32drv.h) and reads the rows; false when it has none.
bool describeWindow(HWND hwnd, std::vector<w32drv::TreeRow>& rows, int& top, int& page) {
    UINT msg = RegisterWindowMessageA(w32drv::kDescribeMessage);
    LRESULT len = SendMessageA(hwnd, msg, 0, 0);
    if (len <= 0 || !IsWindow(hwnd)) return false;
    std::string text(static_cast<size_t>(len) + 1, '\0');
    LRESULT got = SendMessageA(hwnd, msg, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(std::max<LRESULT>(0, std::min(got, len))));
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("top ", 0) == 0) {
            top = std::atoi(line.c_str() + 4);
            continue;
        }
        if (line.rfind("page ", 0) == 0) {
            page = std::atoi(line.c_str() + 5);
            continue;
        }
        if (line.rfind("row ", 0) != 0) continue;
        size_t depthEnd = line.find(' ', 4);
        if (depthEnd == std::string::npos) continue;
        size_t flagsEnd = line.find(' ', depthEnd + 1);
        std::string flags = line.substr(depthEnd + 1, flagsEnd == std::string::npos ? std::string::npos
                                                                                   : flagsEnd - depthEnd - 1);
        if (flags.empty()) continue;
        w32drv::TreeRow row;
        row.depth = std::atoi(line.c_str() + 4);
        row.text = flagsEnd == std::string::npos ? "" : line.substr(flagsEnd + 1);
        row.hasChildren = flags[0] == '+' || flags[0] == '-';
        row.expanded = flags[0] == '-';
        row.selected = flags.find('s', 1) != std::string::npos;
        row.caret = flags.find('c', 1) != std::string::npos;
        row.focused = flags.find('f', 1) != std::string::npos;
        row.disabled = flags.find('d', 1) != std::string::npos;
        rows.push_back(std::move(row));
    }
    return true;
}

} // namespace w32

using namespace w32;

namespace w32drv {

static void queue(InputEvent ev) { sys().pendingInput.push_back(std::move(ev)); }

void KeyDown(UINT vk) { queue(InputEvent{InputEvent::KeyDown, vk}); }
void KeyUp(UINT vk) { queue(InputEvent{InputEvent::KeyUp, vk}); }

void Key(UINT vk, unsigned modifiers) {
    if (modifiers & Control) KeyDown(VK_CONTROL);
    if (modifiers & Shift) KeyDown(VK_SHIFT);
    if (modifiers & Alt) KeyDown(VK_MENU);
    KeyDown(vk);
    KeyUp(vk);
    if (modifiers & Alt) KeyUp(VK_MENU);
    if (modifiers & Shift) KeyUp(VK_SHIFT);
    if (modifiers & Control) KeyUp(VK_CONTROL);
}

void Type(const std::string& text) {
    for (char c : text) {
        SHORT k = VkKeyScanA(c);
        if (k == -1) {
            InputEvent ev{InputEvent::Char};
            ev.ch = c;
            queue(ev);
            continue;
        }
        unsigned mods = ((k & 0x100) ? unsigned(Shift) : 0u) | ((k & 0x200) ? unsigned(Control) : 0u) |
                        ((k & 0x400) ? unsigned(Alt) : 0u);
        Key(static_cast<UINT>(k & 0xFF), mods);
    }
}

void Wait(DWORD ms) {
    InputEvent ev{InputEvent::Wait};
    ev.ms = ms;
    queue(ev);
}

static void mouse(InputEvent::Kind kind, POINT pt) {
    InputEvent ev{kind};
    ev.pt = pt;
    queue(ev);
}

void MouseMove(POINT screen) { mouse(InputEvent::MouseMove, screen); }
void MouseDown(POINT screen) { mouse(InputEvent::MouseDown, screen); }
void MouseUp(POINT screen) { mouse(InputEvent::MouseUp, screen); }

void Click(POINT screen) {
    MouseMove(screen);
    MouseDown(screen);
    MouseUp(screen);
}

void ClickWindow(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    Click(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
}

void ClickClient(HWND hwnd, int x, int y) {
    POINT p{x, y};
    ClientToScreen(hwnd, &p);
    Click(p);
}

void Wheel(POINT screen, int delta) {
    InputEvent ev{InputEvent::Wheel};
    ev.pt = screen;
    ev.delta = delta;
    queue(ev);
}

void SwitchAway() { queue(InputEvent{InputEvent::SwitchAway}); }

void SwitchBack(HWND hwnd) {
    InputEvent ev{InputEvent::SwitchBack};
    ev.hwnd = hwnd;
    queue(ev);
}

void Call(std::function<void()> action) {
    InputEvent ev{InputEvent::Call};
    ev.action = std::move(action);
    queue(std::move(ev));
}

void SetInputSource(std::function<bool()> source) { sys().inputSource = std::move(source); }

size_t PendingInput() { return sys().pendingInput.size(); }
void ClearInput() { dropInput(); }

static void dispatch(MSG& m) {
    TranslateMessage(&m);
    DispatchMessageA(&m);
}

void PumpReady() {
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
        if (m.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(m.wParam));
            return;
        }
        dispatch(m);
    }
}

void Pump() {
    for (;;) {
        MSG m;
        if (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
            if (m.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(m.wParam));
                return;
            }
            dispatch(m);
            continue;
        }
        if (!feedInput()) return;
    }
}

DWORD Now() { return static_cast<DWORD>(sys().clock); }

void AnswerMessageBox(int answer) { sys().answers.push_back(answer); }

void SetMessageBoxAnswerer(std::function<int(const MessageBoxRecord& box)> answerer) {
    if (!answerer) {
        sys().answerer = nullptr;
        return;
    }
    sys().answerer = [answerer = std::move(answerer)](const System::MessageBoxRecord& r) {
        return answerer(MessageBoxRecord{r.owner, r.text, r.caption, r.style, r.answer});
    };
}

std::vector<MessageBoxRecord> MessageBoxes() {
    std::vector<MessageBoxRecord> out;
    for (auto& r : sys().messageBoxes) out.push_back(MessageBoxRecord{r.owner, r.text, r.caption, r.style, r.answer});
    return out;
}

std::vector<UINT> Beeps() { return sys().beeps; }
std::vector<HCURSOR> CursorChanges() { return sys().cursorChanges; }
std::vector<HWND> InputExhaustedDialogs() { return sys().inputExhausted; }

void ClearRecords() {
    auto& s = sys();
    s.messageBoxes.clear();
    s.beeps.clear();
    s.cursorChanges.clear();
    s.inputExhausted.clear();
}

std::string CursorName(HCURSOR cursor) {
    static const struct {
        UINT_PTR id;
        const char* name;
    } names[] = {{32512, "IDC_ARROW"}, {32513, "IDC_IBEAM"},  {32514, "IDC_WAIT"},   {32515, "IDC_CROSS"},
                 {32516, "IDC_UPARROW"}, {32644, "IDC_SIZEWE"}, {32645, "IDC_SIZENS"}, {32646, "IDC_SIZEALL"},
                 {32648, "IDC_NO"},    {32649, "IDC_HAND"},   {32650, "IDC_APPSTARTING"}};
    UINT_PTR id;
    if (!isPredefinedCursor(cursor, &id)) return "";
    for (auto& n : names)
        if (n.id == id) return n.name;
    return "";
}

static std::string className(HWND hwnd) {
    char buf[256];
    return GetClassNameA(hwnd, buf, sizeof buf) ? buf : "";
}

static std::string textOf(HWND hwnd) {
    int n = GetWindowTextLengthA(hwnd);
    std::string s(static_cast<size_t>(n) + 1, '\0');
    int got = GetWindowTextA(hwnd, s.data(), n + 1);
    s.resize(static_cast<size_t>(std::max(got, 0)));
    return s;
}

WindowInfo Inspect(HWND hwnd) {
    WindowInfo info;
    Window* w = win(hwnd);
    if (!w) return info;
    info.hwnd = hwnd;
    info.className = className(hwnd);
    info.id = GetDlgCtrlID(hwnd);
    info.text = textOf(hwnd);
    info.rect = screenRect(w);
    info.client = clientScreenRect(w);
    info.style = w->style;
    info.exStyle = w->exStyle;
    info.visible = IsWindowVisible(hwnd);
    info.enabled = IsWindowEnabled(hwnd);
    info.focused = GetFocus() == hwnd;
    info.active = GetActiveWindow() == hwnd;
    std::string cls = info.className;
    auto lower = [](std::string s) {
        std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        return s;
    };
    cls = lower(cls);
    if (cls == "button") {
        info.check = static_cast<int>(SendMessageA(hwnd, BM_GETCHECK, 0, 0));
    } else if (cls == "listbox" || cls == "combolbox") {
        LRESULT n = SendMessageA(hwnd, LB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < n; ++i) {
            LRESULT len = SendMessageA(hwnd, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
            std::string item(static_cast<size_t>(std::max<LRESULT>(len, 0)) + 1, '\0');
            SendMessageA(hwnd, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item.data()));
            item.resize(static_cast<size_t>(std::max<LRESULT>(len, 0)));
            info.items.push_back(item);
        }
        info.selection = static_cast<int>(SendMessageA(hwnd, LB_GETCURSEL, 0, 0));
        info.topIndex = static_cast<int>(SendMessageA(hwnd, LB_GETTOPINDEX, 0, 0));
    } else if (cls == "combobox") {
        LRESULT n = SendMessageA(hwnd, CB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < n; ++i) {
            LRESULT len = SendMessageA(hwnd, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
            std::string item(static_cast<size_t>(std::max<LRESULT>(len, 0)) + 1, '\0');
            SendMessageA(hwnd, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item.data()));
            item.resize(static_cast<size_t>(std::max<LRESULT>(len, 0)));
            info.items.push_back(item);
        }
        info.selection = static_cast<int>(SendMessageA(hwnd, CB_GETCURSEL, 0, 0));
    } else if (cls == "edit") {
        DWORD start = 0, end = 0;
        SendMessageA(hwnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        info.selStart = static_cast<int>(start);
        info.selEnd = static_cast<int>(end);
    } else if (cls != "static" && cls != "tooltips_class32" && cls != "#32770") {
        int top = 0, page = -1;
        if (describeWindow(hwnd, info.rows, top, page)) info.topIndex = top;
    }
    return info;
}

static void collect(HWND hwnd, bool recursive, std::vector<HWND>& out) {
    Window* w = win(hwnd);
    if (!w) return;
    for (HWND c : w->children) {
        out.push_back(c);
        if (recursive) collect(c, true, out);
    }
}

std::vector<HWND> Children(HWND hwnd, bool recursive) {
    std::vector<HWND> out;
    collect(hwnd, recursive, out);
    return out;
}

std::vector<HWND> TopLevelWindows() {
    std::vector<HWND> out;
    for (HWND h : sys().topLevels)
        if (IsWindowVisible(h)) out.push_back(h);
    return out;
}

size_t InstalledHooks() { return sys().hooks.size(); }

void RecordDrawing(bool on) { recordDrawing(on); }
std::vector<Drawing> Drawings() { return drawings(); }
GdiObjects LiveGdiObjects() { return liveGdiObjects(); }

void Reset() {
    resetSystem();
    recordDrawing(false);
}

} // namespace w32drv

// Inspection through the Win32 API alone, so that it reads real Windows the same way.
#include "inspect.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <sstream>

namespace w32drv {

std::string classOf(HWND hwnd) {
    char buf[256];
    return GetClassNameA(hwnd, buf, sizeof buf) ? buf : "";
}

std::string windowText(HWND hwnd) {
    int n = GetWindowTextLengthA(hwnd);
    std::string s(static_cast<size_t>(std::max(n, 0)) + 1, '\0');
    int got = GetWindowTextA(hwnd, s.data(), static_cast<int>(s.size()));
    s.resize(static_cast<size_t>(std::max(got, 0)));
    return s;
}

DWORD styleOf(HWND hwnd) { return static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE)); }
DWORD exStyleOf(HWND hwnd) { return static_cast<DWORD>(GetWindowLongA(hwnd, GWL_EXSTYLE)); }

HWND parentOf(HWND hwnd) {
    HWND p = GetAncestor(hwnd, GA_PARENT);
    return p == GetDesktopWindow() ? nullptr : p;
}

RECT windowOnScreen(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
}

RECT clientOnScreen(HWND hwnd) {
    RECT r{};
    GetClientRect(hwnd, &r);
    MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

static BOOL CALLBACK collectTopLevel(HWND h, LPARAM lp) {
#ifdef _WIN32
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    if (pid != GetCurrentProcessId()) return TRUE;
#endif
    reinterpret_cast<std::vector<HWND>*>(lp)->push_back(h);
    return TRUE;
}

std::vector<HWND> topLevelWindowsOfThisProcess() {
    std::vector<HWND> out;
    EnumWindows(collectTopLevel, reinterpret_cast<LPARAM>(&out));
    return out;
}

bool describeWindow(HWND hwnd, std::vector<TreeRow>& rows, int& top, int& page) {
    UINT msg = RegisterWindowMessageA(kDescribeMessage);
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
        TreeRow row;
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

static std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

// The items of a list or combo box, through the messages given.
static std::vector<std::string> items(HWND hwnd, UINT count, UINT length, UINT text) {
    std::vector<std::string> out;
    LRESULT n = SendMessageA(hwnd, count, 0, 0);
    for (LRESULT i = 0; i < n; ++i) {
        LRESULT len = std::max<LRESULT>(SendMessageA(hwnd, length, static_cast<WPARAM>(i), 0), 0);
        std::string item(static_cast<size_t>(len) + 1, '\0');
        SendMessageA(hwnd, text, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item.data()));
        item.resize(static_cast<size_t>(len));
        out.push_back(item);
    }
    return out;
}

WindowInfo Inspect(HWND hwnd) {
    WindowInfo info;
    if (!IsWindow(hwnd)) return info;
    info.hwnd = hwnd;
    info.className = classOf(hwnd);
    info.id = GetDlgCtrlID(hwnd);
    info.text = windowText(hwnd);
    info.rect = windowOnScreen(hwnd);
    info.client = clientOnScreen(hwnd);
    info.style = styleOf(hwnd);
    info.exStyle = exStyleOf(hwnd);
    info.visible = IsWindowVisible(hwnd);
    info.enabled = IsWindowEnabled(hwnd);
    info.focused = GetFocus() == hwnd;
    info.active = GetActiveWindow() == hwnd;
    std::string cls = lower(info.className);
    if (cls == "button") {
        info.check = static_cast<int>(SendMessageA(hwnd, BM_GETCHECK, 0, 0));
    } else if (cls == "listbox" || cls == "combolbox") {
        info.items = items(hwnd, LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT);
        info.selection = static_cast<int>(SendMessageA(hwnd, LB_GETCURSEL, 0, 0));
        info.topIndex = static_cast<int>(SendMessageA(hwnd, LB_GETTOPINDEX, 0, 0));
    } else if (cls == "combobox") {
        info.items = items(hwnd, CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT);
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
    for (HWND c = GetWindow(hwnd, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        out.push_back(c);
        if (recursive) collect(c, true, out);
    }
}

std::vector<HWND> Children(HWND hwnd, bool recursive) {
    std::vector<HWND> out;
    if (IsWindow(hwnd)) collect(hwnd, recursive, out);
    return out;
}

std::vector<HWND> TopLevelWindows() {
    std::vector<HWND> out;
    for (HWND h : topLevelWindowsOfThisProcess())
        if (IsWindowVisible(h)) out.push_back(h);
    return out;
}

std::string CursorName(HCURSOR cursor) {
    static const struct {
        WORD id;
        const char* name;
    } names[] = {{32512, "IDC_ARROW"},  {32513, "IDC_IBEAM"},   {32514, "IDC_WAIT"},   {32515, "IDC_CROSS"},
                 {32516, "IDC_UPARROW"}, {32644, "IDC_SIZEWE"}, {32645, "IDC_SIZENS"}, {32646, "IDC_SIZEALL"},
                 {32648, "IDC_NO"},     {32649, "IDC_HAND"},    {32650, "IDC_APPSTARTING"}};
    if (!cursor) return "";
    for (auto& n : names)
        if (LoadCursorA(nullptr, MAKEINTRESOURCEA(n.id)) == cursor) return n.name;
    return "";
}

} // namespace w32drv

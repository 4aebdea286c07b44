// The window manager: creation and destruction messages, the window tree, geometry, visibility,
// window longs and subclassing, and failure values for invalid handles.
#include "fixture.h"

#include <algorithm>

namespace {

int ncCreateResult = TRUE;
int createResult = 0;

LRESULT CALLBACK vetoProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Log::all().push_back(Received{hwnd, msg, wParam, lParam});
    if (msg == WM_NCCREATE && !ncCreateResult) return FALSE;
    if (msg == WM_CREATE) return createResult;
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

WNDPROC previousProc = nullptr;
LRESULT CALLBACK upperCaseText(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_SETTEXT && lParam) {
        std::string t = reinterpret_cast<const char*>(lParam);
        std::transform(t.begin(), t.end(), t.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
        return CallWindowProcA(previousProc, hwnd, msg, wParam, reinterpret_cast<LPARAM>(t.c_str()));
    }
    return CallWindowProcA(previousProc, hwnd, msg, wParam, lParam);
}

} // namespace

TEST_F(Win32Test, CreationSendsNcCreateCreateSizeMoveInOrderAndFailsWhenNcCreateOrCreateRefuses) {
    Log::clear();
    HWND w = topLevel(200, 100, WS_POPUP);
    ASSERT_TRUE(IsWindow(w));
    std::vector<UINT> seen = Log::of(w);
    std::vector<UINT> expected{WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE};
    ASSERT_GE(seen.size(), expected.size());
    EXPECT_EQ(std::vector<UINT>(seen.begin(), seen.begin() + 5), expected);
    const Received* size = Log::last(w, WM_SIZE);
    EXPECT_EQ(LOWORD(size->lParam), 200);
    EXPECT_EQ(HIWORD(size->lParam), 100);
    EXPECT_FALSE(IsWindowVisible(w));
    EXPECT_EQ(text(w), "Top");

    WNDCLASSA wc{};
    wc.lpfnWndProc = vetoProc;
    wc.lpszClassName = "Veto";
    ASSERT_TRUE(RegisterClassA(&wc));
    ncCreateResult = FALSE;
    EXPECT_EQ(CreateWindowExA(0, "Veto", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr), nullptr);
    ncCreateResult = TRUE;
    createResult = -1;
    Log::clear();
    EXPECT_EQ(CreateWindowExA(0, "Veto", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr), nullptr);
    // a window whose WM_CREATE failed is destroyed (whether it hears WM_DESTROY is not documented)
    ASSERT_FALSE(Log::all().empty());
    HWND gone = Log::all().front().hwnd;
    EXPECT_TRUE(Log::saw(gone, WM_NCDESTROY));
    EXPECT_FALSE(IsWindow(gone));
    createResult = 0;
    EXPECT_EQ(CreateWindowExA(0, "NoSuchClass", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr), nullptr);
    if (!underWine()) { // Wine: ERROR_CLASS_DOES_NOT_EXIST instead of the documented code
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CANNOT_FIND_WND_CLASS));
    }
    EXPECT_EQ(CreateWindowExA(0, "TestWindow", "", WS_CHILD, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr), nullptr);
}

TEST_F(Win32Test, DestroyingAParentDestroysChildrenInWindowsOrderAndTheirHandlesGiveFailureValues) {
    HWND top = topLevel();
    HWND a = child(top, "TestWindow", "a", 0, 0, 0, 10, 10, 1);
    HWND b = child(a, "TestWindow", "b", 0, 0, 0, 5, 5, 2);
    Log::clear();
    ASSERT_TRUE(DestroyWindow(top));
    std::vector<std::pair<HWND, UINT>> order;
    for (auto& r : Log::all())
        if (r.msg == WM_DESTROY || r.msg == WM_NCDESTROY) order.emplace_back(r.hwnd, r.msg);
    std::vector<std::pair<HWND, UINT>> expected{{top, WM_DESTROY}, {a, WM_DESTROY},   {b, WM_DESTROY},
                                                {b, WM_NCDESTROY}, {a, WM_NCDESTROY}, {top, WM_NCDESTROY}};
    EXPECT_EQ(order, expected);
    EXPECT_FALSE(IsWindow(top));
    EXPECT_FALSE(IsWindow(b));

    RECT r{1, 2, 3, 4};
    EXPECT_FALSE(IsWindow(top));
    EXPECT_FALSE(GetWindowRect(top, &r));
    EXPECT_FALSE(GetClientRect(top, &r));
    EXPECT_EQ(SendMessageA(top, WM_GETTEXTLENGTH, 0, 0), 0);
    EXPECT_FALSE(PostMessageA(top, WM_USER, 0, 0));
    EXPECT_FALSE(DestroyWindow(top));
    if (!underWine()) { // Wine: ERROR_ACCESS_DENIED for any window not of this thread
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    }
    EXPECT_FALSE(ShowWindow(top, SW_SHOW));
    EXPECT_EQ(GetParent(top), nullptr);
    char buf[8] = "x";
    EXPECT_EQ(GetWindowTextA(top, buf, sizeof buf), 0);
    EXPECT_EQ(buf[0], 0);
    EXPECT_EQ(SetTimer(top, 1, 100, nullptr), 0u);
    EXPECT_EQ(GetWindowLongPtrA(top, GWL_STYLE), 0);
    EXPECT_EQ(GetDlgItem(top, 1), nullptr);
}

TEST_F(Win32Test, ChildrenKeepCreationOrderAndPopupsReportTheirOwner) {
    HWND top = topLevel();
    HWND first = child(top, "TestWindow", "1", 0, 0, 0, 10, 10, 10);
    HWND second = child(top, "TestWindow", "2", 0, 0, 0, 10, 10, 11);
    EXPECT_EQ(GetWindow(top, GW_CHILD), first);
    EXPECT_EQ(GetWindow(first, GW_HWNDNEXT), second);
    EXPECT_EQ(GetWindow(second, GW_HWNDPREV), first);
    EXPECT_EQ(GetParent(first), top);
    EXPECT_TRUE(IsChild(top, first));
    EXPECT_EQ(GetDlgCtrlID(second), 11);
    // a pop-up created with a child as parent is owned by that child's top-level window
    HWND popup = CreateWindowExA(0, "TestWindow", "", WS_POPUP, 0, 0, 10, 10, first, nullptr, nullptr, nullptr);
    EXPECT_EQ(GetWindow(popup, GW_OWNER), top);
    EXPECT_EQ(GetParent(popup), top);
    EXPECT_EQ(GetAncestor(popup, GA_PARENT), GetDesktopWindow());
    EXPECT_EQ(GetAncestor(first, GA_ROOT), top);
    // owned windows go with their owner
    DestroyWindow(top);
    EXPECT_FALSE(IsWindow(popup));
}

TEST_F(Win32Test, ClientAreasLeaveOutFramesAndChildCoordinatesAreRelativeToTheParentClientArea) {
    DWORD style = WS_POPUP | WS_CAPTION | WS_VSCROLL;
    RECT r{0, 0, 200, 100};
    AdjustWindowRectEx(&r, style, FALSE, WS_EX_CLIENTEDGE);
    // AdjustWindowRectEx does not count scroll bars; the client loses them at creation
    HWND w = CreateWindowExA(WS_EX_CLIENTEDGE, "TestWindow", "", style, 50, 60, r.right - r.left, r.bottom - r.top,
                             nullptr, nullptr, nullptr, nullptr);
    RECT client;
    GetClientRect(w, &client);
    EXPECT_EQ(client.right, 200 - GetSystemMetrics(SM_CXVSCROLL));
    EXPECT_EQ(client.bottom, 100);
    POINT p{0, 0};
    ClientToScreen(w, &p);
    RECT wr;
    GetWindowRect(w, &wr);
    EXPECT_EQ(p.x - wr.left, -r.left);
    EXPECT_EQ(p.y - wr.top, -r.top);
    POINT back = p;
    ScreenToClient(w, &back);
    EXPECT_EQ(back.x, 0);
    EXPECT_EQ(back.y, 0);
    HWND top = topLevel(400, 300, WS_POPUP | WS_BORDER | WS_VISIBLE);
    HWND c = child(top, "TestWindow", "", WS_BORDER, 10, 20, 100, 50, 5);
    GetWindowRect(c, &wr);
    EXPECT_EQ(wr.left, 100 + 10);
    EXPECT_EQ(wr.top, 100 + 20);
    POINT pts[2] = {{0, 0}, {5, 5}};
    MapWindowPoints(c, top, pts, 2);
    EXPECT_EQ(pts[0].x, 11); // the child's one-pixel border
    EXPECT_EQ(pts[0].y, 21);
    EXPECT_EQ(pts[1].x, 16);
    MoveWindow(top, 300, 300, 402, 302, TRUE);
    GetWindowRect(c, &wr);
    EXPECT_EQ(wr.left, 301 + 10);
}

TEST_F(Win32Test, SetWindowPosAndShowWindowSendTheirMessagesAndShowWindowReportsTheVisibility) {
    HWND w = topLevel(100, 100, WS_POPUP);
    Log::clear();
    SetWindowPos(w, nullptr, 10, 20, 300, 200, SWP_NOZORDER | SWP_NOACTIVATE);
    std::vector<UINT> seen = Log::of(w);
    std::vector<UINT> expected{WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE};
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(LOWORD(Log::last(w, WM_SIZE)->lParam), 300);
    Log::clear();
    SetWindowPos(w, nullptr, 50, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(Log::saw(w, WM_MOVE));
    EXPECT_FALSE(Log::saw(w, WM_SIZE));
    RECT r;
    GetWindowRect(w, &r);
    EXPECT_EQ(r.left, 50);
    EXPECT_EQ(r.right - r.left, 300);

    Log::clear();
    EXPECT_FALSE(ShowWindow(w, SW_SHOW));
    EXPECT_TRUE(IsWindowVisible(w));
    const Received* show = Log::last(w, WM_SHOWWINDOW);
    ASSERT_NE(show, nullptr);
    EXPECT_EQ(show->wParam, static_cast<WPARAM>(TRUE));
    EXPECT_EQ(GetActiveWindow(), w);
    EXPECT_TRUE(ShowWindow(w, SW_SHOW));
    EXPECT_TRUE(ShowWindow(w, SW_HIDE));
    EXPECT_FALSE(IsWindowVisible(w));
    EXPECT_EQ(Log::last(w, WM_SHOWWINDOW)->wParam, static_cast<WPARAM>(FALSE));
    // a child of a hidden parent is not visible, though it has WS_VISIBLE
    HWND c = child(w, "TestWindow", "", 0, 0, 0, 5, 5, 1);
    EXPECT_TRUE(GetWindowLongA(c, GWL_STYLE) & WS_VISIBLE);
    EXPECT_FALSE(IsWindowVisible(c));
}

TEST_F(Win32Test, PlacementKeepsTheNormalRectangleAcrossMinimizeAndRestore) {
    HWND w = topLevel(200, 100, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    RECT before;
    GetWindowRect(w, &before);
    ShowWindow(w, SW_MINIMIZE);
    EXPECT_TRUE(IsIconic(w));
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    ASSERT_TRUE(GetWindowPlacement(w, &wp));
    EXPECT_EQ(wp.showCmd, static_cast<UINT>(SW_SHOWMINIMIZED));
    EXPECT_TRUE(EqualRect(&wp.rcNormalPosition, &before));
    ShowWindow(w, SW_RESTORE);
    RECT after;
    GetWindowRect(w, &after);
    EXPECT_TRUE(EqualRect(&after, &before));
    // SetWindowPlacement moves a restored window to the new normal rectangle, with WM_SIZE
    Log::clear();
    wp.showCmd = SW_SHOWNORMAL;
    OffsetRect(&wp.rcNormalPosition, 10, 10);
    wp.rcNormalPosition.bottom += 50;
    SetWindowPlacement(w, &wp);
    GetWindowRect(w, &after);
    EXPECT_TRUE(EqualRect(&after, &wp.rcNormalPosition));
    EXPECT_TRUE(Log::saw(w, WM_SIZE));
}

TEST_F(Win32Test, WindowLongsStylesExtraBytesSubclassingAndText) {
    HWND w = topLevel(100, 100, WS_POPUP);
    Log::clear();
    // top-level windows always clip their siblings
    LONG old = SetWindowLongA(w, GWL_STYLE, static_cast<LONG>(WS_POPUP | WS_BORDER));
    EXPECT_EQ(static_cast<DWORD>(old), static_cast<DWORD>(WS_POPUP | WS_CLIPSIBLINGS));
    EXPECT_TRUE(Log::saw(w, WM_STYLECHANGING));
    EXPECT_TRUE(Log::saw(w, WM_STYLECHANGED));
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(w, GWL_STYLE)), static_cast<DWORD>(WS_POPUP | WS_BORDER | WS_CLIPSIBLINGS));
    SetLastError(0);
    EXPECT_EQ(GetWindowLongPtrA(w, 64), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_INDEX));
    SetWindowLongPtrA(w, GWLP_USERDATA, 1234);
    EXPECT_EQ(GetWindowLongPtrA(w, GWLP_USERDATA), 1234);

    previousProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(upperCaseText)));
    EXPECT_EQ(previousProc, testWindowProc);
    SetWindowTextA(w, "hello");
    EXPECT_EQ(text(w), "HELLO");
    SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousProc));
    SetWindowTextA(w, "again");
    EXPECT_EQ(text(w), "again");
    SetWindowTextA(w, "Hello world");
    EXPECT_EQ(GetWindowTextLengthA(w), 11);
    char small[6];
    EXPECT_EQ(GetWindowTextA(w, small, sizeof small), 5);
    EXPECT_STREQ(small, "Hello");
    SetWindowTextA(w, nullptr);
    EXPECT_EQ(GetWindowTextLengthA(w), 0);
}

TEST_F(Win32Test, DisablingAWindowTakesTheFocusAway) {
    HWND top = topLevel();
    HWND c = child(top, "TestWindow", "", 0, 0, 0, 10, 10, 1);
    SetFocus(c);
    ASSERT_EQ(GetFocus(), c);
    Log::clear();
    EXPECT_FALSE(EnableWindow(c, FALSE));
    EXPECT_EQ(GetFocus(), nullptr);
    EXPECT_TRUE(Log::saw(c, WM_ENABLE));
    EXPECT_FALSE(IsWindowEnabled(c));
    EXPECT_EQ(SetFocus(c), nullptr);
    EXPECT_NE(GetFocus(), c);
    EXPECT_TRUE(EnableWindow(c, TRUE));
}

namespace {
HHOOK cbtHook = nullptr;
std::vector<std::pair<int, std::string>> cbtSeen;
bool vetoCreation = false;
LRESULT CALLBACK watchCreation(int code, WPARAM wParam, LPARAM lParam) {
    // the system may create windows of its own for the thread (input method windows)
    char cls[32] = "";
    GetClassNameA(reinterpret_cast<HWND>(wParam), cls, sizeof cls);
    if ((code == HCBT_CREATEWND || code == HCBT_DESTROYWND) && std::string(cls) != "TestWindow")
        return CallNextHookEx(cbtHook, code, wParam, lParam);
    if (code == HCBT_CREATEWND) {
        auto* cbt = reinterpret_cast<CBT_CREATEWNDA*>(lParam);
        cbtSeen.emplace_back(code, cbt->lpcs->lpszName ? cbt->lpcs->lpszName : "");
        // the window exists already, before any of its own messages
        EXPECT_TRUE(IsWindow(reinterpret_cast<HWND>(wParam)));
        EXPECT_TRUE(Log::of(reinterpret_cast<HWND>(wParam)).empty());
        if (vetoCreation) return 1;
    } else if (code == HCBT_DESTROYWND) {
        cbtSeen.emplace_back(code, "");
    }
    return CallNextHookEx(cbtHook, code, wParam, lParam);
}
} // namespace

TEST_F(Win32Test, CbtHookSeesCreationFirstAndCanVetoIt) {
    cbtSeen.clear(); // a repeated run starts afresh
    cbtHook = SetWindowsHookExA(WH_CBT, watchCreation, nullptr, GetCurrentThreadId());
    ASSERT_NE(cbtHook, nullptr);
    HWND w = CreateWindowExA(0, "TestWindow", "watched", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(w, nullptr);
    ASSERT_EQ(cbtSeen.size(), 1u);
    EXPECT_EQ(cbtSeen[0].second, "watched");
    vetoCreation = true;
    Log::clear();
    EXPECT_EQ(CreateWindowExA(0, "TestWindow", "vetoed", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr), nullptr);
    EXPECT_TRUE(Log::all().empty()); // a vetoed window never hears a message
    vetoCreation = false;
    DestroyWindow(w);
    EXPECT_EQ(cbtSeen.back().first, HCBT_DESTROYWND);
    UnhookWindowsHookEx(cbtHook);
}

// The selector as a host holds it: copies that keep their own catalog registrations, the input
// assistance opened at the caret of the host's editor, the new line handed back, and Close.
#include "catalog/MostFCatContainer.h"
#include "support/AssistSession.h"

namespace {

using Selector = AssistSession;

// Where the dialog stands when the person has seen it.
RECT dialogRectAfterOpening(const std::function<void()>& open) {
    RECT seen{};
    w32drv::Call([&seen] {
        for (HWND h : w32drv::TopLevelWindows())
            if (w32drv::Inspect(h).className == "#32770") {
                GetWindowRect(h, &seen);
                PostMessageA(h, WM_COMMAND, IDCANCEL, 0);
            }
    });
    open();
    return seen;
}

} // namespace

TEST_F(Selector, CopiesRegisterTheSameCatalogsInContainersOfTheirOwn) {
    KPelorin a(host);
    a.AddFCat("/x/one.xml");
    a.AddFCat(nullptr); // no name, no registration
    a.AddFCat("/x/two.xml");
    const std::vector<std::string> registered{"/x/one.xml", "/x/two.xml"};
    KPelorin copy(a);
    ASSERT_NE(copy.container, a.container);
    EXPECT_EQ(copy.container->files, registered);
    KPelorin assigned(host);
    assigned.AddFCat("/x/other.xml");
    assigned = a;
    ASSERT_NE(assigned.container, a.container);
    EXPECT_EQ(assigned.container->files, registered); // the earlier registration is gone
    KPelorin& same = assigned;
    assigned = same;
    EXPECT_EQ(assigned.container->files, registered);
    a.AddFCat("/x/three.xml"); // later registrations stay with their selector
    EXPECT_EQ(copy.container->files, registered);
    EXPECT_EQ(assigned.container->files, registered);
}

TEST_F(Selector, ShowOpensTheDialogAtTheCaretOfTheHostsEditor) {
    POINT caret{40, 30};
    ClientToScreen(host, &caret);
    RECT atPoint = dialogRectAfterOpening([&] { selector->ShowEx(host, "\"\"", caret.x, caret.y, 1, -1, -1); });
    ASSERT_TRUE(CreateCaret(host, nullptr, 1, 16));
    SetCaretPos(40, 30);
    RECT atCaret = dialogRectAfterOpening([&] { selector->Show(host, "\"\"", 1, -1, -1); });
    DestroyCaret();
    EXPECT_EQ(atCaret.left, atPoint.left);
    EXPECT_EQ(atCaret.top, atPoint.top);
    EXPECT_GT(atCaret.top, 0);
    // a caret left of or above the screen puts the dialog ten pixels in
    HWND offScreen = CreateWindowExA(0, "HostEditor", "", WS_POPUP | WS_VISIBLE, -800, -600, 300, 200, nullptr, nullptr,
                                     nullptr, nullptr);
    RECT fallback = dialogRectAfterOpening([&] { selector->Show(offScreen, "\"\"", 1, -1, -1); });
    EXPECT_EQ(fallback.left, 10);
}

TEST_F(Selector, GetSelectionCopiesTheTerminatorOnlyWhenItFits) {
    open("MOSTMESSAGE FB");
    std::string full = result();
    ASSERT_EQ(full, "MOSTMESSAGE FB");
    char buffer[32];
    std::fill(std::begin(buffer), std::end(buffer), 'x');
    selector->GetSelection(buffer, 5);
    EXPECT_EQ(std::string(buffer, 6), "MOSTMx");
    std::fill(std::begin(buffer), std::end(buffer), 'x');
    selector->GetSelection(buffer, 14);
    EXPECT_EQ(std::string(buffer, 15), "MOSTMESSAGE FBx");
    std::fill(std::begin(buffer), std::end(buffer), 'x');
    selector->GetSelection(buffer, 1);
    EXPECT_EQ(std::string(buffer, 2), "Mx");
    std::fill(std::begin(buffer), std::end(buffer), 'x');
    int displacement = selector->GetSelection(buffer, 32);
    EXPECT_EQ(std::string(buffer, 16), std::string("MOSTMESSAGE FB") + '\0' + 'x'); // nothing after the terminator
    std::fill(std::begin(buffer), std::end(buffer), 'x');
    selector->GetSelection(buffer, -3);
    EXPECT_EQ(buffer[0], 'x');
    EXPECT_EQ(selector->GetSelection(nullptr, 32), displacement); // only the displacement wanted
}

TEST_F(Selector, CloseEndsTheOpenDialogWithCancel) {
    after(500 + 400, [this] { selector->Close(); });
    w32drv::Wait(500);
    typeSlowly("Audio");
    EXPECT_EQ(open("\"\"", 1), IDCANCEL);
    EXPECT_TRUE(w32drv::InputExhaustedDialogs().empty());
}

TEST_F(Selector, ASelectionReachingBeforeTheAddressIsReplacedWithIt) {
    const std::string line = "ab \"AudioAmplifier\"";
    w32drv::Wait(500);
    w32drv::Key(VK_ESCAPE);
    w32drv::Key(VK_ESCAPE);
    EXPECT_EQ(selector->ShowEx(host, line.c_str(), 300, 300, 18, 0, 18), IDCANCEL);
    EXPECT_EQ(result(), "\"AudioAmplifier\""); // "ab " was selected from the line's start
    w32drv::Wait(500);
    w32drv::Key(VK_ESCAPE);
    w32drv::Key(VK_ESCAPE);
    selector->ShowEx(host, line.c_str(), 300, 300, 18, -1, -1); // no selection: at the caret
    EXPECT_EQ(result(), line);
}

TEST_F(Selector, TheDialogTakesTheHostsBackgroundAndItsHintLinesLookLikeTooltips) {
    HDC hostDc = GetDC(host);
    const COLORREF hostBackground = GetBkColor(hostDc);
    ReleaseDC(host, hostDc);
#ifdef _WIN32
    // Wine's tooltip colour is white like the host's; Windows' is light yellow
    const int infoBk = COLOR_INFOBK;
    const COLORREF infoColour = GetSysColor(COLOR_INFOBK), windowsDefault = RGB(255, 255, 225);
    if (infoColour == hostBackground) SetSysColors(1, &infoBk, &windowsDefault);
    struct Restore {
        int element;
        COLORREF colour;
        ~Restore() { SetSysColors(1, &element, &colour); }
    } restore{infoBk, infoColour};
#endif
    ASSERT_NE(hostBackground, GetSysColor(COLOR_INFOBK));
    COLORREF brush = 0, hintBackground = 0, editBackground = 0;
    w32drv::Call([&] {
        HWND dialog = nullptr;
        for (HWND h : w32drv::TopLevelWindows())
            if (w32drv::Inspect(h).className == "#32770") dialog = h;
        ASSERT_NE(dialog, nullptr);
        HDC dc = GetDC(dialog);
        auto b = reinterpret_cast<HGDIOBJ>(SendMessageA(dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                                        reinterpret_cast<LPARAM>(GetDlgItem(dialog, 1019))));
        LOGBRUSH lb{};
        if (GetObjectA(b, sizeof lb, &lb) == sizeof lb) brush = lb.lbColor;
        hintBackground = GetBkColor(dc);
        ReleaseDC(dialog, dc);
        dc = GetDC(dialog);
        SendMessageA(dialog, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(GetDlgItem(dialog, 1000)));
        editBackground = GetBkColor(dc);
        ReleaseDC(dialog, dc);
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    selector->ShowEx(host, "\"\"", 300, 300, 1, -1, -1);
    EXPECT_EQ(brush, hostBackground);
    EXPECT_EQ(hintBackground, GetSysColor(COLOR_INFOBK));
    EXPECT_NE(editBackground, GetSysColor(COLOR_INFOBK));
}

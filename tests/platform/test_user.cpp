// Message boxes, beeps and cursors (as the driver records them), the caret, system values and
// the GDI subset with its fixed text metric.
#include "fixture.h"

TEST_F(Win32Test, MessageBoxesTakeQueuedAnswersAnAnswersOrTheirDefaultButtonAndAreRecorded) {
    HWND owner = topLevel();
    EXPECT_EQ(MessageBoxA(owner, "Really?", "Question", MB_YESNO | MB_ICONEXCLAMATION), IDYES);
    EXPECT_EQ(MessageBoxA(owner, "Really?", "Question", MB_YESNO | MB_DEFBUTTON2), IDNO);
    EXPECT_EQ(MessageBoxA(nullptr, "Done", nullptr, MB_OK), IDOK);
    w32drv::AnswerMessageBox(IDNO);
    w32drv::AnswerMessageBox(IDCANCEL);
    EXPECT_EQ(MessageBoxA(owner, "A", "B", MB_YESNO), IDNO);
    EXPECT_EQ(MessageBoxA(owner, "C", "D", MB_YESNOCANCEL), IDCANCEL);
    auto boxes = w32drv::MessageBoxes();
    ASSERT_EQ(boxes.size(), 5u);
    EXPECT_EQ(boxes[0].owner, owner);
    EXPECT_EQ(boxes[0].text, "Really?");
    EXPECT_EQ(boxes[0].caption, "Question");
    EXPECT_EQ(boxes[0].style, static_cast<UINT>(MB_YESNO | MB_ICONEXCLAMATION));
    EXPECT_EQ(boxes[2].caption, "Error"); // Windows' caption when none is given
    EXPECT_EQ(boxes[3].answer, IDNO);
    w32drv::ClearRecords();
    EXPECT_TRUE(w32drv::MessageBoxes().empty());

    std::vector<std::string> asked;
    int defaultSeen = 0;
    int reply = IDNO;
    w32drv::SetMessageBoxAnswerer([&](const w32drv::MessageBoxRecord& box) {
        asked.push_back(box.caption + ":" + box.text);
        defaultSeen = box.answer;
        return reply;
    });
    EXPECT_EQ(MessageBoxA(nullptr, "Save?", "Q", MB_YESNOCANCEL | MB_DEFBUTTON3), IDNO);
    EXPECT_EQ(defaultSeen, IDCANCEL);
    w32drv::AnswerMessageBox(IDYES);
    EXPECT_EQ(MessageBoxA(nullptr, "Again?", "Q", MB_YESNO), IDYES); // the queue comes first
    EXPECT_EQ(MessageBoxA(nullptr, "Stop", "E", MB_OK), IDOK);       // IDNO is not a button here
    reply = 0;
    EXPECT_EQ(MessageBoxA(nullptr, "Go on?", "Q", MB_OKCANCEL | MB_DEFBUTTON2), IDCANCEL);
    EXPECT_EQ(asked, (std::vector<std::string>{"Q:Save?", "E:Stop", "Q:Go on?"}));
    auto answered = w32drv::MessageBoxes();
    ASSERT_EQ(answered.size(), 4u);
    EXPECT_EQ(answered[0].answer, IDNO);
    EXPECT_EQ(answered[2].answer, IDOK);
    w32drv::SetMessageBoxAnswerer(nullptr);
    EXPECT_EQ(MessageBoxA(nullptr, "Last", "Q", MB_YESNO), IDYES);
    EXPECT_EQ(asked.size(), 3u);
}

TEST_F(Win32Test, BeepsAndCursorChangesAreRecordedInOrder) {
    HEADLESS_ONLY("beeps and cursor changes are recorded");
    MessageBeep(0xFFFFFFFF);
    MessageBeep(MB_ICONEXCLAMATION);
    ASSERT_EQ(w32drv::Beeps().size(), 2u);
    EXPECT_EQ(w32drv::Beeps()[0], 0xFFFFFFFFu);
    HCURSOR wait = LoadCursorA(nullptr, IDC_WAIT);
    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    ASSERT_NE(wait, nullptr);
    EXPECT_NE(wait, arrow);
    HCURSOR before = SetCursor(wait);
    EXPECT_EQ(GetCursor(), wait);
    SetCursor(wait); // no change, no record
    SetCursor(before);
    auto changes = w32drv::CursorChanges();
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(w32drv::CursorName(changes[0]), "IDC_WAIT");
    EXPECT_EQ(LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1)), nullptr);
}

TEST_F(Win32Test, TheCaretBelongsToOneWindowAndKeepsItsPosition) {
    HWND w = topLevel();
    POINT p{-1, -1};
    ASSERT_TRUE(CreateCaret(w, nullptr, 1, 13));
    EXPECT_TRUE(SetCaretPos(30, 4));
    EXPECT_TRUE(GetCaretPos(&p));
    EXPECT_EQ(p.x, 30);
    EXPECT_EQ(p.y, 4);
    EXPECT_TRUE(ShowCaret(w));
    EXPECT_TRUE(HideCaret(w));
    EXPECT_TRUE(DestroyCaret());
}

TEST_F(Win32Test, FontsHaveAFixedMetricAndDeviceContextsKeepTheirColours) {
    HDC dc = GetDC(nullptr);
    HFONT shellDlg = CreateFontA(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "MS Shell Dlg");
    HGDIOBJ old = SelectObject(dc, shellDlg);
    EXPECT_NE(old, nullptr);
    SIZE s;
    ASSERT_TRUE(GetTextExtentPoint32A(dc, "Amplifier", 9, &s));
    TEXTMETRICA tm;
    GetTextMetricsA(dc, &tm);
    if (w32drv::kHeadless) { // the fixed metric of the headless fonts
        EXPECT_EQ(s.cx, 54);
        EXPECT_EQ(s.cy, 13);
        EXPECT_EQ(tm.tmAveCharWidth, 6);
        EXPECT_EQ(tm.tmHeight, 13);
    }
    EXPECT_EQ(GetBkColor(dc), RGB(255, 255, 255));
    EXPECT_EQ(SetBkColor(dc, RGB(1, 2, 3)), RGB(255, 255, 255));
    EXPECT_EQ(GetBkColor(dc), RGB(1, 2, 3));
    EXPECT_EQ(SelectObject(dc, old), shellDlg);
    EXPECT_TRUE(DeleteObject(shellDlg));
    EXPECT_FALSE(GetTextExtentPoint32A(nullptr, "x", 1, &s));
    ReleaseDC(nullptr, dc);
    EXPECT_EQ(LOWORD(GetDialogBaseUnits()) > 0, true);

    HBRUSH b = CreateSolidBrush(RGB(9, 8, 7));
    LOGBRUSH lb{};
    ASSERT_EQ(GetObjectA(b, sizeof lb, &lb), static_cast<int>(sizeof lb));
    EXPECT_EQ(lb.lbColor, RGB(9, 8, 7));
    DeleteObject(b);
    HGDIOBJ stock = GetStockObject(WHITE_BRUSH);
    EXPECT_TRUE(DeleteObject(stock));
    EXPECT_EQ(GetObjectType(stock), static_cast<DWORD>(OBJ_BRUSH)); // stock objects survive deletion
    if (!underWine()) { // Wine's default scheme has a white tooltip background
        EXPECT_EQ(GetSysColor(COLOR_INFOBK), RGB(255, 255, 225));
    }
    EXPECT_NE(GetSysColorBrush(COLOR_BTNFACE), nullptr);
}

TEST_F(Win32Test, ControlsAskTheirParentForColoursWhenPainted) {
    HWND top = topLevel();
    HWND label = child(top, "Static", "Hint", SS_LEFT, 0, 0, 100, 16, 5);
    Log::clear();
    UpdateWindow(label);
    const Received* ask = Log::last(top, WM_CTLCOLORSTATIC);
    ASSERT_NE(ask, nullptr);
    EXPECT_EQ(reinterpret_cast<HWND>(ask->lParam), label);
    // the default answer is the button-face brush
    HDC dc = GetDC(label);
    LRESULT brush = DefWindowProcA(top, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(label));
    EXPECT_EQ(reinterpret_cast<HBRUSH>(brush), GetSysColorBrush(COLOR_3DFACE));
    ReleaseDC(label, dc);
}

TEST(SystemValues, ScreenAndFrameMetricsAreConsistent) {
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1920);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 1080);
    RECT r{0, 0, 100, 100};
    AdjustWindowRectEx(&r, WS_POPUP | WS_BORDER, FALSE, 0);
    EXPECT_EQ(r.left, -GetSystemMetrics(SM_CXBORDER));
    RECT work;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
    EXPECT_EQ(work.right, 1920);
}

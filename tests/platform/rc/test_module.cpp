// The module built from rctest.rc, read through the Win32 API as an application reads it: strings,
// raw resources, dialog templates made into dialogs, icons.
#include "fixture.h"
#include "rctest.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

LRESULT CALLBACK plainProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

INT_PTR CALLBACK dialogProc(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

class RcModuleTest : public Win32Test {
protected:
    void SetUp() override {
        Win32Test::SetUp();
        module = LoadLibraryA("w32rctestmodule.dll");
        ASSERT_NE(module, nullptr);
        WNDCLASSA wc{};
        wc.lpfnWndProc = plainProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "W32RcCustom";
        ASSERT_NE(RegisterClassA(&wc), 0);
        // SCROLLBAR controls need the class; stand in for it where the window system has none
        WNDCLASSA have{};
        if (!GetClassInfoA(nullptr, "ScrollBar", &have)) {
            wc.lpszClassName = "ScrollBar";
            ASSERT_NE(RegisterClassA(&wc), 0);
        }
    }
    void TearDown() override {
        if (module) FreeLibrary(module);
        Win32Test::TearDown();
    }

    std::vector<uint8_t> resource(LPCSTR type, LPCSTR name, WORD language = 0xFFFF) {
        HRSRC r = language == 0xFFFF ? FindResourceA(module, name, type) : FindResourceExA(module, type, name, language);
        if (!r) return {};
        auto* p = static_cast<const uint8_t*>(LockResource(LoadResource(module, r)));
        return std::vector<uint8_t>(p, p + SizeofResource(module, r));
    }

    HMODULE module = nullptr;
};

uint32_t le16(const std::vector<uint8_t>& d, size_t at) { return d[at] | (d[at + 1] << 8); }
uint32_t le32(const std::vector<uint8_t>& d, size_t at) { return le16(d, at) | (le16(d, at + 2) << 16); }

// The UTF-16 text of string `index` (0..15) of a string block.
std::u16string blockString(const std::vector<uint8_t>& block, int index) {
    size_t p = 0;
    for (int i = 0; i < index; ++i) p += 2 * (1 + le16(block, p));
    std::u16string s;
    uint32_t n = le16(block, p);
    for (uint32_t i = 0; i < n; ++i) s.push_back(static_cast<char16_t>(le16(block, p + 2 + 2 * i)));
    return s;
}

int px(int x) { return MulDiv(x, 6, 4); }
int py(int y) { return MulDiv(y, 13, 8); }

} // namespace

TEST_F(RcModuleTest, StringsComeFromTheirBlocksInTheEnglishTable) {
    char buf[64];
    EXPECT_EQ(LoadStringA(module, IDS_HELLO, buf, sizeof buf), 5);
    EXPECT_STREQ(buf, "Hello");
    EXPECT_EQ(LoadStringA(module, IDS_ESCAPES, buf, sizeof buf), 18);
    EXPECT_STREQ(buf, "Say \"hi\"\tnow\\then\n");
    EXPECT_EQ(LoadStringA(module, IDS_BLOCK2, buf, sizeof buf), 9);
    EXPECT_STREQ(buf, "Block two");
    EXPECT_EQ(LoadStringA(module, IDS_LAST, buf, sizeof buf), 4);
    EXPECT_STREQ(buf, "Last");
    EXPECT_EQ(LoadStringA(module, 3, buf, sizeof buf), 0); // in block 1, but not defined
    EXPECT_STREQ(buf, "");
    EXPECT_EQ(LoadStringA(module, 16, buf, sizeof buf), 0); // first of block 2
    EXPECT_EQ(LoadStringA(module, 1000, buf, sizeof buf), 0); // no such block
    EXPECT_EQ(LoadStringA(module, IDS_HELLO, buf, 3), 2); // cut to the buffer
    EXPECT_STREQ(buf, "He");
}

TEST_F(RcModuleTest, GermanTextArrivesAsWindows1252) {
    char buf[64];
    // only the German table has this block, so it is found as "any language"
    ASSERT_EQ(LoadStringA(module, IDS_GERMAN_ONLY, buf, sizeof buf), 21);
    EXPECT_STREQ(buf, "Nur auf Deutsch: \xE4\xF6\xFC\xDF");
    // the English block wins for IDS_HELLO; the German one is there under its own language
    std::vector<uint8_t> german = resource(RT_STRING, MAKEINTRESOURCEA(IDS_HELLO / 16 + 1), 1031);
    ASSERT_EQ(german.size(), 2u * (16 + 14));
    EXPECT_EQ(blockString(german, IDS_HELLO), u"Gr\u00FC\u00DFe aus K\u00F6ln");
    EXPECT_EQ(blockString(german, 0), u"");
    std::vector<uint8_t> english = resource(RT_STRING, MAKEINTRESOURCEA(1), 1033);
    EXPECT_EQ(blockString(english, IDS_HELLO), u"Hello");
    std::vector<uint8_t> block3 = resource(RT_STRING, MAKEINTRESOURCEA(IDS_GERMAN_ONLY / 16 + 1), 1031);
    ASSERT_FALSE(block3.empty());
    EXPECT_EQ(blockString(block3, IDS_GERMAN_ONLY % 16), u"Nur auf Deutsch: \u00E4\u00F6\u00FC\u00DF");
}

TEST_F(RcModuleTest, TheProgramHasItsOwnTable) {
    char buf[64];
    EXPECT_EQ(LoadStringA(GetModuleHandleA(nullptr), 1, buf, sizeof buf), 16);
    EXPECT_STREQ(buf, "from the program");
    EXPECT_EQ(LoadStringA(module, 1, buf, sizeof buf), 5); // the module's string of the same number
    EXPECT_STREQ(buf, "Hello");
    EXPECT_EQ(FindResourceA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ALL), RT_DIALOG), nullptr);
}

TEST_F(RcModuleTest, RawResourcesKeepTheirBytesAndNames) {
    std::vector<uint8_t> data = resource(RT_RCDATA, MAKEINTRESOURCEA(IDR_DATA));
    EXPECT_EQ(data, (std::vector<uint8_t>{1, 0, 2, 0, 0, 0, 'a', 'b', 'c', 0}));
    HRSRC named = FindResourceA(module, "Sample", RT_RCDATA); // string names are upper case
    ASSERT_NE(named, nullptr);
    EXPECT_EQ(SizeofResource(module, named), 2u);
    EXPECT_EQ(FindResourceA(module, MAKEINTRESOURCEA(IDR_DATA + 1), RT_RCDATA), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
}

TEST_F(RcModuleTest, DialogTemplateHeaderIsDlgTemplateEx) {
    std::vector<uint8_t> t = resource(RT_DIALOG, MAKEINTRESOURCEA(IDD_ALL));
    ASSERT_GT(t.size(), 26u);
    EXPECT_EQ(le16(t, 0), 1u);
    EXPECT_EQ(le16(t, 2), 0xFFFFu);
    EXPECT_EQ(le32(t, 4), 0u);                                                          // help id
    EXPECT_EQ(le32(t, 8), 0u);                                                          // extended style
    EXPECT_EQ(le32(t, 12), static_cast<uint32_t>(DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT));
    EXPECT_EQ(le16(t, 16), 20u);                                                        // controls
    EXPECT_EQ(le16(t, 18), 10u);
    EXPECT_EQ(le16(t, 20), 20u);
    EXPECT_EQ(le16(t, 22), 300u);
    EXPECT_EQ(le16(t, 24), 200u);
    EXPECT_EQ(le16(t, 26), 0u); // no menu
    EXPECT_EQ(le16(t, 28), 0u); // the dialog class
    size_t p = 30;
    std::string caption;
    while (le16(t, p)) caption.push_back(static_cast<char>(le16(t, p))), p += 2;
    EXPECT_EQ(caption, "All controls");
    p += 2;
    EXPECT_EQ(le16(t, p), 8u);   // points
    EXPECT_EQ(le16(t, p + 2), 400u); // weight
    EXPECT_EQ(t[p + 4], 0u);     // italic
    EXPECT_EQ(t[p + 5], 1u);     // charset
}

TEST_F(RcModuleTest, EveryControlOfTheDialogHasItsClassIdStyleAndRectangle) {
    HWND dlg = CreateDialogParamA(module, MAKEINTRESOURCEA(IDD_ALL), nullptr, dialogProc, 0);
    ASSERT_NE(dlg, nullptr);
    struct Expected {
        const char* cls;
        int id;
        DWORD style;
        int x, y, cx, cy;
        bool exactSize;
    };
    const DWORD cv = WS_CHILD | WS_VISIBLE;
    const Expected expected[] = {
        {"Static", IDC_LTEXT, cv | SS_LEFT | WS_GROUP, 4, 4, 40, 8, true},
        {"Static", IDC_RTEXT, cv | SS_RIGHT | WS_GROUP | SS_NOPREFIX, 48, 4, 40, 8, true},
        {"Static", IDC_CTEXT, cv | SS_CENTER, 92, 4, 40, 8, true},
        {"Edit", IDC_EDIT, cv | ES_LEFT | WS_TABSTOP | ES_AUTOHSCROLL, 4, 16, 80, 14, true},
        {"Button", IDC_PUSH, cv | BS_PUSHBUTTON | WS_TABSTOP, 4, 34, 50, 14, true},
        {"Button", IDOK, cv | BS_DEFPUSHBUTTON | WS_TABSTOP, 58, 34, 50, 14, true},
        {"Button", IDC_GROUP, cv | BS_GROUPBOX, 4, 52, 120, 60, true},
        {"Button", IDC_CHECK, cv | BS_CHECKBOX | WS_TABSTOP, 8, 62, 60, 10, true},
        {"Button", IDC_AUTOCHECK, cv | BS_AUTOCHECKBOX | WS_TABSTOP, 8, 74, 60, 10, true},
        {"Button", IDC_RADIO, cv | BS_RADIOBUTTON | WS_TABSTOP | WS_GROUP, 8, 86, 60, 10, true},
        {"Button", IDC_AUTORADIO, cv | BS_AUTORADIOBUTTON | WS_TABSTOP, 8, 98, 60, 10, true},
        {"Button", IDC_STATE3, cv | BS_3STATE | WS_TABSTOP, 70, 62, 50, 10, true},
        {"Button", IDC_AUTO3STATE, cv | BS_AUTO3STATE, 70, 74, 50, 10, true},
        // a drop-down list keeps its own height; its list is what the template's height sizes
        {"ComboBox", IDC_COMBO, cv | CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 130, 4, 80, 60, false},
        {"ListBox", IDC_LIST, cv | LBS_NOTIFY | LBS_SORT | LBS_NOINTEGRALHEIGHT, 130, 20, 80, 40, true},
        {"ScrollBar", IDC_SCROLL, cv | SBS_HORZ, 130, 64, 80, 10, true},
        // an icon control takes the size of its icon
        {"Static", IDC_ICON, cv | SS_ICON, 220, 4, 20, 20, false},
        {"W32RcCustom", IDC_CUSTOM, cv | WS_TABSTOP | 0x12, 220, 30, 70, 48, true},
        {"Button", IDC_CONTROLBUTTON, WS_CHILD | BS_AUTOCHECKBOX, 220, 82, 70, 10, true},
        {"Static", 0xFFFF, cv | SS_LEFT | WS_GROUP, 4, 120, 40, 8, true},
    };
    HWND c = GetWindow(dlg, GW_CHILD);
    for (const Expected& e : expected) {
        SCOPED_TRACE(e.id);
        ASSERT_NE(c, nullptr);
        char cls[64];
        GetClassNameA(c, cls, sizeof cls);
        EXPECT_STREQ(cls, e.cls);
        EXPECT_EQ(GetDlgCtrlID(c), e.id);
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(c, GWL_STYLE)), e.style);
        RECT r;
        GetWindowRect(c, &r);
        MapWindowPoints(nullptr, dlg, reinterpret_cast<LPPOINT>(&r), 2);
        EXPECT_EQ(r.left, px(e.x));
        EXPECT_EQ(r.top, py(e.y));
        if (e.exactSize) {
            EXPECT_EQ(r.right, px(e.x + e.cx));
            EXPECT_EQ(r.bottom, py(e.y + e.cy));
        }
        c = GetWindow(c, GW_HWNDNEXT);
    }
    EXPECT_EQ(c, nullptr); // and no more
    EXPECT_TRUE(GetWindowLongA(GetDlgItem(dlg, IDC_CUSTOM), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_EQ(text(GetDlgItem(dlg, IDC_PUSH)), "&Push");
    EXPECT_EQ(text(dlg), "All controls");
    EXPECT_TRUE(GetWindowLongA(dlg, GWL_STYLE) & WS_CAPTION);
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(dlg, IDC_CONTROLBUTTON)));
    DestroyWindow(dlg);
}

TEST_F(RcModuleTest, OldStyleDialogTemplateMakesADialogToo) {
    std::vector<uint8_t> t = resource(RT_DIALOG, MAKEINTRESOURCEA(IDD_OLD));
    ASSERT_GT(t.size(), 18u);
    EXPECT_EQ(le32(t, 0), static_cast<uint32_t>(WS_POPUP | WS_BORDER | DS_SETFONT)); // DLGTEMPLATE starts with the style
    HWND dlg = CreateDialogParamA(module, MAKEINTRESOURCEA(IDD_OLD), nullptr, dialogProc, 0);
    ASSERT_NE(dlg, nullptr);
    HWND button = GetDlgItem(dlg, IDC_OLDBUTTON);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(button, GWL_STYLE)), WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON | WS_TABSTOP);
    RECT r;
    GetWindowRect(button, &r);
    MapWindowPoints(nullptr, dlg, reinterpret_cast<LPPOINT>(&r), 2);
    EXPECT_EQ(r.left, px(10));
    EXPECT_EQ(r.top, py(10));
    EXPECT_EQ(r.right, px(50));
    EXPECT_EQ(r.bottom, py(24));
    DestroyWindow(dlg);
}

TEST_F(RcModuleTest, MissingDialogsFail) {
    EXPECT_EQ(DialogBoxParamA(module, MAKEINTRESOURCEA(999), nullptr, dialogProc, 0), -1);
    EXPECT_EQ(CreateDialogParamA(module, MAKEINTRESOURCEA(IDD_ALL + 50), nullptr, dialogProc, 0), nullptr);
    EXPECT_EQ(CreateDialogParamA(module, "IDD_ALL", nullptr, dialogProc, 0), nullptr); // numbered, not named
}

TEST_F(RcModuleTest, IconGroupRefersToItsImages) {
    EXPECT_NE(LoadIconA(module, MAKEINTRESOURCEA(IDI_TEST)), nullptr);
    EXPECT_EQ(LoadIconA(module, MAKEINTRESOURCEA(IDI_TEST + 1)), nullptr);
    std::vector<uint8_t> group = resource(RT_GROUP_ICON, MAKEINTRESOURCEA(IDI_TEST));
    ASSERT_EQ(group.size(), 6u + 14u);
    EXPECT_EQ(le16(group, 0), 0u);
    EXPECT_EQ(le16(group, 2), 1u);
    EXPECT_EQ(le16(group, 4), 1u);
    EXPECT_EQ(group[6], 16u);  // width
    EXPECT_EQ(group[7], 16u);  // height
    EXPECT_EQ(le16(group, 10), 1u);  // planes
    EXPECT_EQ(le16(group, 12), 32u); // bits per pixel
    uint32_t bytes = le32(group, 14);
    uint32_t id = le16(group, 18);
    std::vector<uint8_t> image = resource(RT_ICON, MAKEINTRESOURCEA(id));
    ASSERT_EQ(image.size(), bytes);
    EXPECT_EQ(le32(image, 0), 40u); // a BITMAPINFOHEADER
    EXPECT_EQ(le32(image, 4), 16u);
    EXPECT_EQ(le32(image, 8), 32u); // twice the height: colours and mask
}

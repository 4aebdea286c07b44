// Application and module: the wait cursor, the clipboard data object, module state scopes that
// switch the resource module, and a module that links its own copy of the framework (start, its
// own state and resources, a language module, end without leftovers).
#include <afxole.h>

#include "fixture.h"

#include <cstring>

// ---- wait cursor ----

using WaitCursorTest = AfxTest;

TEST_F(WaitCursorTest, TheHourglassShowsOnceForNestedScopesAndTheApplicationDecidesHowToWait) {
    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    HCURSOR wait = LoadCursorA(nullptr, IDC_WAIT);
    SetCursor(arrow);
    w32drv::ClearRecords();
    {
        CWaitCursor outer;
        { CWaitCursor inner; }
        EXPECT_EQ(GetCursor(), wait); // the outer scope still waits
        SetCursor(arrow);             // something changed it meanwhile
        outer.Restore();
    }
    if (w32drv::kHeadless) { // cursor changes are recorded only headless
        EXPECT_EQ(w32drv::CursorChanges(), (std::vector<HCURSOR>{wait, arrow, wait, arrow}));
    }
    EXPECT_EQ(GetCursor(), arrow);

    class CWaitingApp : public CWinApp {
    public:
        std::vector<int> codes;
        void DoWaitCursor(int nCode) override {
            codes.push_back(nCode);
            CWinApp::DoWaitCursor(nCode);
        }
    } app;
    w32drv::ClearRecords();
    {
        CWaitCursor scope;
        app.BeginWaitCursor();
        app.EndWaitCursor();
    }
    EXPECT_EQ(app.codes, (std::vector<int>{1, 1, -1, -1}));
    if (w32drv::kHeadless) {
        EXPECT_EQ(w32drv::CursorChanges(), (std::vector<HCURSOR>{wait, arrow}));
    }
    EXPECT_EQ(GetCursor(), arrow);
}

// ---- clipboard data object ----

namespace {

void PutText(const char* text, UINT format = CF_TEXT) {
    size_t n = std::strlen(text) + 1;
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, n);
    std::memcpy(GlobalLock(mem), text, n);
    GlobalUnlock(mem);
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    SetClipboardData(format, mem);
    CloseClipboard();
}

using ClipboardTest = AfxTest;

} // namespace

TEST_F(ClipboardTest, TheDataObjectHandsOutCopiesOfTheTextAndNeverKeepsTheClipboard) {
    PutText("1f");
    COleDataObject data;
    EXPECT_FALSE(data.IsDataAvailable(CF_TEXT)); // not attached yet
    ASSERT_TRUE(OpenClipboard(PlainTopLevel()));
    EXPECT_FALSE(data.AttachClipboard()); // held open by another window
    EXPECT_FALSE(data.IsDataAvailable(CF_TEXT));
    CloseClipboard();
    ASSERT_TRUE(data.AttachClipboard());
    EXPECT_TRUE(data.IsDataAvailable(CF_TEXT));
    EXPECT_FALSE(data.IsDataAvailable(CF_BITMAP));
    EXPECT_EQ(data.GetGlobalData(CF_BITMAP), nullptr);
    HGLOBAL mem = data.GetGlobalData(CF_TEXT);
    ASSERT_NE(mem, nullptr);
    char* copy = static_cast<char*>(GlobalLock(mem));
    EXPECT_STREQ(copy, "1f");
    copy[0] = 'X';
    GlobalUnlock(mem);
    // an edit pastes the clipboard's own text while the data object is still attached
    CDialog dlg;
    ASSERT_TRUE(dlg.CreateIndirect(tmpl.Get()));
    SendDlgItemMessageA(dlg.m_hWnd, kIdEdit, WM_PASTE, 0, 0);
    EXPECT_EQ(TextOf(GetDlgItem(dlg.m_hWnd, kIdEdit)), "1f");
    data.Release();
    EXPECT_FALSE(data.IsDataAvailable(CF_TEXT));

    PutText("not text", 0xC123); // only a private format
    ASSERT_TRUE(data.AttachClipboard());
    EXPECT_FALSE(data.IsDataAvailable(CF_TEXT));
    EXPECT_EQ(data.GetGlobalData(CF_TEXT), nullptr);
}

// ---- module state and resources ----

namespace {

class CLabelDlg : public CDialog {
public:
    CLabelDlg() : CDialog(100) {}
    std::string m_caption;

protected:
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        GetWindowText(m_caption);
        return TRUE;
    }
};

// Runs template 100 of the current resource module; its caption, or "" when it did not open.
std::string CaptionOfDialog100() {
    CLabelDlg dlg;
    w32drv::Key(VK_RETURN);
    INT_PTR result = dlg.DoModal();
    if (result != IDOK) w32drv::ClearInput();
    return result == IDOK ? dlg.m_caption : std::string();
}

class ModuleTest : public AfxTest {
protected:
    void SetUp() override {
        AfxTest::SetUp();
        module = LoadLibraryA("afxtestmodule.dll");
        lang = LoadLibraryA("afxtestlang.dll");
    }
    void TearDown() override {
        if (lang) FreeLibrary(lang);
        if (module) FreeLibrary(module);
        AfxTest::TearDown();
    }
    // through void (*)(), the generic function pointer type, as GetProcAddress results are cast
    template <class F> F Get(const char* name) {
        return reinterpret_cast<F>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
    }
    HMODULE module = nullptr;
    HMODULE lang = nullptr;
};

} // namespace

TEST_F(ModuleTest, AManagedStateScopeSwitchesTheResourceModuleAndRestoresIt) {
    ASSERT_NE(module, nullptr);
    ASSERT_NE(lang, nullptr);
    HINSTANCE self = GetModuleHandleA(nullptr);
    EXPECT_EQ(AfxFindModuleInstance(), self);
    EXPECT_EQ(AfxGetInstanceHandle(), self);
    EXPECT_EQ(AfxGetResourceHandle(), self);
    EXPECT_EQ(AfxGetApp(), nullptr);
    int local = 0;
    EXPECT_EQ(AfxFindModuleInstance(&local), nullptr); // a stack address lies in no module

    EXPECT_EQ(CaptionOfDialog100(), ""); // this program holds no template 100
    AfxSetResourceHandle(lang);
    EXPECT_EQ(CaptionOfDialog100(), "Sprachdialog");
    AFX_MODULE_STATE other;
    other.m_hCurrentInstanceHandle = module;
    other.m_hCurrentResourceHandle = module;
    {
        AFX_MANAGE_STATE(&other);
        EXPECT_EQ(AfxGetModuleState(), &other);
        EXPECT_EQ(CaptionOfDialog100(), "Module dialog");
        {
            AFX_MANAGE_STATE(AfxGetStaticModuleState());
            EXPECT_EQ(CaptionOfDialog100(), "Sprachdialog");
        }
        EXPECT_EQ(AfxGetResourceHandle(), module);
        // a modeless dialog by number comes from the current resource module too
        CLabelDlg modeless;
        ASSERT_TRUE(modeless.Create(100));
        EXPECT_EQ(modeless.m_caption, "Module dialog");
        EXPECT_TRUE(modeless.DestroyWindow());
        AfxSetResourceHandle(lang); // changes the current state only
        EXPECT_EQ(other.m_hCurrentResourceHandle, lang);
    }
    EXPECT_EQ(AfxGetModuleState(), AfxGetStaticModuleState());
    EXPECT_EQ(AfxGetResourceHandle(), lang);
    EXPECT_EQ(AfxGetInstanceHandle(), self);
}

TEST_F(ModuleTest, AModuleWithItsOwnFrameworkStartsRunsItsDialogsAndEndsCleanly) {
    ASSERT_NE(module, nullptr);
    auto report = Get<void (*)(AfxTestModuleReport*)>("AfxTestReport");
    auto useResources = Get<void (*)(HINSTANCE)>("AfxTestUseResources");
    auto runDialog = Get<INT_PTR (*)(HWND, char*, char*, int)>("AfxTestRunDialog");
    auto countExits = Get<void (*)(int*)>("AfxTestCountExits");
    ASSERT_TRUE(report && useResources && runDialog && countExits);

    // started once by its static object, with its own handles
    AfxTestModuleReport r{};
    report(&r);
    EXPECT_EQ(r.initCount, 1);
    EXPECT_EQ(r.instanceAtInit, module);
    EXPECT_EQ(r.instance, module);
    EXPECT_EQ(r.resources, module);
    EXPECT_STREQ(r.appName, "afxtestmodule");
    EXPECT_EQ(AfxGetInstanceHandle(), GetModuleHandleA(nullptr)); // this program's state is another

    HWND parent = PlainTopLevel();
    char caption[64], label[64];
    w32drv::Key(VK_RETURN);
    EXPECT_EQ(runDialog(parent, caption, label, 64), IDOK);
    EXPECT_STREQ(caption, "Module dialog");
    EXPECT_STREQ(label, "from the module");
    EXPECT_TRUE(IsWindowEnabled(parent));
    report(&r); // the parent's wrapper made inside the call lives on with the parent window
    EXPECT_EQ(r.temporaryWindows, 1u);

    // the language module becomes the module's resource module; this program's stays
    useResources(lang);
    report(&r);
    EXPECT_EQ(r.resources, lang);
    EXPECT_EQ(AfxGetResourceHandle(), GetModuleHandleA(nullptr));
    w32drv::Key(VK_ESCAPE);
    EXPECT_EQ(runDialog(parent, caption, label, 64), IDCANCEL);
    EXPECT_STREQ(caption, "Sprachdialog");
    EXPECT_STREQ(label, "aus dem Sprachmodul");

    // unloading ends the application; what the module still held is freed (LeakSanitizer would
    // report it once the module is gone)
    int exits = 0;
    countExits(&exits);
    EXPECT_TRUE(FreeLibrary(module));
    module = nullptr;
    EXPECT_EQ(exits, 1);
}

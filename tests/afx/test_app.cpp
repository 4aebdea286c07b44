// Application and module: the wait cursor, the clipboard data object, module state scopes that
// switch the resource module, and a module that links its own copy of the framework (start, its
// own state and resources, a language module, end without leftovers).
#include <afxole.h>

#include "fixture.h"

#include <cstring>

// ---- wait cursor ----

using WaitCursorTest = AfxTest;

TEST_F(WaitCursorTest, TheHourglassShowsOnceForNestedScopesAndTheOldCursorReturns) {
    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    SetCursor(arrow);
    w32drv::ClearRecords();
    {
        CWaitCursor outer;
        EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_WAIT));
        { CWaitCursor inner; }
        EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_WAIT)); // the outer scope still waits
        SetCursor(arrow);                                       // something changed it meanwhile
        outer.Restore();
    }
    auto changes = w32drv::CursorChanges();
    ASSERT_EQ(changes.size(), 4u);
    EXPECT_EQ(w32drv::CursorName(changes[0]), "IDC_WAIT");
    EXPECT_EQ(changes[1], arrow);
    EXPECT_EQ(w32drv::CursorName(changes[2]), "IDC_WAIT");
    EXPECT_EQ(changes[3], arrow);
    EXPECT_EQ(GetCursor(), arrow);
}

TEST_F(WaitCursorTest, TheApplicationDecidesHowToWait) {
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
        CWaitCursor wait;
        app.BeginWaitCursor();
        app.EndWaitCursor();
    }
    EXPECT_EQ(app.codes, (std::vector<int>{1, 1, -1, -1}));
    ASSERT_EQ(w32drv::CursorChanges().size(), 2u);
    EXPECT_EQ(w32drv::CursorName(w32drv::CursorChanges()[0]), "IDC_WAIT");
}

// ---- clipboard data object ----

namespace {

class ClipboardTest : public AfxTest {
protected:
    static void PutText(const char* text, UINT format = CF_TEXT) {
        size_t n = std::strlen(text) + 1;
        HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, n);
        std::memcpy(GlobalLock(mem), text, n);
        GlobalUnlock(mem);
        ASSERT_TRUE(OpenClipboard(nullptr));
        EmptyClipboard();
        SetClipboardData(format, mem);
        CloseClipboard();
    }
    static std::string Read(HGLOBAL mem) {
        auto* p = static_cast<const char*>(GlobalLock(mem));
        std::string s = p ? p : "";
        GlobalUnlock(mem);
        return s;
    }
};

} // namespace

TEST_F(ClipboardTest, TheDataObjectHandsOutACopyOfTheClipboardText) {
    PutText("1f");
    COleDataObject data;
    EXPECT_FALSE(data.IsDataAvailable(CF_TEXT)); // not attached yet
    ASSERT_TRUE(data.AttachClipboard());
    EXPECT_TRUE(data.IsDataAvailable(CF_TEXT));
    EXPECT_FALSE(data.IsDataAvailable(CF_BITMAP));
    HGLOBAL mem = data.GetGlobalData(CF_TEXT);
    ASSERT_NE(mem, nullptr);
    EXPECT_EQ(Read(mem), "1f");
    EXPECT_EQ(data.GetGlobalData(CF_BITMAP), nullptr);
    // a copy: changing it leaves the clipboard as it was
    static_cast<char*>(GlobalLock(mem))[0] = 'X';
    GlobalUnlock(mem);
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_EQ(Read(GetClipboardData(CF_TEXT)), "1f");
    CloseClipboard();
    data.Release();
    EXPECT_FALSE(data.IsDataAvailable(CF_TEXT));
}

TEST_F(ClipboardTest, TheDataObjectNeverKeepsTheClipboardFromAnEditsPaste) {
    PutText("42");
    DialogTemplate tmpl = InputDialogTemplate();
    CDialog dlg;
    ASSERT_TRUE(dlg.CreateIndirect(tmpl.Get()));
    CEdit edit;
    ASSERT_TRUE(edit.SubclassDlgItem(kIdEdit, &dlg));
    COleDataObject data;
    ASSERT_TRUE(data.AttachClipboard());
    ASSERT_NE(data.GetGlobalData(CF_TEXT), nullptr);
    edit.Paste(); // while the data object is still attached
    std::string text;
    edit.GetWindowText(text);
    EXPECT_EQ(text, "42");
}

TEST_F(ClipboardTest, AClipboardHeldOpenByAnotherWindowCannotBeAttached) {
    PutText("x");
    HWND other = PlainTopLevel();
    ASSERT_TRUE(OpenClipboard(other));
    COleDataObject data;
    EXPECT_FALSE(data.AttachClipboard());
    EXPECT_FALSE(data.IsDataAvailable(CF_TEXT));
    CloseClipboard();
    EXPECT_TRUE(data.AttachClipboard());
}

TEST_F(ClipboardTest, OnlyNonTextDataMeansNoText) {
    const UINT kPrivateFormat = 0xC123;
    PutText("not text", kPrivateFormat);
    COleDataObject data;
    ASSERT_TRUE(data.AttachClipboard());
    EXPECT_FALSE(data.IsDataAvailable(CF_TEXT));
    EXPECT_EQ(data.GetGlobalData(CF_TEXT), nullptr);
}

// ---- module state and resources ----

namespace {

class CLabelDlg : public CDialog {
public:
    explicit CLabelDlg(CWnd* pParent = nullptr) : CDialog(100, pParent) {}
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

TEST_F(ModuleTest, TheModuleStartsWithItsOwnInstanceAndResourceHandles) {
    HINSTANCE self = GetModuleHandleA(nullptr);
    EXPECT_EQ(AfxFindModuleInstance(), self);
    EXPECT_EQ(AfxGetInstanceHandle(), self);
    EXPECT_EQ(AfxGetResourceHandle(), self);
    EXPECT_EQ(AfxGetApp(), nullptr);
    int local = 0;
    EXPECT_EQ(AfxFindModuleInstance(&local), nullptr); // a stack address lies in no module
}

TEST_F(ModuleTest, AManagedStateScopeSwitchesTheResourceModuleAndRestoresIt) {
    module = LoadLibraryA("afxtestmodule.dll");
    lang = LoadLibraryA("afxtestlang.dll");
    ASSERT_NE(module, nullptr);
    ASSERT_NE(lang, nullptr);

    EXPECT_EQ(CaptionOfDialog100(), ""); // this program holds no template 100
    AfxSetResourceHandle(lang);
    EXPECT_EQ(CaptionOfDialog100(), "Sprachdialog");

    AFX_MODULE_STATE other;
    other.m_hCurrentInstanceHandle = module;
    other.m_hCurrentResourceHandle = module;
    {
        AFX_MANAGE_STATE(&other);
        EXPECT_EQ(AfxGetModuleState(), &other);
        EXPECT_EQ(AfxGetResourceHandle(), module);
        EXPECT_EQ(CaptionOfDialog100(), "Module dialog");
        {
            AFX_MANAGE_STATE(AfxGetStaticModuleState());
            EXPECT_EQ(AfxGetResourceHandle(), lang);
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
    EXPECT_EQ(AfxGetInstanceHandle(), GetModuleHandleA(nullptr));
}

TEST_F(ModuleTest, AModuleWithItsOwnFrameworkStartsRunsItsDialogsAndEndsCleanly) {
    module = LoadLibraryA("afxtestmodule.dll");
    ASSERT_NE(module, nullptr);
    auto initCount = Get<int (*)()>("AfxTestInitCount");
    auto instanceAtInit = Get<HINSTANCE (*)()>("AfxTestInstanceAtInit");
    auto instance = Get<HINSTANCE (*)()>("AfxTestInstance");
    auto resources = Get<HINSTANCE (*)()>("AfxTestResourceHandle");
    auto appName = Get<const char* (*)()>("AfxTestAppName");
    auto useResources = Get<void (*)(HINSTANCE)>("AfxTestUseResources");
    auto runDialog = Get<INT_PTR (*)(HWND, char*, char*, int)>("AfxTestRunDialog");
    auto temporaryWindows = Get<size_t (*)()>("AfxTestTemporaryWindows");
    auto countExits = Get<void (*)(int*)>("AfxTestCountExits");
    ASSERT_TRUE(initCount && instanceAtInit && instance && resources && appName && useResources &&
                runDialog && temporaryWindows && countExits);

    // started once by its static object, with its own handles
    EXPECT_EQ(initCount(), 1);
    EXPECT_EQ(instanceAtInit(), module);
    EXPECT_EQ(instance(), module);
    EXPECT_EQ(resources(), module);
    EXPECT_STREQ(appName(), "afxtestmodule");
    // this program's own framework state is another one
    EXPECT_EQ(AfxGetInstanceHandle(), GetModuleHandleA(nullptr));

    HWND parent = PlainTopLevel();
    char caption[64], label[64];
    w32drv::Key(VK_RETURN);
    EXPECT_EQ(runDialog(parent, caption, label, 64), IDOK);
    EXPECT_STREQ(caption, "Module dialog");
    EXPECT_STREQ(label, "from the module");
    EXPECT_TRUE(IsWindowEnabled(parent));
    // the parent's wrapper made inside the call lives on with the parent window
    EXPECT_EQ(temporaryWindows(), 1u);

    // the language module becomes the module's resource module; this program's stays
    lang = LoadLibraryA("afxtestlang.dll");
    ASSERT_NE(lang, nullptr);
    useResources(lang);
    EXPECT_EQ(resources(), lang);
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

// A module with the framework linked in, as the system's own module is: an application object,
// start and end through a static object, a dialog template of its own (afxtestmodule.rc), and
// exported entry points that switch to the module's state.
#include <afxwin.h>

#include <cstring>
#include <string>

#include "../templates.h"

#ifdef _WIN32
#define AFXTEST_EXPORT extern "C" __declspec(dllexport)
#else
#define AFXTEST_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace {

int g_initCount = 0;
int* g_exitCounter = nullptr;
HINSTANCE g_instanceAtInit = nullptr;

class CTestModuleApp : public CWinApp {
public:
    BOOL InitInstance() override {
        ++g_initCount;
        g_instanceAtInit = AfxGetInstanceHandle();
        return CWinApp::InitInstance();
    }
    int ExitInstance() override {
        if (g_exitCounter) ++*g_exitCounter;
        return CWinApp::ExitInstance();
    }
};

class CModuleDlg : public CDialog {
public:
    explicit CModuleDlg(CWnd* pParent) : CDialog(100, pParent) {}
    std::string m_caption, m_label;

protected:
    void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, kIdLabel, m_labelControl); }
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        GetWindowText(m_caption);
        m_labelControl.GetWindowText(m_label);
        return TRUE;
    }

private:
    CStatic m_labelControl;
};

void Copy(const std::string& text, char* buffer, int size) {
    std::strncpy(buffer, text.c_str(), static_cast<size_t>(size) - 1);
    buffer[size - 1] = 0;
}

} // namespace

CTestModuleApp theApp;
static CAfxModuleEntry theModuleEntry;

AFXTEST_EXPORT void AfxTestReport(AfxTestModuleReport* report) {
    report->initCount = g_initCount;
    report->instanceAtInit = g_instanceAtInit;
    report->temporaryWindows = AfxGetModuleThreadState()->m_mapHWND.GetTemporaryCount();
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    report->instance = AfxGetInstanceHandle();
    report->resources = AfxGetResourceHandle();
    report->appName = AfxGetApp() ? AfxGetApp()->m_pszAppName : nullptr;
}

AFXTEST_EXPORT void AfxTestUseResources(HINSTANCE hResources) {
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    AfxSetResourceHandle(hResources);
}

AFXTEST_EXPORT INT_PTR AfxTestRunDialog(HWND hWndParent, char* caption, char* label, int size) {
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    CModuleDlg dlg(CWnd::FromHandle(hWndParent));
    INT_PTR result = dlg.DoModal();
    Copy(dlg.m_caption, caption, size);
    Copy(dlg.m_label, label, size);
    return result;
}

AFXTEST_EXPORT void AfxTestCountExits(int* counter) {
    g_exitCounter = counter;
}

#include "facade/Pelorin.h"

#include "facade/SelDialogClient.h"

#include "assist/MostFCatDlg.h"
#include "catalog/MostFCatContainer.h"
#include "base/LanguageResources.h"
#include "base/ProcessState.h"
#include "resources/resource.h"

#include <afxwin.h>

#include <cstring>
#include <new>

KPelorin::KPelorin(HWND parent) {
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    LoadLanguageResources(); // a missing language module does not stop the selector
    container = new (std::nothrow) KMostFCatContainer;
    KProcessState& process = ProcessState();
    if (!process.inputDialog)
        process.inputDialog = ProcessOwned<KMostFCatDlg>(new KMostFCatDlg(CWnd::FromHandle(parent)),
                                                         [](KMostFCatDlg* dialog) { delete dialog; });
    process.currentInputDialog = process.inputDialog.get();
}

KPelorin::KPelorin(const KPelorin& other) : container(new (std::nothrow) KMostFCatContainer) {
    if (container && other.container)
        for (const auto& f : other.container->files) container->AddFCat(f);
}

KPelorin& KPelorin::operator=(const KPelorin& other) {
    // the copy is made before the old container goes, so assigning a selector to itself is safe
    KMostFCatContainer* copy = new (std::nothrow) KMostFCatContainer;
    if (copy && other.container)
        for (const auto& f : other.container->files) copy->AddFCat(f);
    delete container;
    container = copy;
    return *this;
}

KPelorin::~KPelorin() { delete container; }

void KPelorin::AddFCat(const char* fileName) {
    if (container && fileName) container->AddFCat(fileName);
}

int KPelorin::IsDataAvailable() { return container && container->IsDataAvailable() ? 1 : 0; }

int KPelorin::Show(HWND parent, const char* text, int caret, int selStart, int selEnd) {
    POINT p{0, 0};
    GetCaretPos(&p);
    ClientToScreen(parent, &p);
    // a caret above or left of the screen puts the dialog near the screen's corner instead
    const int kFallback = 10;
    return ShowEx(parent, text, p.x < 0 ? kFallback : p.x, p.y < 0 ? kFallback : p.y, caret, selStart, selEnd);
}

int KPelorin::ShowEx(HWND parent, const char* text, int x, int y, int caret, int selStart, int selEnd) {
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    KMostFCatDlg* dlg = ProcessState().currentInputDialog;
    if (container) container->LoadFCats();
    if (!container || !container->IsDataAvailable() || !dlg) {
        MessageBoxA(parent, LoadResourceText(IDS_NO_DATA).c_str(), "Information", MB_OK | MB_ICONINFORMATION);
        return 0;
    }
    CWnd* host = CWnd::FromHandle(parent);
    dlg->SetContainer(container);
    dlg->SetParentBackground(host);
    if (selStart < 0) selStart = caret;
    if (selEnd < 0 || selEnd < selStart) selEnd = selStart;
    dlg->SetSourceText(text ? text : "", caret, selStart, selEnd);
    dlg->SetAnchor(host, x, y);
    return static_cast<int>(dlg->DoModal());
}

int KPelorin::GetSelection(char* buffer, int size) {
    KMostFCatDlg* dlg = ProcessState().currentInputDialog;
    if (!dlg) return 0;
    std::string line;
    int displacement = dlg->BuildReplacement(line);
    if (buffer && size > 0) {
        if (static_cast<size_t>(size) > line.size()) {
            std::memcpy(buffer, line.c_str(), line.size() + 1);
        } else {
            std::memcpy(buffer, line.data(), static_cast<size_t>(size));
        }
    }
    return displacement;
}

void KPelorin::Close() {
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    KMostFCatDlg* dlg = ProcessState().currentInputDialog;
    if (dlg && dlg->m_hWnd) dlg->EndDialog(IDCANCEL);
    if (ProcessState().selectionBridge) SelectionBridge().CloseDialog();
}

void KPelorin::ShowXMSSelection(KPelorinClient* client, void* window, const char* text, int caret, int, int,
                                bool preselect) {
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    if (!container) return;
    container->LoadFCats();
    if (!container->IsDataAvailable() || container->GetManagerHandle() == 0) return;
    int mode = 0;
    if (preselect) {
        const int length = text ? static_cast<int>(std::strlen(text)) : 0;
        mode = caret > 0 && caret <= length && text[caret - 1] == '.' ? 2 : 1;
    }
    SelectionBridge().Open(container->GetManagerHandle(), client, window, mode);
}

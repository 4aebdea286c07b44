#include "selection/MXSSelection.h"

#include "base/LanguageResources.h"
#include "resources/resource.h"
#include "selection/MXSDialog.h"
#include "selection/SelectFlags.h"
#include "selection/SignalNames.h"

#include <Quarnel.h>
#include <afxwin.h>

KMXSSelection::KMXSSelection() : managerHandle(gQRNFCatMngr()) {}

KMXSSelection::KMXSSelection(unsigned long handle) : managerHandle(handle) {}

bool KMXSSelection::IsSignalSelectableIntern(const std::string* signal, std::string* normalised) {
    if (!signal) return false;
    return CheckSignalName(gQRNFCatManager(static_cast<QRNHandle>(managerHandle)), *signal, normalised, keepFilter);
}

bool KMXSSelection::IsSignalSelectable(const std::string* signal) {
    std::string normalised;
    return IsSignalSelectableIntern(signal, &normalised);
}

bool KMXSSelection::SetPreSelectSignal(std::string* signal, unsigned int instance, unsigned int channel,
                                       std::string* valueText, bool) {
    std::string normalised;
    if (!signal || !IsSignalSelectableIntern(signal, &normalised)) return false;
    preChannel = channel;
    preInstance = instance;
    prePath = normalised;
    size_t dot = 0;
    for (int i = 0; i < 3; ++i) {
        dot = signal->find('.', i == 0 ? 1 : dot + 1);
        if (dot == std::string::npos) return false;
    }
    preParameter = signal->substr(dot + 1);
    if (valueText) preValueText = *valueText;
    preSelected = true;
    return true;
}

void KMXSSelection::SetPredefinedObjects(const std::list<KMXSPredefObjectCfg>& objects) {
    if (&objects == &predefinedObjects) return;
    predefinedObjects.clear();
    for (const auto& o : objects) predefinedObjects.push_back(o);
}

void KMXSSelection::ModelessDialogClosed() {
    modelessOpen = false;
    modelessDialog = nullptr;
}

void KMXSSelection::SelectObject(KMXSListener* listener, void* parent, unsigned long flags, bool useLastState,
                                 unsigned int channelCount, bool textEditable) {
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    if (LoadLanguageResources() != 0) return;
    if (useLastState) lastState = LastDialogState();
    if (!preParameter.empty()) {
        lastState.channel = preChannel;
        lastState.predefChannel = preChannel >= 1 && preChannel <= channelCount ? preChannel : 1;
        lastState.instance = preInstance;
        lastState.parameterText = preParameter;
        lastState.topRowPath = prePath;
        lastState.visibleRowPaths.insert(prePath);
        lastState.valueText = preValueText;
        lastState.selectPending = true;
        if (!keepFilter) lastState.filterChoice = false;
        preParameter.clear();
        preValueText.clear();
        prePath.clear();
        preChannel = 0;
        preInstance = 0;
        keepFilter = true;
    }
    lastState.textEditable = textEditable;
    CWnd* parentWnd = static_cast<CWnd*>(parent);
    if (flags & kSelectModal) {
        if (modalOpen) {
            if (parentWnd && parentWnd->m_hWnd) parentWnd->BringWindowToTop();
            return;
        }
        modalOpen = true;
        KMXSDialog dialog(managerHandle, listener, &lastState, static_cast<unsigned>(flags), nullptr, parentWnd);
        dialog.channelCount = channelCount;
        dialog.predefinedObjects = predefinedObjects;
        dialog.DoModal();
        modalOpen = false;
        return;
    }
    if (modelessOpen) return;
    modelessOpen = true;
    auto* dialog = new KMXSDialog(managerHandle, listener, &lastState, static_cast<unsigned>(flags), this, nullptr);
    dialog->channelCount = channelCount;
    modelessDialog = dialog;
    if (!dialog->Create(IDD_SELECTION, nullptr)) {
        // no window, so nothing will delete it or report its end
        delete dialog;
        ModelessDialogClosed();
        return;
    }
    if (HICON icon = ::LoadIconA(GetLanguageModule(), MAKEINTRESOURCEA(IDI_SELECTION)))
        dialog->SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    dialog->ShowWindow(SW_RESTORE);
}

bool KMXSSelection::CloseModelessDialog() {
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    if (!modelessOpen || !modelessDialog) return false;
    modelessDialog->DestroyWindow();
    return true;
}

// The bridge between the selection dialog and the host's text editor: it owns the selection
// model of the last ShowXMSSelection, hears the dialog's reports and hands the first chosen
// object to the host's KPelorinClient as a text.
#pragma once
#include "facade/Pelorin.h"
#include "selection/MXSSelection.h"

#include <map>
#include <memory>
#include <string>

class KMXSSelDialogClient : public KMXSListener {
public:
    KMXSSelDialogClient() = default;
    KMXSSelDialogClient(const KMXSSelDialogClient&) = delete;
    KMXSSelDialogClient& operator=(const KMXSSelDialogClient&) = delete;
    // Module end: the dialog closes, the selection and the saved states go.
    virtual ~KMXSSelDialogClient();

    // Mode 0: address mode; 1: signal mode; 2: signal mode with the attribute filter on.
    void Open(unsigned long handle, KPelorinClient* client, void* window, int mode);
    void OnObjectsSelected(const std::vector<KMXSObject>& objects, bool final) override;
    void OnHelp(int code) override;
    // Closes a modeless dialog of the selection, if any.
    void CloseDialog();

    // The text that a report of this object gives the host.
    static std::string TextOf(const KMXSObject& object);

    KPelorinClient* client = nullptr;
    std::unique_ptr<KMXSSelection> selection;
    unsigned long managerHandle = 0;
    std::string text;
    std::map<unsigned long, KMXSSessionState> savedStates;
};

// The module-wide bridge, made on first use.
KMXSSelDialogClient& SelectionBridge();

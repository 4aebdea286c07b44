// The selection model: the object through which the host opens the selection dialog over the
// catalogs of one catalog manager, keeps the dialog's state, its predefined objects and a signal
// to pre-select. The host may allocate it itself, so member order and types are fixed.
#pragma once
#include "base/PelorinApi.h"
#include "selection/MXSObject.h"

#include <list>
#include <string>

class KMXSDialog;

class PELORIN_API KMXSSelection {
public:
    KMXSSelection();
    explicit KMXSSelection(unsigned long handle);

    // Opens the selection dialog over the manager's catalogs: modal with flag 0x01 (parent is a
    // CWnd* or null), else modeless (at most one per selection).
    void SelectObject(KMXSListener* listener, void* parent, unsigned long flags, bool useLastState,
                      unsigned int channelCount, bool textEditable);
    // Destroys an open modeless dialog without a report; false when none is open.
    bool CloseModelessDialog();
    // True when the signal names a selectable parameter of the catalogs.
    bool IsSignalSelectable(const std::string* signal);
    bool SetPreSelectSignal(std::string* signal, unsigned int instance, unsigned int channel, std::string* valueText,
                            bool unused);
    void SetPredefinedObjects(const std::list<KMXSPredefObjectCfg>& objects);
    KMXSSessionState& LastDlgState() { return lastState; }
    void SetLastDlgState(KMXSSessionState& state) { lastState = state; }
    bool IsModelessDialogOpened() const { return modelessOpen; }
    void ModelessDialogClosed();

    unsigned long managerHandle;
    KMXSSessionState lastState;
    bool modalOpen = false;
    bool modelessOpen = false;
    KMXSDialog* modelessDialog = nullptr;
    unsigned int preChannel = 0;
    unsigned int preInstance = 0;
    std::string preParameter;
    std::string prePath;
    std::string preValueText;
    bool preSelected = true;
    bool keepFilter = true;
    std::list<KMXSPredefObjectCfg> predefinedObjects;

private:
    bool IsSignalSelectableIntern(const std::string* signal, std::string* normalised);
};

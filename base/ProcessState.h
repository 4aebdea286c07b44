// Everything of the system that lives for the whole process rather than in one object. Each
// part starts empty when the module loads, is set on first use, and ends when the module ends
// (the application object's ExitInstance calls EndProcessState; on Windows the first use pins
// the module and the system reclaims everything at the process's end, so that none of it ends
// under the loader lock). Tests call ResetProcessStateForTests between tests, so that one test
// program can run all its tests in one process.
#pragma once
#include <windows.h>

#include <memory>

class KMostFCatDlg;
class KMXSSelDialogClient;
class KMXSSessionState;

// Owned here, made and deleted by the subsystem that knows the type.
template <class T> using ProcessOwned = std::unique_ptr<T, void (*)(T*)>;

struct KProcessState {
    // The catalog library's interface is checked once, on the first load of catalogs; an
    // incompatible library is said once and never used.
    bool catalogInterfaceToCheck = true;
    bool catalogInterfaceCompatible = false;

    // The language: its number from the host's settings (0 until asked), and the language
    // module next to the system's module (a failed load is not tried again).
    unsigned languageNumber = 0;
    HMODULE languageModule = nullptr;
    bool languageLoadFailed = false;

    // The one input assistance dialog shared by every selector, made by the first selector, and
    // the dialog the selectors' input operations work on.
    ProcessOwned<KMostFCatDlg> inputDialog{nullptr, nullptr};
    KMostFCatDlg* currentInputDialog = nullptr;
    // The parameter whose value list was shown last: the list moves to the typed word only when
    // another parameter's values come up.
    int lastValueListIndex = -1;

    // The bridge that opens the selection dialog for the selectors and hands its reports to
    // their hosts, made on first use.
    ProcessOwned<KMXSSelDialogClient> selectionBridge{nullptr, nullptr};
    // The state of the last selection dialog that reported, made on first use.
    ProcessOwned<KMXSSessionState> lastDialogState{nullptr, nullptr};
    // The selection dialogs' node filters, shared by all of them: the attribute filter hides
    // parameters from the first one without a fixed offset and size on; the kind filter hides
    // derived lengths, reserved and padding fields, and OpTypes other than Status outside
    // address mode.
    bool attributeFilter = false;
    bool kindFilter = false;
    // The selection dialogs' show-IDs and show-tooltips options: each dialog starts from them and
    // leaves its own choice here when it saves its state.
    bool showIds = true;
    bool showTooltips = true;
    // The message hook that hands the host's keys to the modeless selection dialogs. Several
    // selection objects may each have one open: the first installs the hook, the last removes it.
    HHOOK selectionHook = nullptr;
    int selectionHookUsers = 0;
};

KProcessState& ProcessState();

// Ends the parts that hold objects and modules (the selection bridge with its dialog, the input
// dialog, then the language module).
void EndProcessState();

// Ends everything and starts afresh; for tests only.
void ResetProcessStateForTests();

// The selector: the exported object a host creates per editor window to register catalog files
// and open the input assistance over its editor line, and the callback interface the host
// implements.
#pragma once
#include "base/PelorinApi.h"

#include <windows.h>

class KMostFCatContainer;

class PELORIN_API KPelorinClient {
public:
    KPelorinClient() = default;
    KPelorinClient(const KPelorinClient&) {}
    KPelorinClient& operator=(const KPelorinClient&) { return *this; }
    // The name of an object the user chose in the selection dialog.
    virtual void OnSelectionText(const char* text) = 0;
    virtual void OnHelp(int code) = 0;

protected:
    ~KPelorinClient() = default;
};

class PELORIN_API KPelorin {
public:
    explicit KPelorin(HWND parent);
    // A copy registers the same catalog files in a container of its own, so no container has two
    // owners.
    KPelorin(const KPelorin& other);
    KPelorin& operator=(const KPelorin& other);
    virtual ~KPelorin();

    void AddFCat(const char* fileName);
    int IsDataAvailable();

    // Opens the input assistance at the caret of the calling thread.
    int Show(HWND parent, const char* text, int caret, int selStart, int selEnd);
    // Opens the input assistance at a screen point; the dialog's modal result, or 0 when no catalog
    // data is available.
    int ShowEx(HWND parent, const char* text, int x, int y, int caret, int selStart, int selEnd);
    // Copies the new line (at most size characters; the terminator only when it fits) and returns
    // the caret displacement. A negative size copies nothing.
    int GetSelection(char* buffer, int size);
    // Ends the input assistance and closes the modeless selection dialog.
    void Close();
    // Opens the modeless selection dialog after reloading the catalogs; the chosen objects reach
    // client as texts. preselect chooses signal mode (with the attribute filter when the caret
    // follows a "."), else address mode. window is the CWnd of the dialog's parent, or null.
    void ShowXMSSelection(KPelorinClient* client, void* window, const char* text, int caret, int unused1, int unused2,
                          bool preselect);

    KMostFCatContainer* container;
};

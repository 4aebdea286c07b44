// The clipboard data object of the framework: read access to the clipboard's formats.
#pragma once
#include <windows.h>

#include <vector>

#include "afxwin.h"

#ifdef _WIN32
#include <wtypes.h> // CLIPFORMAT, also under WIN32_LEAN_AND_MEAN
#else
typedef WORD CLIPFORMAT;
#endif

// Attached to the clipboard, it answers which formats the clipboard holds and hands out copies of
// their data. Unlike MFC's, the blocks GetGlobalData returns belong to the data object: they stay
// valid until Release (or destruction), which frees them, and must not be freed by the caller.
class COleDataObject {
public:
    COleDataObject() = default;
    ~COleDataObject();
    COleDataObject(const COleDataObject&) = delete;
    COleDataObject& operator=(const COleDataObject&) = delete;

    // FALSE when the clipboard cannot be opened (another window holds it open).
    BOOL AttachClipboard();
    BOOL IsDataAvailable(CLIPFORMAT cfFormat) const;
    // A copy of the data in that format, or null when there is none.
    HGLOBAL GetGlobalData(CLIPFORMAT cfFormat);
    // Detaches from the clipboard and frees the blocks handed out.
    void Release();

private:
    bool m_bClipboard = false;
    std::vector<HGLOBAL> m_blocks;
};

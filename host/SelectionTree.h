// The catalog tree of an open selection dialog, as the host reaches it: through the tree view
// protocol of the control and the record the dialog keeps behind each row.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>

// The tree of the open selection dialog (the active one first), or null when none is open.
HWND OpenSelectionTree();

// The path the dialog gives a row (as in its saved state: "Infotainment.AudioAmplifier.Volume",
// parameters with their node path after the OpType); empty for a row without a record.
std::string RowPath(HWND tree, HTREEITEM row);

// The row whose path is path, opening the rows on the way down as a person clicking their
// buttons would; null when there is none.
HTREEITEM FindRow(HWND tree, const std::string& path);

// Scrolls the row into view and gives a point on its text, offset pixels from its left end (or
// its last pixel on a shorter text), in screen coordinates; false when the row shows no text.
bool RowTextPoint(HWND tree, HTREEITEM row, int offset, POINT& screen);

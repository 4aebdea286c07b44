// The objects the module keeps for all selectors: the one input assistance dialog, which lives
// until the module ends, and the dialog the selectors' input operations work on.
#pragma once
#include <memory>

class KMostFCatDlg;

std::unique_ptr<KMostFCatDlg>& InputDialog();
KMostFCatDlg*& CurrentInputDialog();
// Ends the module-wide objects at module end.
void DestroyModuleObjects();

#include "facade/ModuleObjects.h"

#include "assist/MostFCatDlg.h"

std::unique_ptr<KMostFCatDlg>& InputDialog() {
    // Never destroyed by the runtime: the module entry, itself a static, ends the dialog through
    // DestroyModuleObjects, possibly after this translation unit's statics are gone.
    static auto* dialog = new std::unique_ptr<KMostFCatDlg>;
    return *dialog;
}

KMostFCatDlg*& CurrentInputDialog() {
    static KMostFCatDlg* current = nullptr;
    return current;
}

void DestroyModuleObjects() {
    CurrentInputDialog() = nullptr;
    InputDialog().reset();
}

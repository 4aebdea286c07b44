#include "facade/ModuleObjects.h"

#include "assist/MostFCatDlg.h"

std::unique_ptr<KMostFCatDlg>& InputDialog() {
    static std::unique_ptr<KMostFCatDlg> dialog;
    return dialog;
}

KMostFCatDlg*& CurrentInputDialog() {
    static KMostFCatDlg* current = nullptr;
    return current;
}

void DestroyModuleObjects() {
    CurrentInputDialog() = nullptr;
    InputDialog().reset();
}

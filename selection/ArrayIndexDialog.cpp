#include "selection/ArrayIndexDialog.h"

#include "resources/resource.h"
#include "selection/MXSDialog.h"

#include <cstdio>

BEGIN_MESSAGE_MAP(KArrayIndexDialog, CDialog)
ON_MESSAGE(KARRAY_FOCUS_INDEX, &KArrayIndexDialog::OnFocusIndex)
END_MESSAGE_MAP()

KArrayIndexDialog::KArrayIndexDialog(const std::string& path, KMXSDialog* owner)
    : CDialog(IDD_ARRAY_INDEX, owner), path(path), owner(owner) {}

void KArrayIndexDialog::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDOK, okButton);
    DDX_Control(pDX, IDCANCEL, cancelButton);
    DDX_Control(pDX, IDC_ARRAY_INDEX_EDIT, indexEdit);
    DDX_Control(pDX, IDC_ARRAY_INDEX_LABEL, label);
}

BOOL KArrayIndexDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    const size_t open = path.find('[');
    const size_t close = open == std::string::npos ? std::string::npos : path.find(']', open);
    if (open != std::string::npos && close == std::string::npos) return -1;
    if (open != std::string::npos) {
        indexEdit.SetWindowText(path.substr(open + 1, close - open - 1));
        label.SetWindowText(path.substr(0, open + 1) + " ] :");
    } else {
        label.SetWindowText(" ] :");
    }
    PostMessage(KARRAY_FOCUS_INDEX, 0, 0);
    return TRUE;
}

LRESULT KArrayIndexDialog::OnFocusIndex(WPARAM, LPARAM) {
    indexEdit.SetFocus();
    return 0;
}

void KArrayIndexDialog::OnOK() {
    std::string typed;
    indexEdit.GetWindowText(typed);
    typed = typed.substr(0, 100);
    std::string index = "1";
    int value = 0;
    // what is no number, and 0, become the first element
    if (!typed.empty() && std::sscanf(typed.c_str(), "%d", &value) == 1 && value != 0) index = std::to_string(value);
    const size_t open = path.find('[');
    const size_t close = open == std::string::npos ? std::string::npos : path.find(']', open);
    if (open != std::string::npos && close != std::string::npos && owner)
        owner->SetSignalName(path.substr(0, open + 1) + index + path.substr(close));
    CDialog::OnOK();
}

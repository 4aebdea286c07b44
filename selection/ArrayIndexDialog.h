// The small dialog in which the user types the index of an array parameter: it edits the first
// bracketed index of the selection dialog's parameter path.
#pragma once
#include <afxwin.h>

#include <string>

class KMXSDialog;

// Posted to the dialog itself: the index field gets the keyboard focus once the dialog shows.
const UINT KARRAY_FOCUS_INDEX = WM_USER + 11;

class KArrayIndexDialog : public CDialog {
public:
    // The owner is also the parent window; it gets the new path through SetSignalName.
    KArrayIndexDialog(const std::string& path, KMXSDialog* owner);

    CButton okButton, cancelButton;
    CEdit indexEdit;
    CStatic label;
    std::string path;
    KMXSDialog* owner;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    afx_msg LRESULT OnFocusIndex(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()
};

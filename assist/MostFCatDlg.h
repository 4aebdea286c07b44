// The modal input assistance dialog: an edit field over the caret of the host's editor, a
// drop-down list of what the catalogs allow at the caret, and two hint lines; on OK it checks the
// address and asks before it accepts what the catalogs do not hold.
#pragma once
#include "assist/AddressAnalysis.h"
#include "controls/ComboListBox.h"

#include <afxwin.h>

#include <string>
#include <vector>

class KMostFCatContainer;

class KMostFCatDlg : public CDialog, public KAddressAnalysis {
public:
    // List modes: which list the drop-down holds.
    enum { kNoList = 0, kFBlockList = 1, kInstanceList = 2, kFunctionList = 3, kOpTypeList = 4, kValueList = 5, kTooMany = 6 };

    explicit KMostFCatDlg(CWnd* pParent);

    void SetContainer(KMostFCatContainer* c) { container = c; }
    // The dialog and its controls take the background colour of the host window's device context.
    void SetParentBackground(CWnd* host);
    // The dialog opens so that its edit field starts where the token starts on screen.
    void SetAnchor(CWnd* host, int x, int y);

    CBrush backgroundBrush;
    int anchorX = 0;
    int anchorY = 0;
    const std::vector<ListEntry>* parameters = nullptr;
    int listMode = kNoList;
    KComboListBox comboList;
    CEdit addressEdit;
    CStatic hintStatic;
    CStatic formatStatic;
    UINT_PTR timerId = 0;
    DWORD lastSelection = 0;
    bool firstUpdate = true;
    // The address as the last update saw it.
    std::string updatedText;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
    afx_msg void OnPaint();
    afx_msg void OnAddressChange();
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnMoving(UINT fwSide, LPRECT pRect);
    DECLARE_MESSAGE_MAP()

    // Re-analyses the address up to the caret and shows what fits there.
    void UpdateAssistance();

private:
    // Updates the assistance when the caret or the text moved on since the last update.
    void CatchUp();
    // Whether the list is open once the assistance has caught up with the typing.
    bool CaughtUpListOpen();
    int CaretEnd() const;
    void CloseList();
    void Hint(UINT text);
    void ShowFBlockList(int format);
    void ShowFunctionList(int format);
    void ShowOpTypeList(int format);
    void ShowInstanceList();
    void ShowParameterInfo();
    void ShowValueList(int index, int typeCode);
    // Opens the list at the best match, filled first with the entries when it is refilled.
    void ShowCatalogList(const std::vector<ListEntry>* entries, bool refill, UINT emptyText);
    int BestMatch() const;
    int BestValueMatch() const;
    // The first list item that begins with the typed text; -1 when none does. The typed text has
    // no " (", so an item's head and the item itself begin alike.
    int FirstItemStartingWith(const std::string& typed) const;
    void OpenListAt(int index, bool moving, bool parameterScanning);
    void ApplyListItem();
    // The question the parameters up to that position raise, or 0 when they are complete.
    UINT CheckParameters(int position);
    int Ask(UINT text);
    // The x of a character position in the field's client area (the text's end included).
    int TextX(int index);
    void MoveWordLeft();
    void MoveWordRight();
};

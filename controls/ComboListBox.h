// A combo box that never opens its own list: it owns a pop-up list box that its owner fills,
// places and shows by program while the keyboard focus stays in another control. The combo box
// window is the invisible anchor of the list and the target of forwarded navigation keys; a
// click in the list is reported by posting 0x0401 to the combo box.
#pragma once
#include <afxwin.h>

#include <string>

class KComboListBox;

// Message posted to the combo box when the left button is released in the list.
const UINT KCOMBOLIST_CLICKED = WM_USER + 1;

class KComboList : public CListBox {
    DECLARE_DYNAMIC(KComboList)
public:
    KComboListBox* owner = nullptr;
    CWnd* previousFocus = nullptr;

protected:
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnActivateApp(BOOL bActive, DWORD dwThreadID);
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    DECLARE_MESSAGE_MAP()
};

class KComboListBox : public CComboBox {
    DECLARE_DYNAMIC(KComboListBox)
public:
    // Creates the combo box and its hidden pop-up list.
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) override;

    int AddString(LPCSTR text);
    void ResetContent();
    int SetCurSel(int index);
    int GetCurSel() const;
    int GetCount() const;
    void GetText(int index, std::string& text) const;
    // The selected item's text; empty when none is selected.
    void GetSelectedText(std::string& text) const;
    bool IsDropDownVisible() const;
    // Shows the list 200 x 100 pixels under the combo box (above it near the screen's bottom), or
    // hides it.
    BOOL ShowDropDown(bool show);

    BOOL PreTranslateMessage(MSG* pMsg) override;

    KComboList list;
};

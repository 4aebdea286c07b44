#include "controls/ComboListBox.h"

IMPLEMENT_DYNAMIC(KComboList, CListBox)
IMPLEMENT_DYNAMIC(KComboListBox, CComboBox)

BEGIN_MESSAGE_MAP(KComboList, CListBox)
ON_WM_LBUTTONUP()
ON_WM_SETFOCUS()
ON_WM_KILLFOCUS()
ON_WM_ACTIVATEAPP()
ON_WM_VSCROLL()
END_MESSAGE_MAP()

void KComboList::OnLButtonUp(UINT, CPoint) {
    Default(); // the click selects the item first
    if (owner) owner->PostMessage(KCOMBOLIST_CLICKED, 0, 0);
}

void KComboList::OnSetFocus(CWnd* pOldWnd) {
    Default();
    previousFocus = pOldWnd;
}

void KComboList::OnKillFocus(CWnd* pNewWnd) {
    Default();
    HWND next = pNewWnd ? pNewWnd->m_hWnd : nullptr;
    if (previousFocus && next == previousFocus->m_hWnd) return;
    if (owner) owner->ShowDropDown(false);
    previousFocus = nullptr;
}

void KComboList::OnActivateApp(BOOL bActive, DWORD) {
    Default();
    if (bActive) return;
    if (owner) owner->ShowDropDown(false);
    previousFocus = nullptr;
}

void KComboList::OnVScroll(UINT, UINT, CScrollBar*) {
    Default();
    // scrolling must not keep the focus from the field the person types in
    if (previousFocus && ::IsWindow(previousFocus->m_hWnd)) previousFocus->SetFocus();
}

// The pop-up list: a framed pop-up with a vertical scroll bar, its items sorted.
static const DWORD kListStyle = WS_POPUP | WS_DLGFRAME | WS_VSCROLL | LBS_SORT;

BOOL KComboListBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    BOOL created = CComboBox::Create(dwStyle, rect, pParentWnd, nID);
    if (!created) return created;
    if (pParentWnd) SetFont(pParentWnd->GetFont(), TRUE);
    list.CreateEx(0, "ListBox", nullptr, kListStyle, CRect(0, 0, 10, 10), this, 0);
    list.SetFont(GetFont(), TRUE);
    list.owner = this;
    return created;
}

int KComboListBox::AddString(LPCSTR text) { return list.m_hWnd ? list.AddString(text) : LB_ERR; }

void KComboListBox::ResetContent() {
    if (list.m_hWnd) list.ResetContent();
}

int KComboListBox::SetCurSel(int index) { return list.m_hWnd ? list.SetCurSel(index) : LB_ERR; }

int KComboListBox::GetCurSel() const { return list.m_hWnd ? list.GetCurSel() : LB_ERR; }

int KComboListBox::GetCount() const { return list.m_hWnd ? list.GetCount() : 0; }

void KComboListBox::GetText(int index, std::string& text) const {
    text.clear();
    if (list.m_hWnd && index >= 0 && index < list.GetCount()) list.GetText(index, text);
}

void KComboListBox::GetSelectedText(std::string& text) const { GetText(GetCurSel(), text); }

bool KComboListBox::IsDropDownVisible() const { return list.m_hWnd && list.IsWindowVisible(); }

BOOL KComboListBox::ShowDropDown(bool show) {
    if (!list.m_hWnd) return FALSE;
    if (show) {
        CRect r;
        GetWindowRect(&r);
        r.right = r.left + 200;
        if (r.bottom + 100 > GetSystemMetrics(SM_CYSCREEN)) {
            r.bottom = r.top;
            r.top = r.bottom - 100;
        } else {
            r.top = r.bottom;
            r.bottom = r.top + 100;
        }
        CRect current;
        list.GetWindowRect(&current);
        if (current != r) list.MoveWindow(&r, TRUE);
    }
    // shown without activation: the focus stays in the field the person types in
    BOOL result = list.ShowWindow(show ? SW_SHOWNA : SW_HIDE);
    list.SetCurSel(list.GetCurSel()); // brings the selected item into view
    return result;
}

BOOL KComboListBox::PreTranslateMessage(MSG* pMsg) {
    if ((pMsg->message == WM_KEYDOWN || pMsg->message == WM_MOUSEWHEEL) && list.m_hWnd) {
        list.SendMessage(pMsg->message, pMsg->wParam, pMsg->lParam);
        return TRUE;
    }
    return CComboBox::PreTranslateMessage(pMsg);
}

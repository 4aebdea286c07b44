// The C++ face of the tree control: registration of its window class and one message per call.
#include "treectrl/SECTreeCtrl.h"
#include "treectrl/TreeWindow.h"

#include <vector>

IMPLEMENT_DYNAMIC(SECTreeCtrl, CWnd)

namespace {

// The class belongs to the module that creates the control; the first Create of the module
// registers it (the window system keeps it until the module goes).
bool registerClass(HINSTANCE instance) {
    // no application object: the program's own module, which Windows looks up where a null
    // instance would only find the system's classes
    if (!instance) instance = GetModuleHandleA(nullptr);
    WNDCLASSA wc{};
    if (GetClassInfoA(instance, SECTREECTRL_CLASS, &wc)) return true;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = sectree::treeProc;
    wc.cbWndExtra = sizeof(void*);
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = SECTREECTRL_CLASS;
    return RegisterClassA(&wc) != 0;
}

template <class T> LPARAM lp(T value) {
    return reinterpret_cast<LPARAM>(value);
}
HTREEITEM item(LRESULT r) {
    return reinterpret_cast<HTREEITEM>(r);
}

} // namespace

BOOL SECTreeCtrl::Create(DWORD dwStyle, DWORD dwExStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    if (!registerClass(AfxGetInstanceHandle())) return FALSE;
    if (!CreateEx(0, SECTREECTRL_CLASS, "", dwStyle | WS_CHILD, rect, pParentWnd, nID)) return FALSE;
    SendMessage(SECTVM_SETEXSTYLE, 0, static_cast<LPARAM>(dwExStyle));
    return TRUE;
}

HTREEITEM SECTreeCtrl::InsertItem(LPCSTR text, HTREEITEM parent, HTREEITEM after) {
    TVINSERTSTRUCTA is{};
    is.hParent = parent;
    is.hInsertAfter = after;
    is.item.mask = TVIF_TEXT;
    is.item.pszText = const_cast<LPSTR>(text ? text : "");
    return item(SendMessage(TVM_INSERTITEMA, 0, lp(&is)));
}

BOOL SECTreeCtrl::DeleteItem(HTREEITEM hItem) {
    return static_cast<BOOL>(SendMessage(TVM_DELETEITEM, 0, lp(hItem)));
}

BOOL SECTreeCtrl::DeleteAllItems() {
    return static_cast<BOOL>(SendMessage(TVM_DELETEITEM, 0, lp(TVI_ROOT)));
}

DWORD_PTR SECTreeCtrl::GetItemData(HTREEITEM hItem) const {
    TVITEMA tv{};
    tv.mask = TVIF_PARAM;
    tv.hItem = hItem;
    return SendMessage(TVM_GETITEMA, 0, lp(&tv)) ? static_cast<DWORD_PTR>(tv.lParam) : 0;
}

BOOL SECTreeCtrl::SetItemData(HTREEITEM hItem, DWORD_PTR data) {
    TVITEMA tv{};
    tv.mask = TVIF_PARAM;
    tv.hItem = hItem;
    tv.lParam = static_cast<LPARAM>(data);
    return static_cast<BOOL>(SendMessage(TVM_SETITEMA, 0, lp(&tv)));
}

std::string SECTreeCtrl::GetItemText(HTREEITEM hItem) const {
    // the protocol has no text length: grow the buffer until the text fits with room to spare
    for (size_t size = 256;; size *= 2) {
        std::vector<char> buffer(size, '\0');
        TVITEMA tv{};
        tv.mask = TVIF_TEXT;
        tv.hItem = hItem;
        tv.pszText = buffer.data();
        tv.cchTextMax = static_cast<int>(size);
        if (!SendMessage(TVM_GETITEMA, 0, lp(&tv))) return "";
        std::string text(buffer.data());
        if (text.size() + 1 < size) return text;
    }
}

BOOL SECTreeCtrl::SetItemText(HTREEITEM hItem, LPCSTR text) {
    TVITEMA tv{};
    tv.mask = TVIF_TEXT;
    tv.hItem = hItem;
    tv.pszText = const_cast<LPSTR>(text ? text : "");
    return static_cast<BOOL>(SendMessage(TVM_SETITEMA, 0, lp(&tv)));
}

HTREEITEM SECTreeCtrl::GetRootItem() const {
    return item(SendMessage(TVM_GETNEXTITEM, TVGN_ROOT));
}

HTREEITEM SECTreeCtrl::GetChildItem(HTREEITEM hItem) const {
    return item(SendMessage(TVM_GETNEXTITEM, TVGN_CHILD, lp(hItem)));
}

HTREEITEM SECTreeCtrl::GetNextSiblingItem(HTREEITEM hItem) const {
    return item(SendMessage(TVM_GETNEXTITEM, TVGN_NEXT, lp(hItem)));
}

HTREEITEM SECTreeCtrl::GetParentItem(HTREEITEM hItem) const {
    return item(SendMessage(TVM_GETNEXTITEM, TVGN_PARENT, lp(hItem)));
}

BOOL SECTreeCtrl::ItemHasChildren(HTREEITEM hItem) const {
    TVITEMA tv{};
    tv.mask = TVIF_CHILDREN;
    tv.hItem = hItem;
    return SendMessage(TVM_GETITEMA, 0, lp(&tv)) && tv.cChildren != 0;
}

BOOL SECTreeCtrl::Expand(HTREEITEM hItem, UINT nCode) {
    return static_cast<BOOL>(SendMessage(TVM_EXPAND, nCode, lp(hItem)));
}

BOOL SECTreeCtrl::IsExpanded(HTREEITEM hItem) const {
    TVITEMA tv{};
    tv.mask = TVIF_STATE;
    tv.hItem = hItem;
    tv.stateMask = TVIS_EXPANDED;
    return SendMessage(TVM_GETITEMA, 0, lp(&tv)) && (tv.state & TVIS_EXPANDED);
}

BOOL SECTreeCtrl::EnsureVisible(HTREEITEM hItem) {
    return static_cast<BOOL>(SendMessage(TVM_ENSUREVISIBLE, 0, lp(hItem)));
}

BOOL SECTreeCtrl::SelectSetFirstVisible(HTREEITEM hItem) {
    return static_cast<BOOL>(SendMessage(TVM_SELECTITEM, TVGN_FIRSTVISIBLE, lp(hItem)));
}

BOOL SECTreeCtrl::SelectItem(HTREEITEM hItem) {
    return static_cast<BOOL>(SendMessage(TVM_SELECTITEM, TVGN_CARET, lp(hItem)));
}

HTREEITEM SECTreeCtrl::GetSelectedItem() const {
    return item(SendMessage(TVM_GETNEXTITEM, TVGN_CARET));
}

HTREEITEM SECTreeCtrl::GetFocusedItem() const {
    return item(SendMessage(SECTVM_GETFOCUSEDITEM));
}

BOOL SECTreeCtrl::IsSelected(HTREEITEM hItem) const {
    TVITEMA tv{};
    tv.mask = TVIF_STATE;
    tv.hItem = hItem;
    tv.stateMask = TVIS_SELECTED;
    return SendMessage(TVM_GETITEMA, 0, lp(&tv)) && (tv.state & TVIS_SELECTED);
}

BOOL SECTreeCtrl::SetItemSelected(HTREEITEM hItem, BOOL selected) {
    return static_cast<BOOL>(SendMessage(SECTVM_SETITEMSELECTED, static_cast<WPARAM>(selected), lp(hItem)));
}

HTREEITEM SECTreeCtrl::GetFirstSelectedItem() const {
    return item(SendMessage(SECTVM_GETNEXTSELECTED));
}

HTREEITEM SECTreeCtrl::GetNextSelectedItem(HTREEITEM hItem) const {
    return hItem ? item(SendMessage(SECTVM_GETNEXTSELECTED, 0, lp(hItem))) : nullptr;
}

BOOL SECTreeCtrl::SelectRange(HTREEITEM first, HTREEITEM last, BOOL selected) {
    HTREEITEM ends[2] = {first, last};
    return static_cast<BOOL>(SendMessage(SECTVM_SELECTRANGE, static_cast<WPARAM>(selected), lp(ends)));
}

void SECTreeCtrl::DeselectAll() {
    SendMessage(SECTVM_DESELECTALL);
}

HTREEITEM SECTreeCtrl::GetFirstVisibleItem() const {
    return item(SendMessage(TVM_GETNEXTITEM, TVGN_FIRSTVISIBLE));
}

UINT SECTreeCtrl::GetVisibleCount() const {
    return static_cast<UINT>(SendMessage(TVM_GETVISIBLECOUNT));
}

HTREEITEM SECTreeCtrl::GetNextVisibleItem(HTREEITEM hItem) const {
    return item(SendMessage(TVM_GETNEXTITEM, TVGN_NEXTVISIBLE, lp(hItem)));
}

HTREEITEM SECTreeCtrl::HitTest(CPoint point, UINT* flags) const {
    TVHITTESTINFO info{};
    info.pt = point;
    HTREEITEM hit = item(SendMessage(TVM_HITTEST, 0, lp(&info)));
    if (flags) *flags = info.flags;
    return hit;
}

COLORREF SECTreeCtrl::SetBkColor(COLORREF color) {
    return static_cast<COLORREF>(SendMessage(TVM_SETBKCOLOR, 0, static_cast<LPARAM>(color)));
}

COLORREF SECTreeCtrl::GetBkColor() const {
    return static_cast<COLORREF>(SendMessage(TVM_GETBKCOLOR));
}

COLORREF SECTreeCtrl::SetDisabledColor(COLORREF color) {
    return static_cast<COLORREF>(SendMessage(SECTVM_SETDISABLEDCOLOR, 0, static_cast<LPARAM>(color)));
}

void SECTreeCtrl::DisableItem(HTREEITEM hItem, BOOL disabled) {
    SendMessage(SECTVM_DISABLEITEM, static_cast<WPARAM>(disabled), lp(hItem));
}

BOOL SECTreeCtrl::IsItemDisabled(HTREEITEM hItem) const {
    return static_cast<BOOL>(SendMessage(SECTVM_ISITEMDISABLED, 0, lp(hItem)));
}

UINT SECTreeCtrl::GetCount() const {
    return static_cast<UINT>(SendMessage(TVM_GETCOUNT));
}

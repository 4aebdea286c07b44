// SECTreeCtrl: the system's tree control, a window class of the system's module ("SECTreeCtrl")
// that speaks the protocol of Windows' tree view (TVM_ messages, TVN_ and NM_ notifications by
// WM_NOTIFY with NMTREEVIEWA) and adds multiple selection and disabled rows with messages of its
// own (SECTVM_ below). It paints itself with GDI, double-buffered, drawing only the rows in view.
//
// Window styles, with their Windows meanings: TVS_HASBUTTONS (+/- buttons, a click on one opens
// or closes the row), TVS_HASLINES, TVS_LINESATROOT (root rows get a button column too),
// TVS_SHOWSELALWAYS (the selection stays highlighted without the focus), WS_VSCROLL. TVS_INFOTIP
// (0x0800) and TVS_SINGLEEXPAND (0x0400) are accepted and ignored: the control shows no tooltips
// and opens rows only when asked. There is no horizontal scrolling.
//
// Notifications, as Windows' tree view sends them: TVN_SELCHANGINGA (returning TRUE keeps the
// caret where it is) and TVN_SELCHANGEDA, TVN_ITEMEXPANDINGA (returning TRUE keeps the row as it
// is; the parent may insert and delete the row's children meanwhile) and TVN_ITEMEXPANDEDA,
// NM_CLICK (before the click selects; nonzero keeps it from selecting), NM_DBLCLK (nonzero keeps a
// double click on a row with children from opening or closing it), NM_RETURN, NM_SETFOCUS and
// NM_KILLFOCUS. TVN_SELCHANGEDA comes after every change of the caret or of the selection: itemOld
// is the caret row before, itemNew the row the change was about (the new caret row, the toggled
// row, the end of a range), with its state after the change; a change that moves the caret is
// announced by TVN_SELCHANGINGA first, except when a collapse or a deletion takes the caret's row
// out of view (the caret must move then: to the collapsed row; to the deleted row's next sibling,
// else its parent, else its previous sibling). The action is TVC_BYMOUSE, TVC_BYKEYBOARD or
// TVC_UNKNOWN (by program, by a collapse or a deletion). Deleting all rows notifies nothing.
//
// Keys: Up, Down, Home, End, PageUp, PageDown move the caret (PageUp/PageDown by the visible
// count less one); Left closes an open row or goes to the parent, Right opens a closed row or goes
// to the first child, Backspace goes to the parent; keypad +, - and * open, close, and open the
// caret row with everything below it. Typed characters select the next displayed row whose text
// begins with what was typed within one second (case-insensitive, wrapping; repeating one letter
// steps through the rows beginning with it). Enter and Escape are left to the dialog; Enter also
// sends NM_RETURN. In a plain window Ctrl+Up/Down scroll a row without moving the caret.
#pragma once
#include <afxwin.h>
#include <commctrl.h>

#include <string>

// ---- the extended style word (Create's dwExStyle, SECTVM_SETEXSTYLE) ----
// It is the control's own word, not the window's extended style.
// Multiple selection: a click selects one row, Ctrl+click toggles one, Shift+click selects the
// displayed rows from the anchor; Shift+arrows extend the range from the anchor, Ctrl+arrows move
// only the focus rectangle, Space or Ctrl+Space toggle the focused row. Rows hidden by a collapse
// keep their selection unless SECTVS_EX_DESELECTONCOLLAPSE.
#define SECTVS_EX_MULTISEL 0x00000200
// Collapsing a row deselects the rows it hides (multiple selection), so the selection holds only
// rows the user can see; TVN_SELCHANGEDA tells it.
#define SECTVS_EX_DESELECTONCOLLAPSE 0x00100000
// A click anywhere on a row's line selects it (not only on its text), and the selection is
// highlighted across the whole width.
#define SECTVS_EX_FULLROWSELECT 0x00800000

// ---- item state bits of this control (TVM_GETITEMA's state, beside the TVIS_ ones) ----
// The row with the focus rectangle. Windows' tree view has no such bit; this one takes the
// value that its state word leaves unused.
#define SECTVIS_FOCUSED 0x0001

// ---- messages of this control (the TVM_ part is Windows' tree view protocol) ----
#define SECTVM_FIRST (WM_USER + 0x0100)
// wParam: BOOL selected, lParam: HTREEITEM. Adds or removes one row (multiple selection; with
// single selection TRUE makes the row the caret row and FALSE removes the caret). Returns BOOL.
#define SECTVM_SETITEMSELECTED (SECTVM_FIRST + 0)
// lParam: HTREEITEM or null. The next selected row after it in display order (pre-order, open or
// not), the first with null.
#define SECTVM_GETNEXTSELECTED (SECTVM_FIRST + 1)
// wParam: BOOL selected, lParam: const HTREEITEM[2], two displayed rows in either order. Selects or
// deselects every displayed row between them (disabled rows stay unselected); multiple selection
// only. Returns BOOL.
#define SECTVM_SELECTRANGE (SECTVM_FIRST + 2)
#define SECTVM_DESELECTALL (SECTVM_FIRST + 3)
// The row with the focus rectangle (the caret row with single selection).
#define SECTVM_GETFOCUSEDITEM (SECTVM_FIRST + 4)
// wParam: BOOL disabled, lParam: HTREEITEM. The row and its descendants, also ones inserted later.
#define SECTVM_DISABLEITEM (SECTVM_FIRST + 5)
#define SECTVM_ISITEMDISABLED (SECTVM_FIRST + 6)
// lParam: COLORREF, CLR_DEFAULT for GetSysColor(COLOR_GRAYTEXT). Returns the previous colour.
#define SECTVM_SETDISABLEDCOLOR (SECTVM_FIRST + 7)
#define SECTVM_GETDISABLEDCOLOR (SECTVM_FIRST + 8)
// lParam: the extended style word. Returns the previous one.
#define SECTVM_SETEXSTYLE (SECTVM_FIRST + 9)
#define SECTVM_GETEXSTYLE (SECTVM_FIRST + 10)

#define SECTREECTRL_CLASS "SECTreeCtrl"

class SECTreeCtrl : public CWnd {
    DECLARE_DYNAMIC(SECTreeCtrl)
public:
    SECTreeCtrl() = default;

    // Registers the window class in the module on first use and creates the control (WS_CHILD
    // is added). dwExStyle is the extended style word above.
    BOOL Create(DWORD dwStyle, DWORD dwExStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    HTREEITEM InsertItem(LPCSTR text, HTREEITEM parent = TVI_ROOT,
                         HTREEITEM after = TVI_LAST); // null on failure
    BOOL DeleteItem(HTREEITEM item);
    BOOL DeleteAllItems();
    DWORD_PTR GetItemData(HTREEITEM item) const;
    BOOL SetItemData(HTREEITEM item, DWORD_PTR data);
    std::string GetItemText(HTREEITEM item) const;
    BOOL SetItemText(HTREEITEM item, LPCSTR text);
    HTREEITEM GetRootItem() const;                // first root row
    HTREEITEM GetChildItem(HTREEITEM item) const; // TVI_ROOT or null: the first root row
    HTREEITEM GetNextSiblingItem(HTREEITEM item) const;
    HTREEITEM GetParentItem(HTREEITEM item) const;
    BOOL ItemHasChildren(HTREEITEM item) const;
    // TVE_EXPAND, TVE_COLLAPSE, TVE_TOGGLE (TVE_COLLAPSERESET also deletes the children), with
    // the notifications. FALSE when nothing changed: already so, no children, or the parent said no.
    BOOL Expand(HTREEITEM item, UINT nCode);
    BOOL IsExpanded(HTREEITEM item) const;
    BOOL EnsureVisible(HTREEITEM item);         // opens the ancestors (notifying), scrolls it into view
    BOOL SelectSetFirstVisible(HTREEITEM item); // EnsureVisible, then scrolls it to the top
    BOOL SelectItem(HTREEITEM item);            // caret row and the only selected row (TVGN_CARET)
    HTREEITEM GetSelectedItem() const;          // the caret row
    HTREEITEM GetFocusedItem() const; // the row with the focus rectangle (caret row in single selection)
    BOOL IsSelected(HTREEITEM item) const;
    BOOL SetItemSelected(HTREEITEM item, BOOL selected); // adds or removes one row (multiple selection)
    HTREEITEM GetFirstSelectedItem() const;              // in display order (pre-order walk)
    HTREEITEM GetNextSelectedItem(HTREEITEM item) const;
    BOOL SelectRange(HTREEITEM first, HTREEITEM last,
                     BOOL selected); // every displayed row between, either order
    void DeselectAll();
    HTREEITEM GetFirstVisibleItem() const; // first row in view
    UINT GetVisibleCount() const;          // rows that fit wholly in the client height
    HTREEITEM
    GetNextVisibleItem(HTREEITEM item) const; // next row of the open tree (whether scrolled into view or not)
    HTREEITEM HitTest(CPoint point, UINT* flags = nullptr) const; // client point; TVHT_ flags
    COLORREF SetBkColor(COLORREF color);
    COLORREF GetBkColor() const;
    COLORREF SetDisabledColor(COLORREF color); // default GetSysColor(COLOR_GRAYTEXT)
    void DisableItem(HTREEITEM item,
                     BOOL disabled = TRUE); // the row and its descendants (also ones inserted later)
    BOOL IsItemDisabled(HTREEITEM item) const;
    UINT GetCount() const;
};

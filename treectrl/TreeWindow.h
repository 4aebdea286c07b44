// Inside the SECTreeCtrl window class: the state of one control, hung on the window's extra
// bytes, and the parts of its window procedure.
#pragma once
#include "treectrl/TreeModel.h"

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <unordered_set>

namespace sectree {

LRESULT CALLBACK treeProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// How a caret move changes the selection.
enum class Select {
    Only,     // the new caret row becomes the only selected row
    Keep,     // the selection stays
    Toggle,   // the new caret row's selection flips (multiple selection)
    Range,    // the displayed rows from the anchor to the new caret row, and no others
    AddRange, // those rows are added to the selection
};

struct Tree {
    HWND self = nullptr;
    HWND notify = nullptr; // the parent at creation
    DWORD style = 0;
    DWORD exStyle = 0; // SECTVS_EX_ word
    TreeModel model;
    Node* caret = nullptr;              // TVGN_CARET
    Node* focus = nullptr;              // the focus rectangle (the caret with single selection)
    Node* anchor = nullptr;             // where Shift ranges start
    Node* top = nullptr;                // first row in view
    std::unordered_set<Node*> selected; // multiple selection
    COLORREF bkColor = CLR_NONE;        // CLR_NONE: the system's window colour
    COLORREF textColor = CLR_NONE;
    COLORREF disabledColor = CLR_DEFAULT; // CLR_DEFAULT: the system's grey text colour
    HFONT font = nullptr;
    int itemHeight = 16;
    int indent = 19;
    bool focused = false;
    int wheel = 0; // wheel delta not yet turned into rows
    std::string search;
    DWORD searchTime = 0;
    bool swallowChar = false; // the character of a key already handled as a command
    UINT describeMessage = 0;

    bool multi() const;
};

// ---- layout and scrolling ----
// Brings the displayed rows, the first row in view and the scroll bar up to date.
const std::vector<Node*>& layout(Tree* t);
int clientHeight(const Tree* t);
int clientWidth(const Tree* t);
int visibleCount(const Tree* t); // rows wholly in view
size_t topIndex(Tree* t);
void setTop(Tree* t, long index);
void scrollIntoView(Tree* t, Node* node);
void updateScroll(Tree* t);
void redraw(const Tree* t);

// ---- geometry (client coordinates of a displayed row) ----
struct RowGeometry {
    RECT row{};    // the whole line
    RECT button{}; // empty without a button
    RECT label{};  // the text and its margin
};
RowGeometry geometry(Tree* t, const Node* node, HDC dc); // dc: the control's font selected
RowGeometry geometry(Tree* t, const Node* node);         // in a DC of its own
Node* hitTest(Tree* t, POINT pt, UINT* flags); // flags: required
bool showsButton(const Tree* t, const Node* node);

// ---- painting and the driver's description ----
void paint(Tree* t);
LRESULT describe(Tree* t, WPARAM size, LPSTR buffer);

// ---- state of a row ----
bool isSelected(const Tree* t, const Node* node);
UINT itemState(const Tree* t, const Node* node);

} // namespace sectree

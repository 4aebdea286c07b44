// The SECTreeCtrl window procedure: messages unpacked into handlers named after them, the item
// messages of the tree view protocol, selection, opening and closing, keys, mouse and scrolling.
#include "treectrl/SECTreeCtrl.h"
#include "treectrl/TreeWindow.h"

#include <windowsx.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace sectree {

namespace {

// Typed characters within this time continue the search text.
constexpr DWORD kSearchTimeout = 1000;
constexpr int kWheelRows = 3;

Tree* state(HWND hwnd) {
    return reinterpret_cast<Tree*>(GetWindowLongPtrA(hwnd, 0));
}

// The control survived a notification (its parent may destroy it in one).
bool alive(HWND hwnd, const Tree* t) {
    return IsWindow(hwnd) && state(hwnd) == t;
}

HTREEITEM handleOf(const Node* node) {
    return reinterpret_cast<HTREEITEM>(const_cast<Node*>(node));
}

// An item argument that names an existing row.
Node* validNode(Tree* t, LPARAM item) {
    void* p = reinterpret_cast<void*>(item);
    return t->model.valid(p) ? static_cast<Node*>(p) : nullptr;
}

bool keyDown(int vk) {
    return GetKeyState(vk) < 0;
}

// Case folding of the narrow code page (Windows-1252 letters).
unsigned char fold(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 32);
    return c;
}

int compareNoCase(const std::string& a, const std::string& b) {
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        unsigned char x = fold(static_cast<unsigned char>(a[i])), y = fold(static_cast<unsigned char>(b[i]));
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : a.size() < b.size() ? -1 : 1;
}

// ---- notifications ----

void fillItem(const Tree* t, TVITEMA& item, const Node* node) {
    item.mask = TVIF_HANDLE | TVIF_STATE | TVIF_PARAM;
    item.hItem = handleOf(node);
    item.state = node ? itemState(t, node) : 0;
    item.lParam = node ? node->data : 0;
}

LRESULT notifyTree(Tree* t, UINT code, UINT action, const Node* oldNode, const Node* newNode) {
    NMTREEVIEWA nm{};
    nm.hdr.hwndFrom = t->self;
    nm.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(t->self));
    nm.hdr.code = code;
    nm.action = action;
    fillItem(t, nm.itemOld, oldNode);
    fillItem(t, nm.itemNew, newNode);
    if (!t->notify) return 0;
    return SendMessageA(t->notify, WM_NOTIFY, nm.hdr.idFrom, reinterpret_cast<LPARAM>(&nm));
}

LRESULT notifySimple(Tree* t, UINT code) {
    NMHDR nm{t->self, static_cast<UINT_PTR>(GetDlgCtrlID(t->self)), code};
    if (!t->notify) return 0;
    return SendMessageA(t->notify, WM_NOTIFY, nm.idFrom, reinterpret_cast<LPARAM>(&nm));
}

// ---- selection ----

bool setSelected(Tree* t, Node* node, bool selected) {
    if (selected && TreeModel::disabled(node)) return false;
    if (node->selected == selected) return false;
    node->selected = selected;
    if (selected)
        t->selected.insert(node);
    else
        t->selected.erase(node);
    return true;
}

bool clearSelection(Tree* t, const Node* except) {
    bool changed = false;
    std::vector<Node*> all(t->selected.begin(), t->selected.end());
    for (Node* n : all)
        if (n != except) changed |= setSelected(t, n, false);
    return changed;
}

// Selects (or deselects) the displayed rows from a to b, either order.
bool selectRows(Tree* t, const Node* a, const Node* b, bool selected) {
    const auto& rows = layout(t);
    size_t i = a->row, j = b->row;
    if (i > j) std::swap(i, j);
    bool changed = false;
    for (size_t k = i; k <= j && k < rows.size(); ++k)
        changed |= setSelected(t, rows[k], selected);
    return changed;
}

// Moves the caret (and the focus) to `to`, changing the selection as asked, with
// TVN_SELCHANGING when the caret moves (unless forced) and TVN_SELCHANGED when anything changed.
// False when the parent kept the caret or the control went away.
bool moveCaret(Tree* t, Node* to, UINT action, Select how, bool forced = false) {
    HWND self = t->self;
    Node* old = t->caret;
    if (to != old && !forced) {
        if (notifyTree(t, TVN_SELCHANGINGA, action, old, to)) return false;
        if (!alive(self, t) || (to && !t->model.valid(to)) || (old && !t->model.valid(old))) return false;
    }
    bool changed = to != old;
    t->caret = to;
    t->focus = to;
    if (t->multi() && to) {
        switch (how) {
        case Select::Only:
            changed |= clearSelection(t, to);
            changed |= setSelected(t, to, true);
            t->anchor = to;
            break;
        case Select::Keep:
            break;
        case Select::Toggle:
            changed |= setSelected(t, to, !to->selected);
            t->anchor = to;
            break;
        case Select::Range:
        case Select::AddRange: {
            Node* from = t->anchor && t->model.displayed(t->anchor) ? t->anchor : to;
            t->anchor = from;
            if (how == Select::Range) {
                std::vector<Node*> all(t->selected.begin(), t->selected.end());
                const auto& rows = layout(t);
                size_t lo = std::min(from->row, to->row), hi = std::max(from->row, to->row);
                for (Node* n : all) {
                    bool inside = n->row < rows.size() && rows[n->row] == n && n->row >= lo && n->row <= hi;
                    if (!inside) changed |= setSelected(t, n, false);
                }
            }
            changed |= selectRows(t, from, to, true);
            break;
        }
        }
    } else if (!t->multi()) {
        t->anchor = to;
    }
    if (to) scrollIntoView(t, to);
    redraw(t);
    if (changed) notifyTree(t, TVN_SELCHANGEDA, action, old, to);
    return alive(self, t);
}

// Announces a change of the selection that left the caret where it was.
void selectionChanged(Tree* t, UINT action, const Node* about) {
    redraw(t);
    notifyTree(t, TVN_SELCHANGEDA, action, t->caret, about);
}

// ---- opening and closing ----

bool expand(Tree* t, Node* node, UINT code);

void deleteChildren(Tree* t, Node* node);

bool collapse(Tree* t, Node* node, bool reset) {
    HWND self = t->self;
    if (!node->expanded) return false;
    if (notifyTree(t, TVN_ITEMEXPANDINGA, TVE_COLLAPSE, nullptr, node)) return false;
    if (!alive(self, t) || !t->model.valid(node) || !node->expanded) return false;
    node->expanded = false;
    t->model.rowsChanged();
    bool hidden = false;
    if (t->multi() && (t->exStyle & SECTVS_EX_DESELECTONCOLLAPSE)) {
        std::vector<Node*> all(t->selected.begin(), t->selected.end());
        for (Node* n : all)
            if (n != node && TreeModel::contains(node, n)) hidden |= setSelected(t, n, false);
    }
    if (t->focus != node && TreeModel::contains(node, t->focus)) t->focus = node;
    if (t->anchor != node && TreeModel::contains(node, t->anchor)) t->anchor = node;
    if (t->caret != node && TreeModel::contains(node, t->caret)) {
        if (!moveCaret(t, node, TVC_UNKNOWN, t->multi() ? Select::Keep : Select::Only, true)) return false;
        if (!t->model.valid(node)) return false;
    } else if (hidden) {
        selectionChanged(t, TVC_UNKNOWN, node);
        if (!alive(self, t) || !t->model.valid(node)) return false;
    }
    if (reset) {
        deleteChildren(t, node);
        node->expandedOnce = false;
    }
    redraw(t);
    notifyTree(t, TVN_ITEMEXPANDEDA, TVE_COLLAPSE, nullptr, node);
    return true;
}

bool expand(Tree* t, Node* node, UINT code) {
    HWND self = t->self;
    UINT what = code & TVE_TOGGLE;
    if (what == TVE_TOGGLE) what = node->expanded ? TVE_COLLAPSE : TVE_EXPAND;
    if (what == TVE_COLLAPSE) return collapse(t, node, code & TVE_COLLAPSERESET);
    if (what != TVE_EXPAND || node->expanded || !TreeModel::hasChildren(node)) return false;
    if (notifyTree(t, TVN_ITEMEXPANDINGA, TVE_EXPAND, nullptr, node)) return false;
    if (!alive(self, t) || !t->model.valid(node) || !node->firstChild || node->expanded) return false;
    node->expanded = true;
    node->expandedOnce = true;
    t->model.rowsChanged();
    redraw(t);
    notifyTree(t, TVN_ITEMEXPANDEDA, TVE_EXPAND, nullptr, node);
    return true;
}

// Opens the row and everything below it (keypad *).
void expandAll(Tree* t, Node* node) {
    HWND self = t->self;
    for (Node* n = node; n && TreeModel::contains(node, n); n = TreeModel::nextInOrder(n)) {
        if (TreeModel::hasChildren(n) && !n->expanded) expand(t, n, TVE_EXPAND);
        if (!alive(self, t) || !t->model.valid(node) || !t->model.valid(n)) return;
    }
}

// Opens the row's ancestors, outermost first.
bool openAncestors(Tree* t, Node* node) {
    std::vector<Node*> chain;
    for (Node* p = node->parent; p; p = p->parent)
        chain.push_back(p);
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        if ((*it)->expanded) continue;
        expand(t, *it, TVE_EXPAND);
        if (!alive(t->self, t) || !t->model.valid(node) || !(*it)->expanded) return false;
    }
    return true;
}

bool ensureVisible(Tree* t, Node* node) {
    if (!openAncestors(t, node)) return false;
    layout(t);
    scrollIntoView(t, node);
    return true;
}

// ---- insertion and deletion ----

Node* insertItem(Tree* t, const TVINSERTSTRUCTA* is) {
    if (!is) return nullptr;
    Node* parent = nullptr;
    if (is->hParent && is->hParent != TVI_ROOT) {
        parent = validNode(t, reinterpret_cast<LPARAM>(is->hParent));
        if (!parent) return nullptr;
    }
    Node* first = parent ? parent->firstChild : t->model.firstRoot();
    Node* last = parent ? parent->lastChild : t->model.lastRoot();
    Node* after = nullptr;
    const TVITEMA& item = is->item;
    std::string text =
        (item.mask & TVIF_TEXT) && item.pszText && item.pszText != LPSTR_TEXTCALLBACKA ? item.pszText : "";
    HTREEITEM where = is->hInsertAfter;
    if (where == TVI_FIRST) {
        after = nullptr;
    } else if (where == TVI_LAST || !where) {
        after = last;
    } else if (where == TVI_SORT) {
        after = nullptr;
        for (Node* n = first; n && compareNoCase(n->text, text) <= 0; n = n->next)
            after = n;
    } else {
        after = validNode(t, reinterpret_cast<LPARAM>(where));
        if (!after || after->parent != parent) return nullptr;
    }
    Node* node =
        t->model.insertAfter(parent, after, std::move(text), (item.mask & TVIF_PARAM) ? item.lParam : 0);
    if (item.mask & TVIF_CHILDREN) node->childrenFlag = item.cChildren != 0 ? 1 : 0;
    if ((item.mask & TVIF_STATE) && (item.stateMask & TVIS_SELECTED) && (item.state & TVIS_SELECTED) &&
        t->multi())
        setSelected(t, node, true);
    if (!parent || t->model.displayed(parent)) redraw(t);
    return node;
}

void deleteNode(Tree* t, Node* node);

void deleteChildren(Tree* t, Node* node) {
    while (node->firstChild && t->model.valid(node) && alive(t->self, t))
        deleteNode(t, node->firstChild);
}

// Deletes a row and its subtree; a caret inside moves to the next sibling, else the parent,
// else the previous sibling (with the notifications), selected rows inside leave the selection.
void deleteNode(Tree* t, Node* node) {
    HWND self = t->self;
    layout(t);
    Node* replacement = node->next ? node->next : node->parent ? node->parent : node->prev;
    if (t->top && TreeModel::contains(node, t->top)) {
        Node* after = TreeModel::afterSubtree(node);
        t->top = after ? after : node->prev ? node->prev : node->parent;
    }
    if (TreeModel::contains(node, t->focus)) t->focus = replacement;
    if (TreeModel::contains(node, t->anchor)) t->anchor = replacement;
    if (TreeModel::contains(node, t->caret)) {
        moveCaret(t, replacement, TVC_UNKNOWN, t->multi() ? Select::Keep : Select::Only, true);
        if (!alive(self, t) || !t->model.valid(node)) return;
        if (TreeModel::contains(node, t->caret)) t->caret = t->focus = nullptr;
    }
    bool selectionGone = false;
    std::vector<Node*> all(t->selected.begin(), t->selected.end());
    for (Node* n : all)
        if (TreeModel::contains(node, n)) selectionGone |= setSelected(t, n, false);
    Node* parent = node->parent;
    bool shown = t->model.displayed(node);
    t->model.remove(node);
    if (parent && !parent->firstChild) parent->expanded = false; // a row without children is never open
    if (shown) redraw(t);
    if (selectionGone) selectionChanged(t, TVC_UNKNOWN, t->caret);
}

void deleteAll(Tree* t) {
    t->model.clear();
    t->selected.clear();
    t->caret = t->focus = t->anchor = t->top = nullptr;
    t->search.clear();
    redraw(t);
    updateScroll(t);
}

// ---- item messages ----

LRESULT getItem(Tree* t, TVITEMA* item) {
    if (!item) return FALSE;
    Node* node = validNode(t, reinterpret_cast<LPARAM>(item->hItem));
    if (!node) return FALSE;
    if (item->mask & TVIF_TEXT) {
        if (item->pszText && item->cchTextMax > 0) {
            size_t n = std::min(node->text.size(), static_cast<size_t>(item->cchTextMax - 1));
            std::memcpy(item->pszText, node->text.data(), n);
            item->pszText[n] = '\0';
        }
    }
    if (item->mask & TVIF_PARAM) item->lParam = node->data;
    if (item->mask & TVIF_STATE) item->state = itemState(t, node) & item->stateMask;
    if (item->mask & TVIF_CHILDREN) item->cChildren = TreeModel::hasChildren(node) ? 1 : 0;
    return TRUE;
}

LRESULT setItem(Tree* t, const TVITEMA* item) {
    if (!item) return FALSE;
    Node* node = validNode(t, reinterpret_cast<LPARAM>(item->hItem));
    if (!node) return FALSE;
    if ((item->mask & TVIF_TEXT) && item->pszText && item->pszText != LPSTR_TEXTCALLBACKA)
        node->text = item->pszText;
    if (item->mask & TVIF_PARAM) node->data = item->lParam;
    if (item->mask & TVIF_CHILDREN) node->childrenFlag = item->cChildren != 0 ? 1 : 0;
    if ((item->mask & TVIF_STATE) && (item->stateMask & TVIS_SELECTED) && t->multi()) {
        if (setSelected(t, node, (item->state & TVIS_SELECTED) != 0)) selectionChanged(t, TVC_UNKNOWN, node);
    }
    if (t->model.displayed(node)) redraw(t);
    return TRUE;
}

LRESULT getNextItem(Tree* t, WPARAM code, LPARAM item) {
    Node* node = validNode(t, item);
    const auto& rows = layout(t);
    switch (code) {
    case TVGN_ROOT:
        return reinterpret_cast<LRESULT>(t->model.firstRoot());
    case TVGN_CARET:
        return reinterpret_cast<LRESULT>(t->caret);
    case TVGN_FIRSTVISIBLE:
        return reinterpret_cast<LRESULT>(t->top);
    case TVGN_LASTVISIBLE:
        return reinterpret_cast<LRESULT>(rows.empty() ? nullptr : rows.back());
    case TVGN_DROPHILITE:
        return 0;
    case TVGN_CHILD:
        if (!item || reinterpret_cast<HTREEITEM>(item) == TVI_ROOT)
            return reinterpret_cast<LRESULT>(t->model.firstRoot());
        return reinterpret_cast<LRESULT>(node ? node->firstChild : nullptr);
    default:
        break;
    }
    if (!node) return 0;
    switch (code) {
    case TVGN_NEXT:
        return reinterpret_cast<LRESULT>(node->next);
    case TVGN_PREVIOUS:
        return reinterpret_cast<LRESULT>(node->prev);
    case TVGN_PARENT:
        return reinterpret_cast<LRESULT>(node->parent);
    case TVGN_NEXTVISIBLE:
        if (!t->model.displayed(node) || node->row + 1 >= rows.size()) return 0;
        return reinterpret_cast<LRESULT>(rows[node->row + 1]);
    case TVGN_PREVIOUSVISIBLE:
        if (!t->model.displayed(node) || node->row == 0) return 0;
        return reinterpret_cast<LRESULT>(rows[node->row - 1]);
    default:
        return 0;
    }
}

LRESULT selectItem(Tree* t, WPARAM code, LPARAM item) {
    Node* node = validNode(t, item);
    if (item && !node) return FALSE;
    if (code == TVGN_FIRSTVISIBLE) {
        if (!node || !ensureVisible(t, node)) return FALSE;
        layout(t);
        setTop(t, static_cast<long>(node->row));
        return TRUE;
    }
    if (code != TVGN_CARET) return FALSE;
    if (!node) return moveCaret(t, nullptr, TVC_UNKNOWN, Select::Keep) ? TRUE : FALSE;
    if (TreeModel::disabled(node)) return FALSE;
    if (!openAncestors(t, node)) return FALSE;
    layout(t);
    return moveCaret(t, node, TVC_UNKNOWN, Select::Only) ? TRUE : FALSE;
}

// ---- selection messages of this control ----

LRESULT setItemSelected(Tree* t, BOOL selected, LPARAM item) {
    Node* node = validNode(t, item);
    if (!node) return FALSE;
    if (!t->multi()) {
        if (selected) return selectItem(t, TVGN_CARET, item);
        if (t->caret != node) return TRUE;
        return moveCaret(t, nullptr, TVC_UNKNOWN, Select::Keep) ? TRUE : FALSE;
    }
    if (selected && TreeModel::disabled(node)) return FALSE;
    if (setSelected(t, node, selected != FALSE)) selectionChanged(t, TVC_UNKNOWN, node);
    return TRUE;
}

LRESULT nextSelected(Tree* t, LPARAM item) {
    Node* node = validNode(t, item);
    if (item && !node) return 0;
    if (!t->multi()) {
        bool first = !node;
        return reinterpret_cast<LRESULT>(first && t->caret && isSelected(t, t->caret) ? t->caret : nullptr);
    }
    if (t->selected.empty()) return 0;
    for (Node* n = node ? TreeModel::nextInOrder(node) : t->model.firstRoot(); n;
         n = TreeModel::nextInOrder(n))
        if (n->selected) return reinterpret_cast<LRESULT>(n);
    return 0;
}

LRESULT selectRange(Tree* t, BOOL selected, const HTREEITEM* ends) {
    if (!t->multi() || !ends) return FALSE;
    Node* a = validNode(t, reinterpret_cast<LPARAM>(ends[0]));
    Node* b = validNode(t, reinterpret_cast<LPARAM>(ends[1]));
    if (!a || !b || !t->model.displayed(a) || !t->model.displayed(b)) return FALSE;
    if (selectRows(t, a, b, selected != FALSE)) selectionChanged(t, TVC_UNKNOWN, b);
    return TRUE;
}

void deselectAll(Tree* t) {
    if (!t->multi()) {
        if (t->caret) moveCaret(t, nullptr, TVC_UNKNOWN, Select::Keep);
        return;
    }
    if (clearSelection(t, nullptr)) selectionChanged(t, TVC_UNKNOWN, t->caret);
}

LRESULT disableItem(Tree* t, BOOL disabled, LPARAM item) {
    Node* node = validNode(t, item);
    if (!node) return FALSE;
    if (node->disabledOwn == (disabled != FALSE)) return TRUE;
    bool wasSelected = t->caret && isSelected(t, t->caret);
    node->disabledOwn = disabled != FALSE;
    bool changed = false;
    if (disabled) {
        std::vector<Node*> all(t->selected.begin(), t->selected.end());
        for (Node* n : all)
            if (TreeModel::contains(node, n)) changed |= setSelected(t, n, false);
        if (!t->multi() && wasSelected && TreeModel::contains(node, t->caret)) changed = true;
    }
    redraw(t);
    if (changed) selectionChanged(t, TVC_UNKNOWN, node);
    return TRUE;
}

// ---- keys ----

// The row the keyboard works from: the focus row, or its nearest displayed ancestor.
Node* keyRow(Tree* t) {
    Node* n = t->multi() ? t->focus : t->caret;
    while (n && !t->model.displayed(n))
        n = n->parent;
    return n;
}

void toggleFocused(Tree* t) {
    Node* n = keyRow(t);
    if (!n || TreeModel::disabled(n)) return;
    moveCaret(t, n, TVC_BYKEYBOARD, Select::Toggle);
}

// Moves the caret (or only the focus rectangle) to a row by key.
void keyMove(Tree* t, Node* to) {
    if (!to) return;
    bool ctrl = keyDown(VK_CONTROL), shift = keyDown(VK_SHIFT);
    if (t->multi() && ctrl && !shift) {
        t->focus = to;
        scrollIntoView(t, to);
        redraw(t);
        return;
    }
    moveCaret(t, to, TVC_BYKEYBOARD, t->multi() && shift ? Select::Range : Select::Only);
}

LRESULT onKeyDown(Tree* t, UINT vk, LPARAM lParam) {
    HWND self = t->self;
    t->swallowChar = false;
    const auto& rows = layout(t);
    bool ctrl = keyDown(VK_CONTROL);
    if (vk == VK_RETURN) {
        notifySimple(t, NM_RETURN);
        return 0;
    }
    if (rows.empty()) return 0;
    Node* cur = keyRow(t);
    long last = static_cast<long>(rows.size()) - 1;
    long at = cur ? static_cast<long>(cur->row) : -1;
    long page = std::max(1, visibleCount(t) - 1);
    auto rowAt = [&](long i) { return rows[static_cast<size_t>(std::max(0L, std::min(i, last)))]; };
    if (!t->multi() && ctrl && (vk == VK_UP || vk == VK_DOWN)) {
        setTop(t, static_cast<long>(topIndex(t)) + (vk == VK_UP ? -1 : 1));
        return 0;
    }
    switch (vk) {
    case VK_UP:
        keyMove(t, cur ? rowAt(at - 1) : rows.front());
        break;
    case VK_DOWN:
        keyMove(t, cur ? rowAt(at + 1) : rows.front());
        break;
    case VK_HOME:
        keyMove(t, rows.front());
        break;
    case VK_END:
        keyMove(t, rows.back());
        break;
    case VK_PRIOR:
        keyMove(t, cur ? rowAt(at - page) : rows.front());
        break;
    case VK_NEXT:
        keyMove(t, cur ? rowAt(at + page) : rows.front());
        break;
    case VK_LEFT:
        if (!cur) {
            keyMove(t, rows.front());
        } else if (cur->expanded && cur->firstChild) {
            expand(t, cur, TVE_COLLAPSE);
        } else if (cur->parent) {
            keyMove(t, cur->parent);
        }
        break;
    case VK_RIGHT:
        if (!cur) {
            keyMove(t, rows.front());
        } else if (!cur->expanded && TreeModel::hasChildren(cur)) {
            expand(t, cur, TVE_EXPAND);
        } else if (cur->expanded && cur->firstChild) {
            keyMove(t, cur->firstChild);
        }
        break;
    case VK_BACK:
        if (cur && cur->parent) keyMove(t, cur->parent);
        break;
    case VK_ADD:
        t->swallowChar = true;
        if (cur) expand(t, cur, TVE_EXPAND);
        break;
    case VK_SUBTRACT:
        t->swallowChar = true;
        if (cur) expand(t, cur, TVE_COLLAPSE);
        break;
    case VK_MULTIPLY:
        t->swallowChar = true;
        if (cur) expandAll(t, cur);
        break;
    case VK_SPACE:
        if (t->multi()) toggleFocused(t);
        break;
    default:
        // keys of the window itself, such as F1 asking for help
        return DefWindowProcA(self, WM_KEYDOWN, vk, lParam);
    }
    // a command key ends the typed search
    if (alive(self, t)) t->search.clear();
    return 0;
}

bool startsWith(const std::string& text, const std::string& prefix) {
    if (prefix.size() > text.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (fold(static_cast<unsigned char>(text[i])) != fold(static_cast<unsigned char>(prefix[i])))
            return false;
    return true;
}

// Type-to-find: the next displayed row (not disabled) whose text begins with what was typed.
LRESULT onChar(Tree* t, WPARAM ch) {
    bool swallow = t->swallowChar;
    t->swallowChar = false;
    unsigned char c = static_cast<unsigned char>(ch);
    if (swallow || c < 0x20 || c == 0x7F || keyDown(VK_CONTROL)) return 0;
    DWORD now = GetTickCount();
    bool fresh = t->search.empty() || now - t->searchTime > kSearchTimeout;
    if (fresh) t->search.clear();
    if (c == ' ' && t->search.empty()) return 0;
    t->searchTime = now;
    t->search.push_back(static_cast<char>(c));
    const auto& rows = layout(t);
    if (rows.empty()) return 0;
    bool repeated = std::all_of(t->search.begin(), t->search.end(), [&](char x) {
        return fold(static_cast<unsigned char>(x)) == fold(static_cast<unsigned char>(t->search[0]));
    });
    std::string prefix = repeated ? t->search.substr(0, 1) : t->search;
    Node* cur = keyRow(t);
    size_t count = rows.size();
    // a new search (or a repeated letter) starts after the caret; a longer text may stay on it
    size_t from = cur ? cur->row + (repeated ? 1 : 0) : 0;
    for (size_t k = 0; k < count; ++k) {
        Node* n = rows[(from + k) % count];
        if (TreeModel::disabled(n) || !startsWith(n->text, prefix)) continue;
        if (n != t->caret || (t->multi() && !(n->selected && t->selected.size() == 1)))
            moveCaret(t, n, TVC_BYKEYBOARD, Select::Only);
        return 0;
    }
    return 0;
}

LRESULT onGetDlgCode(Tree* t, const MSG* msg) {
    // Enter stays the dialog's (its default button) but the parent hears of it
    if (msg && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) notifySimple(t, NM_RETURN);
    return DLGC_WANTARROWS | DLGC_WANTCHARS;
}

// ---- mouse ----

void onButtonDown(Tree* t, int x, int y, bool doubleClick) {
    HWND self = t->self;
    if (GetFocus() != self) {
        SetFocus(self);
        if (!alive(self, t)) return;
    }
    UINT flags = 0;
    Node* hit = hitTest(t, POINT{x, y}, &flags);
    if (hit && (flags & TVHT_ONITEMBUTTON)) {
        expand(t, hit, TVE_TOGGLE);
        if (alive(self, t)) notifySimple(t, doubleClick ? NM_DBLCLK : NM_CLICK);
        return;
    }
    bool onRow = (flags & TVHT_ONITEM) ||
                 ((t->exStyle & SECTVS_EX_FULLROWSELECT) && (flags & (TVHT_ONITEMINDENT | TVHT_ONITEMRIGHT)));
    if (doubleClick) {
        if (notifySimple(t, NM_DBLCLK) || !alive(self, t)) return;
        if (hit && onRow && t->model.valid(hit) && TreeModel::hasChildren(hit)) expand(t, hit, TVE_TOGGLE);
        return;
    }
    if (notifySimple(t, NM_CLICK) || !alive(self, t)) return;
    if (!hit || !onRow || !t->model.valid(hit) || TreeModel::disabled(hit)) return;
    layout(t);
    if (!t->multi()) {
        moveCaret(t, hit, TVC_BYMOUSE, Select::Only);
        return;
    }
    bool ctrl = keyDown(VK_CONTROL), shift = keyDown(VK_SHIFT);
    Select how = ctrl && shift ? Select::AddRange
                 : shift       ? Select::Range
                 : ctrl        ? Select::Toggle
                               : Select::Only;
    moveCaret(t, hit, TVC_BYMOUSE, how);
}

// ---- scrolling ----

void onVScroll(Tree* t, WORD code, WORD pos) {
    long top = static_cast<long>(topIndex(t));
    long page = std::max(1, visibleCount(t));
    switch (code) {
    case SB_LINEUP:
        setTop(t, top - 1);
        break;
    case SB_LINEDOWN:
        setTop(t, top + 1);
        break;
    case SB_PAGEUP:
        setTop(t, top - page);
        break;
    case SB_PAGEDOWN:
        setTop(t, top + page);
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        long target = pos;
        // the 16 bits of the message do not reach far in a long tree: the scroll bar knows better
        SCROLLINFO si{};
        si.cbSize = sizeof si;
        si.fMask = SIF_TRACKPOS | SIF_RANGE;
        if (layout(t).size() > 0xFFFF && GetScrollInfo(t->self, SB_VERT, &si)) target = si.nTrackPos;
        setTop(t, target);
        break;
    }
    case SB_TOP:
        setTop(t, 0);
        break;
    case SB_BOTTOM:
        setTop(t, static_cast<long>(layout(t).size()));
        break;
    default:
        break;
    }
}

void onMouseWheel(Tree* t, int delta) {
    if ((t->wheel > 0 && delta < 0) || (t->wheel < 0 && delta > 0)) t->wheel = 0;
    t->wheel += delta;
    int rows = t->wheel * kWheelRows / WHEEL_DELTA;
    if (rows == 0) return;
    t->wheel -= rows * WHEEL_DELTA / kWheelRows;
    setTop(t, static_cast<long>(topIndex(t)) - rows);
}

// ---- creation, fonts ----

int fontHeight(HWND hwnd, HFONT font) {
    HDC dc = GetDC(hwnd);
    HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    if (old) SelectObject(dc, old);
    ReleaseDC(hwnd, dc);
    return tm.tmHeight > 0 ? static_cast<int>(tm.tmHeight) : 13;
}

// Rows are the text's height and a little air, as Windows' tree view lays them out.
void setFont(Tree* t, HFONT font) {
    t->font = font;
    t->itemHeight = fontHeight(t->self, font) + 3;
}

LRESULT onCreate(Tree* t, const CREATESTRUCTA* cs) {
    t->style = static_cast<DWORD>(cs->style);
    t->notify = cs->hwndParent;
    t->describeMessage = RegisterWindowMessageA("W32DRV_DESCRIBE");
    setFont(t, nullptr);
    updateScroll(t);
    return 0;
}

LRESULT treeMessage(Tree* t, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case TVM_INSERTITEMA:
        return reinterpret_cast<LRESULT>(insertItem(t, reinterpret_cast<const TVINSERTSTRUCTA*>(lParam)));
    case TVM_DELETEITEM: {
        if (!lParam || reinterpret_cast<HTREEITEM>(lParam) == TVI_ROOT) {
            deleteAll(t);
            return TRUE;
        }
        Node* node = validNode(t, lParam);
        if (!node) return FALSE;
        deleteNode(t, node);
        return TRUE;
    }
    case TVM_EXPAND: {
        Node* node = validNode(t, lParam);
        return node && expand(t, node, static_cast<UINT>(wParam)) ? TRUE : FALSE;
    }
    case TVM_GETCOUNT:
        return static_cast<LRESULT>(t->model.count());
    case TVM_GETINDENT:
        return t->indent;
    case TVM_GETITEMHEIGHT:
        return t->itemHeight;
    case TVM_GETNEXTITEM:
        return getNextItem(t, wParam, lParam);
    case TVM_SELECTITEM:
        return selectItem(t, wParam, lParam);
    case TVM_GETITEMA:
        return getItem(t, reinterpret_cast<TVITEMA*>(lParam));
    case TVM_SETITEMA:
        return setItem(t, reinterpret_cast<const TVITEMA*>(lParam));
    case TVM_GETVISIBLECOUNT:
        return visibleCount(t);
    case TVM_HITTEST: {
        auto* info = reinterpret_cast<TVHITTESTINFO*>(lParam);
        if (!info) return 0;
        info->hItem = handleOf(hitTest(t, info->pt, &info->flags));
        return reinterpret_cast<LRESULT>(info->hItem);
    }
    case TVM_ENSUREVISIBLE: {
        Node* node = validNode(t, lParam);
        return node && ensureVisible(t, node) ? TRUE : FALSE;
    }
    case TVM_GETITEMRECT: {
        auto* rect = reinterpret_cast<RECT*>(lParam);
        LPARAM handle = 0;
        if (rect) std::memcpy(&handle, rect, sizeof handle);
        Node* node = rect ? validNode(t, handle) : nullptr;
        if (!node || !t->model.displayed(node)) return FALSE;
        RowGeometry g = geometry(t, node);
        *rect = wParam ? g.label : g.row;
        return TRUE;
    }
    case TVM_SETBKCOLOR: {
        COLORREF old = t->bkColor;
        t->bkColor = static_cast<COLORREF>(lParam);
        redraw(t);
        return static_cast<LRESULT>(old);
    }
    case TVM_GETBKCOLOR:
        return static_cast<LRESULT>(t->bkColor);
    case TVM_SETTEXTCOLOR: {
        COLORREF old = t->textColor;
        t->textColor = static_cast<COLORREF>(lParam);
        redraw(t);
        return static_cast<LRESULT>(old);
    }
    case TVM_GETTEXTCOLOR:
        return static_cast<LRESULT>(t->textColor);
    case SECTVM_SETITEMSELECTED:
        return setItemSelected(t, static_cast<BOOL>(wParam), lParam);
    case SECTVM_GETNEXTSELECTED:
        return nextSelected(t, lParam);
    case SECTVM_SELECTRANGE:
        return selectRange(t, static_cast<BOOL>(wParam), reinterpret_cast<const HTREEITEM*>(lParam));
    case SECTVM_DESELECTALL:
        deselectAll(t);
        return 0;
    case SECTVM_GETFOCUSEDITEM:
        return reinterpret_cast<LRESULT>(t->multi() ? t->focus : t->caret);
    case SECTVM_DISABLEITEM:
        return disableItem(t, static_cast<BOOL>(wParam), lParam);
    case SECTVM_ISITEMDISABLED: {
        Node* node = validNode(t, lParam);
        return node && TreeModel::disabled(node) ? TRUE : FALSE;
    }
    case SECTVM_SETDISABLEDCOLOR: {
        COLORREF old = t->disabledColor == CLR_DEFAULT ? GetSysColor(COLOR_GRAYTEXT) : t->disabledColor;
        t->disabledColor = static_cast<COLORREF>(lParam);
        redraw(t);
        return static_cast<LRESULT>(old);
    }
    case SECTVM_GETDISABLEDCOLOR:
        return static_cast<LRESULT>(t->disabledColor == CLR_DEFAULT ? GetSysColor(COLOR_GRAYTEXT)
                                                                    : t->disabledColor);
    case SECTVM_SETEXSTYLE: {
        DWORD old = t->exStyle;
        t->exStyle = static_cast<DWORD>(lParam);
        if (!t->multi()) clearSelection(t, nullptr);
        redraw(t);
        return static_cast<LRESULT>(old);
    }
    case SECTVM_GETEXSTYLE:
        return static_cast<LRESULT>(t->exStyle);
    default:
        return DefWindowProcA(t->self, msg, wParam, lParam);
    }
}

bool isTreeMessage(UINT msg) {
    return (msg >= TV_FIRST && msg <= TVM_GETTEXTCOLOR) || (msg >= SECTVM_FIRST && msg <= SECTVM_GETEXSTYLE);
}

} // namespace

bool Tree::multi() const {
    return (exStyle & SECTVS_EX_MULTISEL) != 0;
}

bool isSelected(const Tree* t, const Node* node) {
    if (!node || TreeModel::disabled(node)) return false;
    return t->multi() ? node->selected : node == t->caret;
}

UINT itemState(const Tree* t, const Node* node) {
    UINT s = 0;
    if (isSelected(t, node)) s |= TVIS_SELECTED;
    if (node->expanded) s |= TVIS_EXPANDED;
    if (node->expandedOnce) s |= TVIS_EXPANDEDONCE;
    if (node == (t->multi() ? t->focus : t->caret)) s |= SECTVIS_FOCUSED;
    return s;
}

LRESULT CALLBACK treeProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* t = new Tree;
        t->self = hwnd;
        SetWindowLongPtrA(hwnd, 0, reinterpret_cast<LONG_PTR>(t));
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    Tree* t = state(hwnd);
    if (!t) return DefWindowProcA(hwnd, msg, wParam, lParam);
    if (isTreeMessage(msg)) return treeMessage(t, msg, wParam, lParam);
    if (msg == t->describeMessage && msg != 0) return describe(t, wParam, reinterpret_cast<LPSTR>(lParam));
    switch (msg) {
    case WM_CREATE:
        return onCreate(t, reinterpret_cast<const CREATESTRUCTA*>(lParam));
    case WM_NCDESTROY:
        SetWindowLongPtrA(hwnd, 0, 0);
        delete t;
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_STYLECHANGED:
        if (wParam == static_cast<WPARAM>(GWL_STYLE))
            t->style = reinterpret_cast<const STYLESTRUCT*>(lParam)->styleNew;
        redraw(t);
        return 0;
    case WM_SIZE:
        layout(t);
        setTop(t, static_cast<long>(topIndex(t)));
        redraw(t);
        return 0;
    case WM_SETFONT:
        setFont(t, reinterpret_cast<HFONT>(wParam));
        setTop(t, static_cast<long>(topIndex(t)));
        if (LOWORD(lParam)) redraw(t);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(t->font);
    case WM_GETDLGCODE:
        return onGetDlgCode(t, reinterpret_cast<const MSG*>(lParam));
    case WM_SETFOCUS:
        t->focused = true;
        redraw(t);
        notifySimple(t, NM_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        t->focused = false;
        redraw(t);
        notifySimple(t, NM_KILLFOCUS);
        return 0;
    case WM_KEYDOWN:
        return onKeyDown(t, static_cast<UINT>(wParam), lParam);
    case WM_CHAR:
        return onChar(t, wParam);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        onButtonDown(t, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), msg == WM_LBUTTONDBLCLK);
        return 0;
    case WM_VSCROLL:
        onVScroll(t, LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_MOUSEWHEEL:
        onMouseWheel(t, GET_WHEEL_DELTA_WPARAM(wParam));
        return 0;
    case WM_ERASEBKGND:
        return 1; // the paint fills the background from its memory bitmap
    case WM_PAINT:
        paint(t);
        return 0;
    case WM_ENABLE:
        redraw(t);
        return 0;
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

} // namespace sectree

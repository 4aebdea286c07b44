// SECTreeCtrl on the screen: the rows in view and the scroll bar, the geometry of a row (hit
// testing and painting share it), double-buffered painting of only the rows in view, and the
// description the driver reads.
#include "treectrl/SECTreeCtrl.h"
#include "treectrl/TreeWindow.h"

#include <algorithm>
#include <string>

namespace sectree {

namespace {

int rootLevel(const Tree* t) {
    return (t->style & TVS_LINESATROOT) ? 1 : 0;
}
int levelOf(const Tree* t, const Node* node) {
    return node->depth + rootLevel(t);
}

long maxTop(const Tree* t, size_t rows) {
    return std::max(0L, static_cast<long>(rows) - std::max(1, visibleCount(t)));
}

// Sets the first row in view within the bounds; the rows must be current.
void applyTop(Tree* t, const std::vector<Node*>& rows, long index) {
    index = std::max(0L, std::min(index, maxTop(t, rows.size())));
    Node* top = rows.empty() ? nullptr : rows[static_cast<size_t>(index)];
    if (top != t->top) {
        t->top = top;
        redraw(t);
    }
    updateScroll(t);
}

COLORREF orDefault(COLORREF c, int sysColor) {
    return c == CLR_NONE || c == CLR_DEFAULT ? GetSysColor(sysColor) : c;
}

} // namespace

int clientHeight(const Tree* t) {
    RECT r{};
    GetClientRect(t->self, &r);
    return r.bottom - r.top;
}

int clientWidth(const Tree* t) {
    RECT r{};
    GetClientRect(t->self, &r);
    return r.right - r.left;
}

int visibleCount(const Tree* t) {
    return clientHeight(t) / std::max(1, t->itemHeight);
}

void redraw(const Tree* t) {
    InvalidateRect(t->self, nullptr, FALSE);
}

const std::vector<Node*>& layout(Tree* t) {
    bool stale = t->model.rowsStale();
    const auto& rows = t->model.rows();
    if (stale) {
        // the first row in view stays, or the row that hides it now
        Node* top = t->top;
        while (top && !t->model.displayed(top))
            top = top->parent;
        if (!top && !rows.empty()) top = rows.front();
        applyTop(t, rows, top ? static_cast<long>(top->row) : 0);
    }
    return rows;
}

size_t topIndex(Tree* t) {
    layout(t);
    return t->top ? t->top->row : 0;
}

void setTop(Tree* t, long index) {
    applyTop(t, layout(t), index);
}

void scrollIntoView(Tree* t, Node* node) {
    const auto& rows = layout(t);
    if (!t->model.displayed(node)) return;
    long at = static_cast<long>(node->row), top = static_cast<long>(topIndex(t));
    long page = std::max(1, visibleCount(t));
    if (at < top)
        applyTop(t, rows, at);
    else if (at >= top + page)
        applyTop(t, rows, at - page + 1);
}

void updateScroll(Tree* t) {
    if (!(t->style & WS_VSCROLL)) return;
    size_t count = t->model.rowsStale() ? 0 : t->model.rows().size();
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMin = 0;
    si.nMax = std::max(0, static_cast<int>(count) - 1);
    si.nPage = static_cast<UINT>(std::max(0, visibleCount(t)));
    si.nPos = t->top ? static_cast<int>(t->top->row) : 0;
    SetScrollInfo(t->self, SB_VERT, &si, TRUE);
}

bool showsButton(const Tree* t, const Node* node) {
    return (t->style & TVS_HASBUTTONS) && TreeModel::hasChildren(node) && levelOf(t, node) > 0;
}

RowGeometry geometry(Tree* t, const Node* node, HDC dc) {
    RowGeometry g;
    int y = (static_cast<int>(node->row) - static_cast<int>(topIndex(t))) * t->itemHeight;
    int x = levelOf(t, node) * t->indent;
    g.row = RECT{0, y, clientWidth(t), y + t->itemHeight};
    if (showsButton(t, node)) {
        int cx = x - t->indent / 2, cy = y + t->itemHeight / 2;
        g.button = RECT{cx - 4, cy - 4, cx + 5, cy + 5};
    }
    SIZE size{};
    GetTextExtentPoint32A(dc, node->text.c_str(), static_cast<int>(node->text.size()), &size);
    g.label = RECT{x, y, x + size.cx + 6, y + t->itemHeight};
    return g;
}

RowGeometry geometry(Tree* t, const Node* node) {
    HDC dc = GetDC(t->self);
    HGDIOBJ oldFont = t->font ? SelectObject(dc, t->font) : nullptr;
    RowGeometry g = geometry(t, node, dc);
    if (oldFont) SelectObject(dc, oldFont);
    ReleaseDC(t->self, dc);
    return g;
}

Node* hitTest(Tree* t, POINT pt, UINT* flags) {
    const auto& rows = layout(t);
    UINT outside = 0;
    if (pt.y < 0) outside |= TVHT_ABOVE;
    if (pt.y >= clientHeight(t)) outside |= TVHT_BELOW;
    if (pt.x < 0) outside |= TVHT_TOLEFT;
    if (pt.x >= clientWidth(t)) outside |= TVHT_TORIGHT;
    if (outside) {
        *flags = outside;
        return nullptr;
    }
    size_t at = topIndex(t) + static_cast<size_t>(pt.y / std::max(1, t->itemHeight));
    if (at >= rows.size()) {
        *flags = TVHT_NOWHERE;
        return nullptr;
    }
    Node* node = rows[at];
    RowGeometry g = geometry(t, node);
    if (pt.x < g.label.left)
        *flags =
            showsButton(t, node) && pt.x >= g.label.left - t->indent ? TVHT_ONITEMBUTTON : TVHT_ONITEMINDENT;
    else if (pt.x < g.label.right)
        *flags = TVHT_ONITEMLABEL;
    else
        *flags = TVHT_ONITEMRIGHT;
    return node;
}

namespace {

void line(HDC dc, int x1, int y1, int x2, int y2) {
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
}

void drawLines(Tree* t, HDC dc, const Node* node, const RowGeometry& g) {
    int mid = (g.row.top + g.row.bottom) / 2;
    int x = levelOf(t, node) * t->indent - t->indent / 2; // the centre of the row's button column
    if (x > 0) {
        bool firstOfAll = !node->parent && !node->prev;
        line(dc, x, firstOfAll ? mid : g.row.top, x, node->next ? g.row.bottom : mid);
        line(dc, x, mid, g.label.left, mid);
    }
    // the lines of the ancestors that have more children below
    for (const Node* a = node->parent; a; a = a->parent) {
        int ax = levelOf(t, a) * t->indent - t->indent / 2;
        if (a->next && ax > 0) line(dc, ax, g.row.top, ax, g.row.bottom);
    }
}

void drawButton(HDC dc, const Node* node, const RowGeometry& g) {
    const RECT& b = g.button;
    Rectangle(dc, b.left, b.top, b.right, b.bottom);
    int cx = (b.left + b.right) / 2, cy = (b.top + b.bottom) / 2;
    line(dc, b.left + 2, cy, b.right - 2, cy);
    if (!node->expanded) line(dc, cx, b.top + 2, cx, b.bottom - 2);
}

} // namespace

void paint(Tree* t) {
    HWND self = t->self;
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(self, &ps);
    if (!dc) return;
    const auto& rows = layout(t);
    int width = std::max(1, clientWidth(t)), height = std::max(1, clientHeight(t));
    HDC mem = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, width, height);
    HGDIOBJ oldBitmap = SelectObject(mem, bitmap);
    HGDIOBJ oldFont = t->font ? SelectObject(mem, t->font) : nullptr;
    COLORREF back = orDefault(t->bkColor, COLOR_WINDOW);
    HBRUSH backBrush = CreateSolidBrush(back);
    RECT all{0, 0, width, height};
    FillRect(mem, &all, backBrush);
    HPEN linePen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_GRAYTEXT));
    HGDIOBJ oldPen = SelectObject(mem, linePen);
    HGDIOBJ oldBrush = SelectObject(mem, backBrush);
    SetBkMode(mem, TRANSPARENT);
    bool enabled = IsWindowEnabled(self);
    bool showSelection = t->focused || (t->style & TVS_SHOWSELALWAYS);
    bool fullRow = (t->exStyle & SECTVS_EX_FULLROWSELECT) != 0;
    COLORREF text = orDefault(t->textColor, COLOR_WINDOWTEXT);
    COLORREF grey = t->disabledColor == CLR_DEFAULT ? GetSysColor(COLOR_GRAYTEXT) : t->disabledColor;
    Node* focusRow = t->multi() ? t->focus : t->caret;
    size_t first = topIndex(t);
    size_t last = std::min(rows.size(), first + static_cast<size_t>(visibleCount(t)) + 1);
    for (size_t i = first; i < last; ++i) {
        const Node* node = rows[i];
        RowGeometry g = geometry(t, node, mem);
        if (t->style & TVS_HASLINES) drawLines(t, mem, node, g);
        if (showsButton(t, node)) drawButton(mem, node, g);
        RECT highlight = g.label;
        if (fullRow) highlight = RECT{g.label.left, g.row.top, g.row.right, g.row.bottom};
        if (isSelected(t, node) && showSelection) {
            FillRect(mem, &highlight, GetSysColorBrush(t->focused ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
            SetTextColor(mem, t->focused ? GetSysColor(COLOR_HIGHLIGHTTEXT) : text);
        } else {
            SetTextColor(mem, !enabled || TreeModel::disabled(node) ? grey : text);
        }
        TextOutA(mem, g.label.left + 3, g.label.top + 1, node->text.c_str(),
                 static_cast<int>(node->text.size()));
        if (t->focused && node == focusRow) DrawFocusRect(mem, &highlight);
    }
    BitBlt(dc, 0, 0, width, height, mem, 0, 0, SRCCOPY);
    SelectObject(mem, oldBrush);
    SelectObject(mem, oldPen);
    if (oldFont) SelectObject(mem, oldFont);
    SelectObject(mem, oldBitmap);
    DeleteObject(linePen);
    DeleteObject(backBrush);
    DeleteObject(bitmap);
    DeleteDC(mem);
    EndPaint(self, &ps);
}

LRESULT describe(Tree* t, WPARAM size, LPSTR buffer) {
    const auto& rows = layout(t);
    Node* focusRow = t->multi() ? t->focus : t->caret;
    std::string out =
        "top " + std::to_string(topIndex(t)) + "\npage " + std::to_string(visibleCount(t)) + "\n";
    for (const Node* node : rows) {
        out += "row " + std::to_string(node->depth) + " ";
        out += node->expanded && node->firstChild ? '-' : TreeModel::hasChildren(node) ? '+' : '.';
        if (isSelected(t, node)) out += 's';
        if (node == t->caret) out += 'c';
        if (node == focusRow) out += 'f';
        if (TreeModel::disabled(node)) out += 'd';
        out += ' ';
        for (char c : node->text)
            out += c == '\n' || c == '\r' ? ' ' : c;
        out += '\n';
    }
    if (buffer && size > 0) {
        size_t n = std::min(out.size(), static_cast<size_t>(size) - 1);
        std::copy(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(n), buffer);
        buffer[n] = '\0';
    }
    return static_cast<LRESULT>(out.size());
}

} // namespace sectree

#include "host/SelectionTree.h"

#include "resources/resource.h"
#include "selection/MXSTreeItem.h"

#include <w32drv.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

bool isTree(HWND h) {
    char cls[32] = "";
    return h && GetClassNameA(h, cls, sizeof cls) && std::strcmp(cls, "SECTreeCtrl") == 0;
}

HWND treeOf(HWND dialog) {
    char cls[16] = "";
    if (!dialog || !IsWindowVisible(dialog) || !GetClassNameA(dialog, cls, sizeof cls) || std::strcmp(cls, "#32770") != 0)
        return nullptr;
    HWND tree = GetDlgItem(dialog, IDC_TREE);
    return isTree(tree) ? tree : nullptr;
}

HTREEITEM next(HWND tree, HTREEITEM row, UINT how) {
    return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(row)));
}

const KMXSTreeItem* recordOf(HWND tree, HTREEITEM row) {
    TVITEMA item{};
    item.mask = TVIF_PARAM;
    item.hItem = row;
    if (!SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return nullptr;
    return reinterpret_cast<const KMXSTreeItem*>(item.lParam);
}

std::string joined(const std::vector<std::string>& parts) {
    std::string out;
    for (const auto& p : parts) {
        if (p.empty()) continue;
        if (!out.empty()) out += '.';
        out += p;
    }
    return out;
}

// The dialog's own naming of rows, which its module keeps to itself: the host spells it the
// same way.
std::string pathOf(const KMXSTreeItem& item) {
    if (item.predefined) return "Predefined_Object_" + std::to_string(item.predefinedId);
    if (item.container && item.node)
        return joined({item.container->GetCatalogName(), item.container->GetFBlockName(),
                       item.container->GetFunctionName(), item.container->GetOpTypeName(), item.node->GetPath()});
    return joined({item.catalog, item.fblock, item.function, item.opType});
}

// Whether the row named prefix may hold the row named path further down.
bool above(const std::string& prefix, const std::string& path) {
    return path.size() > prefix.size() && path.compare(0, prefix.size(), prefix) == 0 &&
           std::strchr(".[(", path[prefix.size()]) != nullptr;
}

HTREEITEM findBelow(HWND tree, HTREEITEM parent, const std::string& path) {
    for (HTREEITEM row = next(tree, parent, parent ? TVGN_CHILD : TVGN_ROOT); row; row = next(tree, row, TVGN_NEXT)) {
        const KMXSTreeItem* item = recordOf(tree, row);
        if (!item) continue; // a placeholder
        std::string rowPath = pathOf(*item);
        if (rowPath == path) return row;
        // predefined objects hang below a group whose path is no prefix of theirs
        if (!item->predefined && !above(rowPath, path)) continue;
        if (!item->predefined) SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(row));
        if (HTREEITEM found = findBelow(tree, row, path)) return found;
    }
    return nullptr;
}

} // namespace

HWND OpenSelectionTree() {
    if (HWND tree = treeOf(GetActiveWindow())) return tree;
    for (HWND h : w32drv::TopLevelWindows())
        if (HWND tree = treeOf(h)) return tree;
    return nullptr;
}

std::string RowPath(HWND tree, HTREEITEM row) {
    const KMXSTreeItem* item = recordOf(tree, row);
    return item ? pathOf(*item) : std::string();
}

HTREEITEM FindRow(HWND tree, const std::string& path) { return path.empty() ? nullptr : findBelow(tree, nullptr, path); }

bool RowTextPoint(HWND tree, HTREEITEM row, int offset, POINT& screen) {
    SendMessageA(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(row));
    RECT text{};
    std::memcpy(&text, &row, sizeof row);  // the row goes in, its rectangle comes out
    if (!SendMessageA(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&text)) || text.right <= text.left)
        return false;
    RECT client{};
    GetClientRect(tree, &client);
    if (text.top < client.top || text.bottom > client.bottom) return false; // not wholly in view
    screen = POINT{text.left + std::min<int>(offset, text.right - text.left - 1), (text.top + text.bottom) / 2};
    ClientToScreen(tree, &screen);
    return true;
}

#include "selection/CatalogTree.h"

#include "base/LanguageResources.h"
#include "base/ProcessState.h"
#include "resources/resource.h"
#include "selection/SelectFlags.h"

#include <cstdio>

const char* const KMXSCatalogTree::kPlaceholder = "_DUMMY_NODE";
const char* const KMXSCatalogTree::kPredefinedPrefix = "Predefined_Object_";

namespace {

// Every list call of the tree leaves hidden entries out and takes any instance.
const int kVisibleOnly = 0;
const std::int32_t kAnyInstanceId = -1;

bool startsWith(const std::string& text, const std::string& prefix) { return text.compare(0, prefix.size(), prefix) == 0; }

std::string joined(const std::vector<std::string>& parts) {
    std::string out;
    for (const auto& p : parts) {
        if (p.empty()) continue;
        if (!out.empty()) out += '.';
        out += p;
    }
    return out;
}

// Attribute of a node, -1 when absent.
int attribute(KQRNNode* node, int id) {
    int value = -1;
    gQRTGetAttrInt(node->GetAttrHandle(), id, &value);
    return value;
}

} // namespace

KMXSCatalogTree::KMXSCatalogTree(SECTreeCtrl& tree, unsigned long managerHandle, unsigned flags, KMXSSessionState& state)
    : tree(tree), managerHandle(managerHandle), flags(flags), state(state) {}

KMXSCatalogTree::~KMXSCatalogTree() = default;

KQRNFCatManager* KMXSCatalogTree::Manager() const { return gQRNFCatManager(static_cast<QRNHandle>(managerHandle)); }

bool KMXSCatalogTree::SignalModes() const { return (flags & (kSelectSignalMode | kSelectFixedSignal)) != 0; }

KMXSTreeItem* KMXSCatalogTree::ItemOf(HTREEITEM row) const {
    return row ? reinterpret_cast<KMXSTreeItem*>(tree.GetItemData(row)) : nullptr;
}

KMXSTreeItem* KMXSCatalogTree::Keep(KMXSTreeItem item) {
    items.push_back(std::make_unique<KMXSTreeItem>(std::move(item)));
    return items.back().get();
}

HTREEITEM KMXSCatalogTree::InsertRow(const std::string& text, HTREEITEM parent, KMXSTreeItem* item) {
    HTREEITEM row = tree.InsertItem(text.c_str(), parent);
    if (row && item) tree.SetItemData(row, reinterpret_cast<DWORD_PTR>(item));
    return row;
}

void KMXSCatalogTree::AddPlaceholder(HTREEITEM row) { tree.InsertItem(kPlaceholder, row); }

bool KMXSCatalogTree::TakePlaceholder(HTREEITEM row) {
    HTREEITEM first = tree.GetChildItem(row);
    if (!first || tree.GetItemText(first) != kPlaceholder || tree.GetItemData(first) != 0) return false;
    tree.DeleteItem(first);
    return true;
}

std::string KMXSCatalogTree::FormatIdLabel(const std::string& name, std::int32_t id, std::int32_t level) const {
    if (!state.showIds) return name;
    char text[16];
    auto value = static_cast<unsigned>(id);
    if (level == KMXSTreeItem::kFBlock)
        std::snprintf(text, sizeof text, "%02X: ", value & 0xFFu);
    else if (level == KMXSTreeItem::kFunction)
        std::snprintf(text, sizeof text, "%03X: ", value & 0xFFFu);
    else
        std::snprintf(text, sizeof text, "%01X: ", value & 0xFu);
    return text + name;
}

std::string KMXSCatalogTree::ItemPath(const KMXSTreeItem& item) {
    if (item.predefined) return kPredefinedPrefix + std::to_string(item.predefinedId);
    if (item.container && item.node)
        return joined({item.container->GetCatalogName(), item.container->GetFBlockName(),
                       item.container->GetFunctionName(), item.container->GetOpTypeName(), item.node->GetPath()});
    return joined({item.catalog, item.fblock, item.function, item.opType});
}

void KMXSCatalogTree::InsertPredefinedObjects() {
    HTREEITEM group = TVI_ROOT;
    for (const auto& cfg : predefinedObjects) {
        HTREEITEM row = InsertRow(cfg.name, cfg.isGroup ? TVI_ROOT : group, Keep(KMXSTreeItem::Predefined(cfg.id)));
        if (cfg.isGroup && row) group = row;
    }
}

void KMXSCatalogTree::RebuildTree() {
    tree.DeleteAllItems();
    topRow = nullptr;
    rowsToReveal.clear();
    lockedRow = nullptr;
    if (flags & kSelectPredefined) InsertPredefinedObjects();

    KQRNFCatManager* m = Manager();
    std::vector<std::string> catalogs;
    if (m) m->ListCatalogs(catalogs, kVisibleOnly);
    if (catalogs.empty()) {
        HTREEITEM none = tree.InsertItem(LoadResourceText(IDS_NO_CATALOG).c_str(), TVI_ROOT);
        if (none) tree.DisableItem(none);
        HTREEITEM first = tree.GetRootItem();
        if (!predefinedObjects.empty() && first && ItemOf(first)) tree.Expand(first, TVE_EXPAND);
    }
    HTREEITEM single = nullptr;
    for (const auto& name : catalogs) {
        KMXSTreeItem* item = Keep(KMXSTreeItem(name));
        HTREEITEM row = InsertRow(name, TVI_ROOT, item);
        std::vector<IdName> fblocks;
        m->ListFBlocks(fblocks, kVisibleOnly, name);
        if (row && !fblocks.empty()) AddPlaceholder(row);
        single = row;
    }

    bool restore = true;
    if (state.firstOpen && !(flags & kSelectFixedSignal)) {
        state.firstOpen = false;
        if (catalogs.size() == 1 && single) {
            ExpandCatalog(single, *ItemOf(single));
            tree.Expand(single, TVE_EXPAND);
        }
        // a signal the host pre-selected before the first opening must still be shown
        restore = state.selectPending;
    }
    if (restore) {
        for (const auto& path : state.visibleRowPaths) {
            HTREEITEM row = startsWith(path, kPredefinedPrefix) ? RestorePredefined(path) : RestorePath(path);
            if (!row) continue;
            rowsToReveal.push_back(row);
            if (path == state.topRowPath) topRow = row;
        }
        for (HTREEITEM row : rowsToReveal) tree.EnsureVisible(row);
        rowsToReveal.clear();
    }

    if (!topRow) {
        if (HTREEITEM first = tree.GetRootItem()) {
            tree.EnsureVisible(first);
            tree.SelectSetFirstVisible(first);
        }
        return;
    }
    tree.EnsureVisible(topRow);
    tree.SelectSetFirstVisible(topRow);
    if (!SignalModes()) return;
    if (state.selectPending) {
        tree.SelectItem(topRow);
        if (onPreSelected) onPreSelected(topRow);
        tree.SetFocus();
        lockedRow = topRow;
        state.selectPending = false;
    } else if (onNothingPreSelected) {
        onNothingPreSelected();
    }
}

HTREEITEM KMXSCatalogTree::RestorePredefined(const std::string& path) const {
    if (HTREEITEM row = FindItemByPath(path, TVI_ROOT)) return row;
    for (HTREEITEM group = tree.GetRootItem(); group; group = tree.GetNextSiblingItem(group)) {
        KMXSTreeItem* item = ItemOf(group);
        if (!item || !startsWith(ItemPath(*item), kPredefinedPrefix)) continue;
        if (HTREEITEM row = FindItemByPath(path, group)) return row;
    }
    return nullptr;
}

HTREEITEM KMXSCatalogTree::RestorePath(const std::string& path) {
    // catalog, FBlock, function, OpType and the rest, which keeps any further dots
    std::vector<size_t> dots;
    for (size_t at = path.find('.'); at != std::string::npos && dots.size() < 4; at = path.find('.', at + 1))
        dots.push_back(at);
    const size_t parts = dots.size() + 1;
    if (parts < 2) return nullptr;
    auto upTo = [&](size_t n) { return path.substr(0, dots[n - 1]); }; // the first n parts
    HTREEITEM row = TVI_ROOT;
    for (size_t level = 1; level < parts; ++level) {
        row = FindItemByPath(upTo(level), row);
        if (!row) return nullptr;
        const KMXSTreeItem& item = *ItemOf(row);
        switch (level) {
        case 1: ExpandCatalog(row, item); break;
        case 2: ExpandFBlock(row, item); break;
        case 3: ExpandFunction(row, item); break;
        default: ExpandOpType(row, item); break;
        }
    }
    if (parts == 5) {
        const size_t restStart = dots[3] + 1;
        for (size_t at = path.find('.', restStart); at != std::string::npos; at = path.find('.', at + 1)) {
            row = FindItemByPath(path.substr(0, at), row);
            if (!row) return nullptr;
        }
    }
    return FindItemByPath(path, row);
}

bool KMXSCatalogTree::ExpandCatalog(HTREEITEM row, const KMXSTreeItem& item) {
    KQRNFCatManager* m = Manager();
    if (!m || !TakePlaceholder(row)) return false;
    std::vector<IdName> fblocks;
    m->ListFBlocks(fblocks, kVisibleOnly, item.catalog);
    for (const auto& fb : fblocks) {
        KMXSTreeItem* child = Keep(KMXSTreeItem(item.catalog, fb.name, fb.id));
        HTREEITEM r = InsertRow(FormatIdLabel(fb.name, fb.id, KMXSTreeItem::kFBlock), row, child);
        std::vector<IdName> functions;
        m->ListFunctions(functions, kVisibleOnly, item.catalog, fb.id, QRN_ANY_INSTANCE);
        if (r && !functions.empty()) AddPlaceholder(r);
    }
    return true;
}

bool KMXSCatalogTree::ExpandFBlock(HTREEITEM row, const KMXSTreeItem& item) {
    KQRNFCatManager* m = Manager();
    if (!m || !TakePlaceholder(row)) return false;
    std::vector<IdName> functions;
    m->ListFunctions(functions, kVisibleOnly, item.catalog, item.fblockId, QRN_ANY_INSTANCE);
    for (const auto& fn : functions) {
        KMXSTreeItem* child =
            Keep(KMXSTreeItem(item.catalog, item.fblock, item.fblockId, kAnyInstanceId, fn.name, fn.id));
        HTREEITEM r = InsertRow(FormatIdLabel(fn.name, fn.id, KMXSTreeItem::kFunction), row, child);
        std::vector<IdName> opTypes;
        m->ListOpTypes(opTypes, kVisibleOnly, item.catalog, item.fblockId, QRN_ANY_INSTANCE, fn.id);
        if (r && !opTypes.empty()) AddPlaceholder(r);
    }
    return true;
}

bool KMXSCatalogTree::ExpandFunction(HTREEITEM row, const KMXSTreeItem& item) {
    KQRNFCatManager* m = Manager();
    if (!m || !TakePlaceholder(row)) return false;
    std::vector<IdName> opTypes;
    m->ListOpTypes(opTypes, kVisibleOnly, item.catalog, item.fblockId, QRN_ANY_INSTANCE, item.functionId);
    const bool statusOnly = ProcessState().kindFilter && !(flags & kSelectAddressMode);
    for (const auto& op : opTypes) {
        if (statusOnly && op.name != "Status") continue;
        KMXSTreeItem* child = Keep(KMXSTreeItem(item.catalog, item.fblock, item.fblockId, kAnyInstanceId, item.function,
                                                item.functionId, op.name, op.id));
        HTREEITEM r = InsertRow(FormatIdLabel(op.name, op.id, KMXSTreeItem::kOpType), row, child);
        if (!r || !SignalModes()) continue; // outside the signal modes OpTypes have no children
        std::unique_ptr<KQRNMessageContainer> probe(m->GetMessageContainer(
            kVisibleOnly, item.catalog, item.fblockId, QRN_ANY_INSTANCE, item.functionId, op.id, 0));
        if (!probe) continue;
        probe->LoadNodes();
        std::vector<KQRNNode*> nodes;
        probe->GetNodes(nodes);
        if (!nodes.empty()) AddPlaceholder(r);
    }
    return true;
}

bool KMXSCatalogTree::ExpandOpType(HTREEITEM row, const KMXSTreeItem& item) {
    KQRNFCatManager* m = Manager();
    if (!m || !TakePlaceholder(row)) return false;
    KQRNMessageContainer* c = m->GetMessageContainer(kVisibleOnly, item.catalog, item.fblockId, QRN_ANY_INSTANCE,
                                                     item.functionId, item.opTypeId, 0);
    if (!c) return true;
    containers.emplace_back(c);
    c->LoadNodes();
    std::vector<KQRNNode*> nodes;
    c->GetNodes(nodes);
    InsertNodes(row, nodes, c);
    return true;
}

void KMXSCatalogTree::OnItemExpanding(HTREEITEM row, UINT action) {
    if (!(action & TVE_EXPAND)) return;
    KMXSTreeItem* item = ItemOf(row);
    if (!item) return;
    switch (item->level) {
    case KMXSTreeItem::kCatalog: ExpandCatalog(row, *item); break;
    case KMXSTreeItem::kFBlock: ExpandFBlock(row, *item); break;
    case KMXSTreeItem::kFunction: ExpandFunction(row, *item); break;
    case KMXSTreeItem::kOpType: ExpandOpType(row, *item); break;
    default: break;
    }
}

bool KMXSCatalogTree::NodeSelectable(KQRNNode* node) const {
    switch (node->GetType()) {
    case QRN_TYPE_BOOLEAN:
    case QRN_TYPE_BOOLFIELD:
    case QRN_TYPE_NUMBER:
    case QRN_TYPE_ENUM:
    case QRN_TYPE_BITFIELD: return true;
    case QRN_TYPE_STRING:
    case QRN_TYPE_RAWSTREAM: return (flags & kSelectStringsAndStreams) != 0;
    default: return false;
    }
}

void KMXSCatalogTree::InsertNodes(HTREEITEM parent, const std::vector<KQRNNode*>& nodes,
                                  KQRNMessageContainer* container) {
    const KProcessState& process = ProcessState();
    for (KQRNNode* node : nodes) {
        if (!node) continue;
        HTREEITEM row = parent;
        if (!node->GetDisplayName().empty()) {
            // a node without offset or size (behind data of varying length) ends the list
            if (process.attributeFilter &&
                (attribute(node, QRN_ATTR_OFFSET) == -1 || attribute(node, QRN_ATTR_SIZE) == -1))
                return;
            if (process.kindFilter) {
                const int kind = node->GetKind();
                if (kind == QRN_KIND_LENGTH || kind == QRN_KIND_RESERVED || kind == QRN_KIND_PADDING) continue;
            }
            row = tree.InsertItem(node->GetLabel(true).c_str(), parent);
            if (!row) continue;
        }
        // an unnamed node (an array's element) has no row: its parent row stands for it
        tree.SetItemData(row, reinterpret_cast<DWORD_PTR>(Keep(KMXSTreeItem(container, node))));
        std::vector<KQRNNode*> children;
        node->GetChildren(children);
        if (SignalModes() && !NodeSelectable(node) && children.empty()) tree.DisableItem(row);
        InsertNodes(row, children, container);
    }
}

HTREEITEM KMXSCatalogTree::FindItemByPath(const std::string& path, HTREEITEM parent) const {
    size_t open = path.find('(');
    if (open != std::string::npos && !path.empty() && path.back() == ')') {
        const std::string head = path.substr(0, open);
        for (HTREEITEM c = tree.GetChildItem(parent); c; c = tree.GetNextSiblingItem(c)) {
            KMXSTreeItem* item = ItemOf(c);
            if (item && ItemPath(*item) == head) {
                parent = c;
                break;
            }
        }
    }
    for (HTREEITEM c = tree.GetChildItem(parent); c; c = tree.GetNextSiblingItem(c)) {
        KMXSTreeItem* item = ItemOf(c);
        if (item && ItemPath(*item) == path) return c;
    }
    return nullptr;
}

void KMXSCatalogTree::Relabel() { RelabelBelow(TVI_ROOT); }

void KMXSCatalogTree::RelabelBelow(HTREEITEM parent) {
    for (HTREEITEM row = tree.GetChildItem(parent); row; row = tree.GetNextSiblingItem(row)) {
        KMXSTreeItem* item = ItemOf(row);
        if (!item) continue;
        if (!item->predefined && !item->node) {
            if (item->level == KMXSTreeItem::kOpType) {
                tree.SetItemText(row, FormatIdLabel(item->opType, item->opTypeId, item->level).c_str());
                continue; // below an OpType only parameter nodes, whose labels do not change
            }
            if (item->level == KMXSTreeItem::kFunction)
                tree.SetItemText(row, FormatIdLabel(item->function, item->functionId, item->level).c_str());
            else if (item->level == KMXSTreeItem::kFBlock)
                tree.SetItemText(row, FormatIdLabel(item->fblock, item->fblockId, item->level).c_str());
        }
        RelabelBelow(row);
    }
}

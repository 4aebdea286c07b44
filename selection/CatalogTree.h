// The catalog tree of the selection dialog: the loaded catalogs with their FBlocks, functions,
// OpTypes and parameter nodes, filled lazily behind placeholder rows, and the host's predefined
// objects. It remembers displayed rows by their path texts in the session state, so that a later
// dialog, or a rebuild after a catalog or filter change, shows the same rows again.
#pragma once
#include "selection/MXSObject.h"
#include "selection/MXSTreeItem.h"
#include "treectrl/SECTreeCtrl.h"

#include <functional>
#include <list>
#include <memory>
#include <string>
#include <vector>

class KMXSCatalogTree {
public:
    // The text of a placeholder row: it makes a row openable before its children exist.
    static const char* const kPlaceholder;
    // Paths of predefined objects begin with this, followed by the id in decimal.
    static const char* const kPredefinedPrefix;

    // The tree control, the catalog manager, the SelectObject flag word and the dialog's session
    // state; none of them is owned.
    KMXSCatalogTree(SECTreeCtrl& tree, unsigned long managerHandle, unsigned flags, KMXSSessionState& state);
    KMXSCatalogTree(const KMXSCatalogTree&) = delete;
    KMXSCatalogTree& operator=(const KMXSCatalogTree&) = delete;
    ~KMXSCatalogTree();

    // Clears and fills the whole tree, then shows the saved rows and the top row again.
    void RebuildTree();
    // Fill a row whose first child is the placeholder; false when it was filled already.
    bool ExpandCatalog(HTREEITEM row, const KMXSTreeItem& item);
    bool ExpandFBlock(HTREEITEM row, const KMXSTreeItem& item);
    bool ExpandFunction(HTREEITEM row, const KMXSTreeItem& item);
    bool ExpandOpType(HTREEITEM row, const KMXSTreeItem& item);
    // A row about to open (TVN_ITEMEXPANDING with TVE_EXPAND): fills it by its level.
    void OnItemExpanding(HTREEITEM row, UINT action);
    void InsertNodes(HTREEITEM parent, const std::vector<KQRNNode*>& nodes, KQRNMessageContainer* container);
    // The direct child of parent (TVI_ROOT for the root) whose item's path is path, or null.
    HTREEITEM FindItemByPath(const std::string& path, HTREEITEM parent) const;
    static std::string ItemPath(const KMXSTreeItem& item);
    // The row text of an FBlock, function or OpType: "52: Navigation" with show IDs on.
    std::string FormatIdLabel(const std::string& name, std::int32_t id, std::int32_t level) const;
    // Rewrites the FBlock, function and OpType labels after show IDs changed.
    void Relabel();

    KMXSTreeItem* ItemOf(HTREEITEM row) const;
    bool SignalModes() const;

    // The predefined objects to list with flag 0x400.
    std::list<KMXSPredefObjectCfg> predefinedObjects;
    // Called when a pending pre-selection has selected the top row (the details show it), and when
    // a rebuild in the signal modes leaves nothing pre-selected (the details are cleared).
    std::function<void(HTREEITEM)> onPreSelected;
    std::function<void()> onNothingPreSelected;

    SECTreeCtrl& tree;
    unsigned long managerHandle;
    unsigned flags;
    KMXSSessionState& state;
    // Every record and container made while filling; a rebuild discards rows, not these.
    std::vector<std::unique_ptr<KMXSTreeItem>> items;
    std::vector<std::unique_ptr<KQRNMessageContainer>> containers;
    HTREEITEM topRow = nullptr;
    HTREEITEM lockedRow = nullptr;
    std::vector<HTREEITEM> rowsToReveal;

private:
    KQRNFCatManager* Manager() const;
    KMXSTreeItem* Keep(KMXSTreeItem item);
    HTREEITEM InsertRow(const std::string& text, HTREEITEM parent, KMXSTreeItem* item);
    // Removes the placeholder that is the row's first child; false when there is none.
    bool TakePlaceholder(HTREEITEM row);
    void AddPlaceholder(HTREEITEM row);
    void InsertPredefinedObjects();
    // The row a saved path names, opening the levels on the way; null when one is gone.
    HTREEITEM RestorePath(const std::string& path);
    HTREEITEM RestorePredefined(const std::string& path) const;
    void RelabelBelow(HTREEITEM parent);
    bool NodeSelectable(KQRNNode* node) const;
};

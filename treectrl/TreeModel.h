// The rows of a tree control without the window: the item tree (parent, children and siblings as
// links, so insertion and deletion are cheap at any place) and the list of displayed rows (rows
// whose ancestors are all open), rebuilt on demand after a change, so that "row n" and "the
// index of a row" are O(1) between changes however large the tree.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <cstddef>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace sectree {

struct Node {
    std::string text;
    LPARAM data = 0;
    Node* parent = nullptr; // null for root rows
    Node* firstChild = nullptr;
    Node* lastChild = nullptr;
    Node* prev = nullptr;
    Node* next = nullptr;
    int depth = 0;
    int childrenFlag = -1; // TVIF_CHILDREN as given: -1 follows the children present, 1 forces a button
    bool expanded = false;
    bool expandedOnce = false;
    bool selected = false;    // multiple selection
    bool disabledOwn = false; // disabled itself (its descendants follow it)
    size_t row = SIZE_MAX;    // index among the displayed rows while they are current
};

class TreeModel {
public:
    TreeModel() = default;
    TreeModel(const TreeModel&) = delete;
    TreeModel& operator=(const TreeModel&) = delete;

    // A new row under parent (null: a root row), after the sibling `after`, first with null.
    Node* insertAfter(Node* parent, Node* after, std::string text, LPARAM data);
    // Deletes the row and its subtree.
    void remove(Node* node);
    void clear();

    bool valid(const void* node) const { return node && nodes_.count(static_cast<const Node*>(node)) != 0; }
    size_t count() const { return nodes_.size(); }
    Node* firstRoot() const { return firstRoot_; }
    Node* lastRoot() const { return lastRoot_; }

    // The displayed rows in order (rebuilt here when a change made them stale).
    const std::vector<Node*>& rows();
    void rowsChanged() { stale_ = true; }
    bool rowsStale() const { return stale_; }
    bool displayed(const Node* node) {
        const auto& r = rows();
        return node && node->row < r.size() && r[node->row] == node;
    }

    static bool hasChildren(const Node* node) { return node->firstChild || node->childrenFlag > 0; }
    // Disabled itself or through an ancestor.
    static bool disabled(const Node* node);
    // True when `ancestor` is the node itself or one of its ancestors.
    static bool contains(const Node* ancestor, const Node* node);
    // Pre-order successor among all rows, open or closed.
    static Node* nextInOrder(const Node* node);
    // The row after the node's subtree in pre-order (its next sibling or an ancestor's).
    static Node* afterSubtree(const Node* node);

private:
    void unlink(Node* node);

    std::unordered_map<const Node*, std::unique_ptr<Node>> nodes_;
    Node* firstRoot_ = nullptr;
    Node* lastRoot_ = nullptr;
    std::vector<Node*> rows_;
    bool stale_ = true;
};

} // namespace sectree

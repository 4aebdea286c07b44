#include "treectrl/TreeModel.h"

namespace sectree {

Node* TreeModel::insertAfter(Node* parent, Node* after, std::string text, LPARAM data) {
    auto owned = std::make_unique<Node>();
    Node* node = owned.get();
    node->text = std::move(text);
    node->data = data;
    node->parent = parent;
    node->depth = parent ? parent->depth + 1 : 0;
    Node*& first = parent ? parent->firstChild : firstRoot_;
    Node*& last = parent ? parent->lastChild : lastRoot_;
    node->prev = after;
    node->next = after ? after->next : first;
    if (node->prev)
        node->prev->next = node;
    else
        first = node;
    if (node->next)
        node->next->prev = node;
    else
        last = node;
    nodes_.emplace(node, std::move(owned));
    stale_ = true;
    return node;
}

void TreeModel::unlink(Node* node) {
    Node*& first = node->parent ? node->parent->firstChild : firstRoot_;
    Node*& last = node->parent ? node->parent->lastChild : lastRoot_;
    if (node->prev)
        node->prev->next = node->next;
    else
        first = node->next;
    if (node->next)
        node->next->prev = node->prev;
    else
        last = node->prev;
}

void TreeModel::remove(Node* node) {
    unlink(node);
    // children before their parent, without recursion (trees may be deep)
    std::vector<Node*> doomed{node};
    for (size_t i = 0; i < doomed.size(); ++i)
        for (Node* c = doomed[i]->firstChild; c; c = c->next)
            doomed.push_back(c);
    for (Node* n : doomed)
        nodes_.erase(n);
    stale_ = true;
}

void TreeModel::clear() {
    nodes_.clear();
    firstRoot_ = lastRoot_ = nullptr;
    stale_ = true;
}

const std::vector<Node*>& TreeModel::rows() {
    if (!stale_) return rows_;
    rows_.clear();
    Node* n = firstRoot_;
    while (n) {
        n->row = rows_.size();
        rows_.push_back(n);
        if (n->expanded && n->firstChild) {
            n = n->firstChild;
            continue;
        }
        while (n && !n->next)
            n = n->parent;
        if (n) n = n->next;
    }
    stale_ = false;
    return rows_;
}

bool TreeModel::disabled(const Node* node) {
    for (; node; node = node->parent)
        if (node->disabledOwn) return true;
    return false;
}

bool TreeModel::contains(const Node* ancestor, const Node* node) {
    for (; node; node = node->parent)
        if (node == ancestor) return true;
    return false;
}

Node* TreeModel::nextInOrder(const Node* node) {
    if (node->firstChild) return node->firstChild;
    return afterSubtree(node);
}

Node* TreeModel::afterSubtree(const Node* node) {
    while (node && !node->next)
        node = node->parent;
    return node ? node->next : nullptr;
}

} // namespace sectree

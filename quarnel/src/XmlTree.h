#pragma once
// One element of a catalog file with everything inside it, read from the tokenizer into flat
// arrays, so that the reader can look at an element's children more than once. The reader
// takes the file one child of the root at a time and reuses the arrays, so they stay small
// and in the cache, and the file never becomes a whole document in memory.

#include "XmlTokenizer.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quarnel {

class XmlTree {
public:
    struct Node {
        std::uint32_t offset; // element: its name; text: its first character, as written
        std::uint32_t length; // of the name, or of the text's value
        std::uint32_t end;    // index after the last node inside it
        std::uint32_t first;  // element: its first attribute; text: its value's offset in the pool
        std::uint32_t attributeCount;
        XmlTokenizer::Token kind; // StartTag for an element, Text or CData
    };
    // Attributes are the tokenizer's; the tree drops them with its nodes.
    XmlTree(const char* data, XmlTokenizer& tok) : data_(data), tok_(&tok) {}

    void clear() {
        nodes_.clear();
        tok_->clearAttributes();
    }

    // Appends the element whose start tag the tokenizer has just read, with its content up to
    // its end tag or (withContent false) the start tag alone. False on malformed XML (the
    // tokenizer tells what).
    bool add(XmlTokenizer& tok, bool withContent) {
        const std::uint32_t first = size();
        addElement(tok);
        if (!withContent || tok.selfClosing()) return true;
        open_.assign(1, first);
        while (!open_.empty()) {
            const XmlTokenizer::Token t = tok.next();
            switch (t) {
            case XmlTokenizer::StartTag:
                if (!tok.selfClosing()) open_.push_back(size()); // an empty element ends where it starts
                addElement(tok);
                break;
            case XmlTokenizer::EndTag:
                nodes_[open_.back()].end = size();
                open_.pop_back();
                break;
            case XmlTokenizer::Text:
            case XmlTokenizer::CData: {
                Node& n = nodes_.emplace_back();
                n.offset = static_cast<std::uint32_t>(tok.offset());
                n.length = tok.text().length;
                n.end = size();
                n.first = tok.text().offset;
                n.kind = t;
                break;
            }
            default:
                return false;
            }
        }
        return true;
    }

    std::uint32_t size() const { return static_cast<std::uint32_t>(nodes_.size()); }
    const Node& node(std::uint32_t i) const { return nodes_[i]; }
    const XmlAttribute& attribute(std::uint32_t i) const { return tok_->attribute(i); }
    std::string_view text(std::uint32_t offset, std::uint32_t length) const {
        return std::string_view(data_ + offset, length);
    }
    // Value of a text node, in the tokenizer's pool.
    Text value(const Node& n) const {
        Text t;
        t.offset = n.first;
        t.length = n.length;
        return t;
    }

private:
    const char* data_;
    XmlTokenizer* tok_;
    std::vector<Node> nodes_;
    std::vector<std::uint32_t> open_;

    // Filled in place: a copy of a just-written struct stalls on its loads.
    void addElement(const XmlTokenizer& tok) {
        Node& n = nodes_.emplace_back();
        n.offset = static_cast<std::uint32_t>(tok.offset());
        n.length = static_cast<std::uint32_t>(tok.name().size());
        n.end = size();
        n.first = static_cast<std::uint32_t>(tok.lastAttributes());
        n.attributeCount = static_cast<std::uint32_t>(tok.attributeCount() - tok.lastAttributes());
        n.kind = XmlTokenizer::StartTag;
    }
};

} // namespace quarnel

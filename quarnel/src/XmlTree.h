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
        std::uint32_t first;  // element: its first attribute; text: its value's offset
        std::uint32_t attributeCount;
        XmlTokenizer::Token kind; // StartTag for an element, Text or CData
    };
    struct Attribute {
        std::uint32_t name;
        std::uint32_t nameLength;
        std::uint32_t value; // in the file, or in decoded_ when decoded
        std::uint32_t valueLength;
        bool decoded;
    };

    // Texts are the tokenizer's (see XmlTokenizer::text).
    XmlTree(const char* data, XmlTokenizer& tok) : data_(data), tok_(&tok) {}

    // Also drops the tokenizer's texts, which the tree refers to.
    void clear() {
        nodes_.clear();
        attributes_.clear();
        decoded_.clear();
        tok_->clearTexts();
    }

    // Appends the element whose start tag the tokenizer has just read, with its content up to
    // its end tag or (withContent false) the start tag alone. False on malformed XML (the
    // tokenizer tells what).
    bool add(XmlTokenizer& tok, bool withContent) {
        const std::uint32_t first = size();
        addElement(tok);
        if (!withContent) return true;
        open_.assign(1, first);
        while (!open_.empty()) {
            const XmlTokenizer::Token t = tok.next();
            switch (t) {
            case XmlTokenizer::StartTag:
                open_.push_back(size());
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
                n.length = static_cast<std::uint32_t>(tok.text().size());
                n.end = size();
                n.first = tok.textOffset();
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
    const Attribute& attribute(std::uint32_t i) const { return attributes_[i]; }
    std::string_view text(std::uint32_t offset, std::uint32_t length) const {
        return std::string_view(data_ + offset, length);
    }
    // Value of a text node.
    std::string_view value(const Node& n) const { return tok_->textAt(n.first, n.length); }
    std::string_view value(const Attribute& a) const {
        return a.decoded ? std::string_view(decoded_).substr(a.value, a.valueLength) : text(a.value, a.valueLength);
    }

private:
    const char* data_;
    XmlTokenizer* tok_;
    std::vector<Node> nodes_;
    std::vector<Attribute> attributes_;
    std::string decoded_; // attribute values that hold references, tabs or line ends, as read
    std::vector<std::uint32_t> open_;

    std::uint32_t offsetOf(const char* p) const { return static_cast<std::uint32_t>(p - data_); }

    // Records are filled in place: a copy of a just-written struct stalls on its loads.
    void addElement(const XmlTokenizer& tok) {
        const auto& attrs = tok.attributes();
        Node& n = nodes_.emplace_back();
        n.offset = static_cast<std::uint32_t>(tok.offset());
        n.length = static_cast<std::uint32_t>(tok.name().size());
        n.end = size();
        n.first = static_cast<std::uint32_t>(attributes_.size());
        n.attributeCount = static_cast<std::uint32_t>(attrs.size());
        n.kind = XmlTokenizer::StartTag;
        for (const XmlAttribute& a : attrs) {
            Attribute& t = attributes_.emplace_back();
            t.name = offsetOf(a.name);
            t.nameLength = a.nameLength;
            t.value = offsetOf(a.value);
            t.valueLength = a.valueLength;
            t.decoded = false;
            if (!a.plain) {
                t.value = static_cast<std::uint32_t>(decoded_.size());
                appendXmlAttributeValue(std::string_view(a.value, a.valueLength), decoded_);
                t.valueLength = static_cast<std::uint32_t>(decoded_.size()) - t.value;
                t.decoded = true;
            }
        }
    }
};

} // namespace quarnel

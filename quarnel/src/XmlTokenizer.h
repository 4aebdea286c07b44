#pragma once
// Reads the XML of a catalog file in one pass without building a document: the reader pulls
// start tags, end tags and texts and builds the catalog from them directly. Everything else
// XML allows (declaration, document type, comments, processing instructions) is checked and
// skipped. The first thing that is not well-formed stops the pass with its position.

#include <cstddef>
#include "TextPool.h"

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace quarnel {

// Zero bytes that must follow the text: the scanning loops stop on a zero byte instead of
// comparing with the end at every byte, and may look a few bytes ahead.
constexpr std::size_t kXmlPadding = 16;

struct XmlAttribute {
    const char* name;
    std::uint32_t nameLength;
    const char* value; // as written between the quotes, or its reading when that differs
    std::uint32_t valueLength;
};

class XmlTokenizer {
public:
    enum Token { StartTag, EndTag, Text, CData, End, Error };

    // data[size .. size + kXmlPadding) must be readable and zero. The text is UTF-8, with or
    // without a byte-order mark. The values of texts go to the pool.
    XmlTokenizer(const char* data, std::size_t size, TextPool& pool);

    // Every start tag is followed, after the element's content, by its end tag, except an
    // empty-element tag (<a/>), which has neither. Whitespace-only texts are skipped. After End
    // or Error, the same again.
    Token next();
    // Last StartTag was an empty-element tag.
    bool selfClosing() const { return selfClosing_; }

    // Last StartTag or EndTag.
    std::string_view name() const { return std::string_view(name_, nameLength_); }
    // Attributes of the start tags since clearAttributes(), those of the last StartTag last,
    // from lastAttributes() on. Values are read (references resolved, blanks made spaces).
    const XmlAttribute& attribute(std::size_t i) const { return attributes_[i]; }
    std::size_t attributeCount() const { return attributes_.size(); }
    std::size_t lastAttributes() const { return tagAttributes_; }
    void clearAttributes() {
        attributes_.clear();
        readValues_.clear();
    }
    // Value of the last Text (references resolved) or CData, line ends read as LF, in the
    // pool. Texts are written there once, while they are checked.
    quarnel::Text text() const { return text_; }
    // Where the last token starts: an element's name, a text's first character, the first
    // character inside a CDATA section.
    std::size_t offset() const { return static_cast<std::size_t>(start_ - data_); }

    // After Error: where and what (without the "not well-formed" prefix).
    std::size_t errorOffset() const { return errorOffset_; }
    const std::string& error() const { return error_; }
    bool unsupported() const { return unsupported_; } // an error for valid XML the reader does not take

private:
    enum State { Prolog, Content, Epilog, Done, Failed };
    struct Open {
        const char* name;
        std::uint32_t length;
    };

    const char* data_;
    const char* end_;
    const char* p_;
    State state_ = Prolog;
    bool selfClosing_ = false;
    bool seenDoctype_ = false;
    const char* name_ = nullptr;
    std::uint32_t nameLength_ = 0;
    TextPool& pool_;
    quarnel::Text text_;
    const char* start_;
    std::vector<XmlAttribute> attributes_;
    std::size_t tagAttributes_ = 0;
    std::deque<std::string> readValues_;             // values that differ from their writing; never moved
    std::unordered_set<std::string_view> manyNames_; // duplicate check for long attribute lists
    std::vector<Open> open_;
    std::size_t errorOffset_ = 0;
    std::string error_;
    bool unsupported_ = false;

    Token fail(const char* at, std::string what);
    bool failed(const char* at, std::string what);
    Token prolog();
    Token content();
    Token readText(const char* start);
    Token epilog();
    Token startTag(const char* p);
    Token endTag(const char* p);
    Token closeElement();
    Token cdata(const char* p);
    bool declaration(const char* p);
    bool doctype(const char* p);
    bool skipUntil(const char*& q, char first, char second, const char* start, const char* unclosed);
    bool comment(const char* p);
    bool processingInstruction(const char* p);
    const char* reference(const char* p, std::uint32_t& cp);
    bool uniqueAttribute(); // the last of attributes_
    void readValue(XmlAttribute& a);
    bool literal(const char*& q, const char* what, bool pubid);
};

// A file's bytes as UTF-8 for the tokenizer. UTF-16 and UTF-32 are recognised by their
// byte-order mark or by the leading '<'; ISO-8859-1 by the XML declaration (encoding
// "ISO-8859-1" or "latin1"); anything else is read as UTF-8. Returns false with what and
// where (an offset into out) when the bytes are not in the encoding; true with out empty
// when data is read as it is.
bool xmlToUtf8(const char* data, std::size_t size, std::string& out, std::string& what, std::size_t& where);

} // namespace quarnel

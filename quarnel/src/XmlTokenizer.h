#pragma once
// Reads the XML of a catalog file in one pass without building a document: the reader pulls
// start tags, end tags and texts and builds the catalog from them directly. Everything else
// XML allows (declaration, document type, comments, processing instructions) is checked and
// skipped. The first thing that is not well-formed stops the pass with its position.

#include <cstddef>
#include <cstdint>
#include <memory>
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
    const char* value; // as written between the quotes
    std::uint32_t valueLength;
    bool plain; // as written is the value: no reference, tab or line end in it
};

class XmlTokenizer {
public:
    enum Token { StartTag, EndTag, Text, CData, End, Error };

    // data[size .. size + kXmlPadding) must be readable and zero. The text is UTF-8, with or
    // without a byte-order mark.
    XmlTokenizer(const char* data, std::size_t size);

    // Every start tag is followed, after the element's content, by its end tag (also for
    // <a/>). Whitespace-only texts are skipped. After End or Error, the same again.
    Token next();

    // Last StartTag or EndTag.
    std::string_view name() const { return std::string_view(name_, nameLength_); }
    // Last StartTag.
    const std::vector<XmlAttribute>& attributes() const { return attributes_; }
    // Value of the last Text (references resolved) or CData, line ends read as LF. Texts
    // are written once, while they are checked, to a buffer of the tokenizer; their values
    // stay valid until clearTexts().
    std::string_view text() const { return textAt(textOffset_, textLength_); }
    std::uint32_t textOffset() const { return textOffset_; }
    std::string_view textAt(std::uint32_t offset, std::uint32_t length) const {
        return std::string_view(texts_.get() + offset, length);
    }
    void clearTexts() { textsSize_ = 0; }
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
    bool closePending_ = false; // after <a/>: its end tag comes next
    bool seenDoctype_ = false;
    const char* name_ = nullptr;
    std::uint32_t nameLength_ = 0;
    std::unique_ptr<char[]> texts_;
    std::size_t textsSize_ = 0;
    std::size_t textsCapacity_ = 0;
    std::uint32_t textOffset_ = 0;
    std::uint32_t textLength_ = 0;
    const char* start_;
    std::vector<XmlAttribute> attributes_;
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
    void growTexts(std::size_t used);
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
    bool literal(const char*& q, const char* what, bool pubid);
};

// Appends the value of an attribute value as written (and as the tokenizer checked it) to out:
// references resolved; tab, LF, CR LF and CR read as a space.
void appendXmlAttributeValue(std::string_view raw, std::string& out);

// A file's bytes as UTF-8 for the tokenizer. UTF-16 and UTF-32 are recognised by their
// byte-order mark or by the leading '<'; ISO-8859-1 by the XML declaration (encoding
// "ISO-8859-1" or "latin1"); anything else is read as UTF-8. Returns false with what and
// where (an offset into out) when the bytes are not in the encoding; true with out empty
// when data is read as it is.
bool xmlToUtf8(const char* data, std::size_t size, std::string& out, std::string& what, std::size_t& where);

} // namespace quarnel

// XML well-formedness: files that break it are refused with code 3 at the offending place,
// well-formed files that look like them load; declared entities are refused, DTDs not read.

#include "QuarnelTestSupport.h"

using namespace qtest;

namespace {

// The body on line 2 of a catalog, so that its columns are those of the body.
std::string inCatalog(const std::string& body) {
    return "<FunctionCatalog Name=\"X\">\n" + body + "\n</FunctionCatalog>\n";
}

// A catalog of this description.
std::string desc(const std::string& text) {
    return inCatalog("<Description>" + text + "</Description>");
}

struct Refusal {
    std::string text;
    unsigned line, column;
    const char* reason; // part of the message
};

} // namespace

using QuarnelXmlRules = ManagerTest;

TEST_F(QuarnelXmlRules, FilesBreakingXmlAreRefusedAtTheOffendingPlace) {
    using S = std::string;
    static const char kZero[] = "<Description>a\0z</Description>";
    const Refusal cases[] = {
        // attributes
        {"<FunctionCatalog Name=\"A\" Name=\"B\"/>", 1, 27, "attribute \"Name\" appears twice on <Function"},
        {inCatalog("<FBlock ID=\"1\" Name=\"A\" Colour=\"red\" Colour=\"blue\"/>"), 2, 38,
         "\"Colour\" appears"},
        {inCatalog("<FBlock ID=\"1\" Name=\"A<B\"/>"), 2, 23, "a < inside an attribute"},
        {inCatalog("<FBlock ID=\"1\" Name=\"A & B\"/>"), 2, 24, "a & that does not begin a reference"},
        // references
        {desc("Bass &unknown; level"), 2, 19, "undefined entity \"&unknown;\""},
        {desc("Bass & Treble"), 2, 19, "a & that does not begin a reference"},
        {inCatalog("<FBlock ID=\"1\" Name=\"A&#0;B\"/>"), 2, 23, "\"&#0;\" to U+0000, a character XML does"},
        {desc("&#xD800;"), 2, 14, "to U+D800"},
        {desc("&#x110000;"), 2, 14, "beyond Unicode"},
        {desc("&AUX_2;"), 2, 14, "undefined entity \"&AUX_2;\""}, // capitals, digits, underscores
        {desc("&#12 x"), 2, 14, "malformed character reference"},
        {"<!DOCTYPE FunctionCatalog [<!ENTITY brand \"Acme\">]>\n<FunctionCatalog Name=\"&brand;\"/>", 2, 24,
         "\"&brand;\" is declared in the DOCTYPE; entity declarations are not supported"},
        {inCatalog("<Blob/>\n<Description>&bogus;</Description>"), 3, 14, "undefined entity"},
        // characters and encodings
        {desc(S("\xC0\xAF")), 2, 14, "invalid UTF-8 (bytes C0)"},
        {desc(S("\xED\xA0\x80")), 2, 14, "invalid UTF-8 (bytes ED A0)"},
        {desc(S("x\xE2\x82")), 2, 15, "invalid UTF-8 (bytes E2 82 3C)"},
        {desc(S("a\x80")), 2, 15, "invalid UTF-8 (bytes 80)"},
        {desc(S("\xE0\x80\xAF")), 2, 14, "invalid UTF-8 (bytes E0 80)"},
        {desc(S("\xF0\x8F\xBF\xBD")), 2, 14, "invalid UTF-8 (bytes F0 8F)"},
        {inCatalog("") + "\xC3", 4, 1, "invalid UTF-8 (bytes C3);"},
        {desc(S("\xF5\x80\x80\x80")), 2, 14, "invalid UTF-8 (bytes F5)"},
        {inCatalog(S("<FBlock ID=\"1\" Name=\"\xFF\"/>")), 2, 22, "invalid UTF-8 (bytes FF)"},
        {desc(S("a\x01z")), 2, 15, "U+0001 is not allowed in XML"},
        {inCatalog(S(kZero, sizeof kZero - 1)), 2, 15, "U+0000"},
        {desc(S("\xEF\xBF\xBE")), 2, 14, "U+FFFE is not allowed"},
        {S("\xFF\xFE<\0F\0", 6), 1, 1, "UTF-16 or UTF-32 byte-order mark"},
        {S("<\0F\0", 4), 1, 1, "the file looks like UTF-16 or UTF-32"},
        {"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<FunctionCatalog Name=\"X\"/>", 1, 31,
         "encoding \"ISO-8859-1\" is not supported: catalog files are UTF-8"},
        // text, comments, CDATA
        {desc("a ]]> b"), 2, 16, "]]> in text"},
        {inCatalog("<!-- volume -- bass -->"), 2, 13, "-- inside a comment"},
        {inCatalog("<!-- volume --->"), 2, 13, "a comment ends in --->"},
        // the document around the root
        {"<FunctionCatalog Name=\"X\"/>\n<FunctionCatalog Name=\"Y\"/>", 2, 2, "a second root element <Fun"},
        {"<?xml version=\"1.0\"?>\n<!-- nothing -->\n", 3, 1, "no root element"},
        {"<FunctionCatalog Name=\"X\"/>\n  trailing words\n", 2, 3, "text after the root element"},
        {"stray <FunctionCatalog Name=\"X\"/>", 1, 1, "text before the root element"},
        {"<FunctionCatalog Name=\"X\"/>\n<!DOCTYPE FunctionCatalog>", 2, 11, "a DOCTYPE after the root"},
        {"<!DOCTYPE FunctionCatalog>\n<!DOCTYPE FunctionCatalog>\n<FunctionCatalog Name=\"X\"/>", 2, 11,
         "a second DOCTYPE"},
        {"<!DOCTYPE FunctionCatalog [<!ENTITY e \"x\"><!ATTLIST FBlock Hidden CDATA \"true\">]>\n"
         "<FunctionCatalog Name=\"X\"/>",
         1, 43, "attribute-list declarations in the DOCTYPE are not supported"},
        {"\n<?xml version=\"1.0\"?>\n<FunctionCatalog Name=\"X\"/>", 2, 3,
         "the XML declaration must come first"},
        {"<?XML version=\"1.0\"?>\n<FunctionCatalog Name=\"X\"/>", 1, 3,
         "the XML declaration is written <?xml"},
        {"<?xml version=\"2.0\"?>\n<FunctionCatalog Name=\"X\"/>", 1, 16, "XML version \"2.0\" is not 1.x"},
    };
    for (const Refusal& c : cases) {
        SCOPED_TRACE(c.reason);
        EXPECT_EQ(QRN_ERR_XML, loadText(c.text));
        EXPECT_TRUE(logged("error 3 at line " + std::to_string(c.line) + ", column " +
                           std::to_string(c.column) + ": "))
            << log();
        EXPECT_TRUE(logged(c.reason)) << log();
    }
    EXPECT_EQ("", catalogs());
}

TEST_F(QuarnelXmlRules, WellFormedLookAlikesLoad) {
    using S = std::string;
    const std::pair<std::string, const char*> cases[] = {
        // the file, the description it gives catalog X
        {desc("&#233;&#xE9;&#x20AC;&lt;&gt;&quot;&apos;&amp;"), "\xE9\xE9\x80<>\"'&"},
        {desc("one<!-- c -->two<![CDATA[ <three>]]>"), "onetwo <three>"},
        {desc("a\r\nb\rc&#13;"), "a\nb\nc\r"},
        {"\xEF\xBB\xBF<?xml version=\"1.0\"?>\n" + desc("x"), "x"},
        {"<!DOCTYPE FunctionCatalog SYSTEM \"missing.dtd\">\n" + inCatalog(""), ""},
    };
    for (const auto& [text, description] : cases) {
        SCOPED_TRACE(text);
        ASSERT_EQ(QRN_OK, loadText(text)) << log();
        EXPECT_EQ(description, mgr->GetFCatDescription("X"));
    }
    // Blanks of attribute values.
    ASSERT_EQ(QRN_OK,
              loadText(inCatalog(S("<FBlock ID=\"1\" Name=\"Front&#32;Left\"/><FBlock ID=\"2\" "
                                   "Name=\"Rear\r\nRight\"/><FBlock ID=\"3\" Name=\"Centre\tTop\"/>"))));
    EXPECT_EQ("Front Left, Rear Right, Centre Top", fblockNames("X"));
    // A line end written as a reference stays one; a name holding it breaks the name rules.
    EXPECT_EQ(QRN_OK, loadText(inCatalog("<CatalogVersion Release=\"1&#10;2\"/>")));
    EXPECT_TRUE(logged("(release \"1\n2\")"));
    EXPECT_EQ(QRN_ERR_CONTENT, loadText(inCatalog("<FBlock ID=\"1\" Name=\"A&#10;B\"/>")));
    EXPECT_TRUE(logged("a control character"));
}

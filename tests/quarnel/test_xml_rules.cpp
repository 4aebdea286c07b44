// XML well-formedness: files that break it are refused with code 3 at the offending place,
// well-formed files that look like them load, and external entities are never read.

#include "QuarnelTestSupport.h"

using namespace qtest;

namespace {

// The body on line 2 of a catalog, so that its columns are those of the body.
std::string inCatalog(const std::string& body) {
    return "<FunctionCatalog Name=\"X\">\n" + body + "\n</FunctionCatalog>\n";
}

struct Refusal {
    const char* rule;
    std::string text;
    unsigned line, column;
    const char* reason; // part of the message
};

struct LookAlike {
    const char* rule;
    std::string text;
    const char* description; // of catalog X; null: not checked
    std::vector<std::string> fblocks;
};

} // namespace

using QuarnelXmlRules = ManagerTest;

TEST_F(QuarnelXmlRules, FilesBreakingXmlAreRefusedAtTheOffendingPlace) {
    using S = std::string;
    static const char kZero[] = "<Description>a\0z</Description>";
    const Refusal cases[] = {
        // attributes
        {"attribute given twice", "<FunctionCatalog Name=\"A\" Name=\"B\"/>", 1, 27,
         "attribute \"Name\" appears twice on <FunctionCatalog>"},
        {"unknown attribute given twice: XML comes first",
         inCatalog("<FBlock ID=\"1\" Name=\"A\" Colour=\"red\" Colour=\"blue\"/>"), 2, 38,
         "\"Colour\" appears twice"},
        {"raw < in an attribute value", inCatalog("<FBlock ID=\"1\" Name=\"A<B\"/>"), 2, 23,
         "a < inside an attribute"},
        {"bare & in an attribute value", inCatalog("<FBlock ID=\"1\" Name=\"A & B\"/>"), 2, 24,
         "a & that does not begin a reference"},
        // references
        {"undefined entity", inCatalog("<Description>Bass &unknown; level</Description>"), 2, 19,
         "undefined entity \"&unknown;\""},
        {"bare & in text", inCatalog("<Description>Bass & Treble</Description>"), 2, 19,
         "a & that does not begin a reference"},
        {"reference to U+0000", inCatalog("<FBlock ID=\"1\" Name=\"A&#0;B\"/>"), 2, 23,
         "\"&#0;\" to U+0000, a character XML does not allow"},
        {"reference to a surrogate", inCatalog("<Description>&#xD800;</Description>"), 2, 14, "to U+D800"},
        {"reference beyond Unicode", inCatalog("<Description>&#x110000;</Description>"), 2, 14,
         "beyond Unicode"},
        {"reference to a control", inCatalog("<Description>&#1;</Description>"), 2, 14, "to U+0001"},
        {"reference without semicolon", inCatalog("<Description>&#12 x</Description>"), 2, 14,
         "malformed character reference"},
        {"reference with capital X", inCatalog("<Description>&#X41;</Description>"), 2, 14,
         "malformed character reference"},
        {"entity name of capitals, digits and underscores", inCatalog("<Description>&AUX_2;</Description>"),
         2, 14, "undefined entity \"&AUX_2;\""},
        {"reference name running into the text", inCatalog("<Description>Bass &lt Treble;</Description>"), 2,
         19, "a & that does not begin a reference"},
        {"entity the DOCTYPE declares",
         "<!DOCTYPE FunctionCatalog [<!ENTITY brand \"Acme\">]>\n<FunctionCatalog Name=\"&brand;\"/>", 2, 24,
         "\"&brand;\" is declared in the DOCTYPE; entity declarations are not supported"},
        {"XML error after a content error", inCatalog("<Blob/>\n<Description>&bogus;</Description>"), 3, 14,
         "undefined entity"},
        // characters and encodings
        {"overlong UTF-8", inCatalog(S("<Description>\xC0\xAF</Description>")), 2, 14,
         "invalid UTF-8 (bytes C0)"},
        {"encoded surrogate", inCatalog(S("<Description>\xED\xA0\x80</Description>")), 2, 14,
         "invalid UTF-8 (bytes ED A0)"},
        {"cut-short sequence", inCatalog(S("<Description>x\xE2\x82</Description>")), 2, 15,
         "invalid UTF-8 (bytes E2 82 3C)"},
        {"stray continuation byte", inCatalog(S("<Description>a\x80</Description>")), 2, 15,
         "invalid UTF-8 (bytes 80)"},
        {"overlong three-byte form", inCatalog(S("<Description>\xE0\x80\xAF</Description>")), 2, 14,
         "invalid UTF-8 (bytes E0 80)"},
        {"overlong four-byte form", inCatalog(S("<Description>\xF0\x8F\xBF\xBD</Description>")), 2, 14,
         "invalid UTF-8 (bytes F0 8F)"},
        {"sequence cut short by the end of the file", inCatalog("") + "\xC3", 4, 1,
         "invalid UTF-8 (bytes C3);"},
        {"byte F5", inCatalog(S("<Description>\xF5\x80\x80\x80</Description>")), 2, 14,
         "invalid UTF-8 (bytes F5)"},
        {"byte FF", inCatalog(S("<FBlock ID=\"1\" Name=\"\xFF\"/>")), 2, 22, "invalid UTF-8 (bytes FF)"},
        {"control byte in text", inCatalog(S("<Description>a\x01z</Description>")), 2, 15,
         "U+0001 is not allowed in XML"},
        {"form feed in an attribute", inCatalog(S("<FBlock ID=\"1\" Name=\"A\x0C\"/>")), 2, 23, "U+000C"},
        {"zero byte", inCatalog(S(kZero, sizeof kZero - 1)), 2, 15, "U+0000"},
        {"U+FFFE", inCatalog(S("<Description>\xEF\xBF\xBE</Description>")), 2, 14, "U+FFFE is not allowed"},
        {"UTF-16 byte-order mark", S("\xFF\xFE<\0F\0", 6), 1, 1, "UTF-16 or UTF-32 byte-order mark"},
        {"UTF-16 without a byte-order mark", S("<\0F\0", 4), 1, 1, "the file looks like UTF-16 or UTF-32"},
        {"another encoding declared",
         "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<FunctionCatalog Name=\"X\"/>", 1, 31,
         "encoding \"ISO-8859-1\" is not supported: catalog files are UTF-8"},
        // text, comments, CDATA
        {"]]> in text", inCatalog("<Description>a ]]> b</Description>"), 2, 16, "]]> in text"},
        {"-- inside a comment", inCatalog("<!-- volume -- bass -->"), 2, 13, "-- inside a comment"},
        {"comment ending in --->", inCatalog("<!-- volume --->"), 2, 13, "a comment ends in --->"},
        // the document around the root
        {"second root element", "<FunctionCatalog Name=\"X\"/>\n<FunctionCatalog Name=\"Y\"/>", 2, 2,
         "a second root element <FunctionCatalog>"},
        {"no root element", "<?xml version=\"1.0\"?>\n<!-- nothing -->\n", 3, 1, "no root element"},
        {"text after the root", "<FunctionCatalog Name=\"X\"/>\n  trailing words\n", 2, 3,
         "text after the root element"},
        {"text before the root", "stray <FunctionCatalog Name=\"X\"/>", 1, 1, "text before the root element"},
        {"CDATA after the root", "<FunctionCatalog Name=\"X\"/><![CDATA[x]]>", 1, 37, "text after the root"},
        {"DOCTYPE after the root", "<FunctionCatalog Name=\"X\"/>\n<!DOCTYPE FunctionCatalog>", 2, 11,
         "a DOCTYPE after the root element"},
        {"second DOCTYPE",
         "<!DOCTYPE FunctionCatalog>\n<!DOCTYPE FunctionCatalog>\n<FunctionCatalog Name=\"X\"/>", 2, 11,
         "a second DOCTYPE"},
        {"attribute defaults in the DOCTYPE",
         "<!DOCTYPE FunctionCatalog [<!ENTITY e \"x\"><!ATTLIST FBlock Hidden CDATA \"true\">]>\n"
         "<FunctionCatalog Name=\"X\"/>",
         1, 43, "attribute-list declarations in the DOCTYPE are not supported"},
        {"declaration not first", "\n<?xml version=\"1.0\"?>\n<FunctionCatalog Name=\"X\"/>", 2, 3,
         "the XML declaration must come first"},
        {"declaration in capitals", "<?XML version=\"1.0\"?>\n<FunctionCatalog Name=\"X\"/>", 1, 3,
         "the XML declaration is written <?xml"},
        {"XML version 2", "<?xml version=\"2.0\"?>\n<FunctionCatalog Name=\"X\"/>", 1, 16,
         "XML version \"2.0\" is not 1.x"},
        {"XML version 1.a", "<?xml version=\"1.a\"?>\n<FunctionCatalog Name=\"X\"/>", 1, 16,
         "XML version \"1.a\" is not 1.x"},
    };
    for (const Refusal& c : cases) {
        SCOPED_TRACE(c.rule);
        EXPECT_EQ(QRN_ERR_XML, loadText(c.text));
        const std::string log = readFile(logPath());
        const std::string where =
            "error 3 at line " + std::to_string(c.line) + ", column " + std::to_string(c.column) + ": ";
        EXPECT_NE(std::string::npos, log.find(where)) << log;
        EXPECT_NE(std::string::npos, log.find(c.reason)) << log;
    }
    std::vector<std::string> cats;
    mgr->ListCatalogs(cats, 0);
    EXPECT_TRUE(cats.empty());
}

TEST_F(QuarnelXmlRules, WellFormedLookAlikesLoad) {
    using S = std::string;
    const LookAlike cases[] = {
        {"escaped references are text",
         inCatalog("<Description>&amp;#0; &amp;unknown;</Description>"),
         "&#0; &unknown;",
         {}},
        {"valid references",
         inCatalog("<Description>&#233;&#xE9;&#x20AC;&lt;&gt;&quot;&apos;&amp;</Description>"),
         "\xE9\xE9\x80<>\"'&",
         {}},
        {"dashes in attributes and CDATA",
         inCatalog("<CatalogVersion Release=\"1--2\"/><Description><![CDATA[a -- b]]></Description>"),
         "a -- b",
         {}},
        {"a dash before the end of a comment",
         inCatalog("<!-- a - b --><Description>x</Description>"),
         "x",
         {}},
        {"> in attributes and text",
         inCatalog("<CatalogVersion Release=\"a>b\"/><Description>x > y</Description>"),
         "x > y",
         {}},
        {"CDATA holding < and &", inCatalog("<Description><![CDATA[<&>]]></Description>"), "<&>", {}},
        {"]] without >", inCatalog("<Description>a ]] b ]></Description>"), "a ]] b ]>", {}},
        {"pieces around a comment",
         inCatalog("<Description>one<!-- c -->two<![CDATA[ <three>]]></Description>"),
         "onetwo <three>",
         {}},
        {"line ends in text", inCatalog("<Description>a\r\nb\rc&#13;</Description>"), "a\nb\nc\r", {}},
        {"byte-order mark",
         "\xEF\xBB\xBF<?xml version=\"1.0\"?>\n" + inCatalog("<Description>x</Description>"),
         "x",
         {}},
        {"DOCTYPE before the root",
         "<!DOCTYPE FunctionCatalog SYSTEM \"missing.dtd\">\n" + inCatalog(""),
         "",
         {}},
        {"entity declared but not used",
         "<!DOCTYPE FunctionCatalog [<!ENTITY e \"x\">]>\n" + inCatalog("<Description>&amp;e;</Description>"),
         "&e;",
         {}},
        {"declaration in lower case, standalone",
         "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"yes\"?>\n" + inCatalog(""),
         "",
         {}},
        {"processing instruction, comments and blanks around the root",
         "<?app hint?>\n<!-- head -->\n" + inCatalog("") + "<!-- tail -->\n  \n",
         "",
         {}},
        {"blanks of attribute values",
         inCatalog(S("<FBlock ID=\"1\" Name=\"Front&#32;Left\"/><FBlock ID=\"2\" Name=\"Rear\r\nRight\"/>"
                     "<FBlock ID=\"3\" Name=\"Centre\tTop\"/>")),
         "",
         {"Front Left", "Rear Right", "Centre Top"}},
    };
    for (const LookAlike& c : cases) {
        SCOPED_TRACE(c.rule);
        ASSERT_EQ(QRN_OK, loadText(c.text)) << readFile(logPath());
        if (c.description) {
            EXPECT_EQ(c.description, mgr->GetFCatDescription("X"));
        }
        std::vector<IdName> fbs;
        mgr->ListFBlocks(fbs, 0, "X");
        EXPECT_EQ(c.fblocks, names(fbs));
    }
}

// A line end written as a reference stays one; a name holding it breaks the name rules.
TEST_F(QuarnelXmlRules, ReferencedLineEndsInAttributesStay) {
    EXPECT_EQ(QRN_OK, loadText(inCatalog("<CatalogVersion Release=\"1&#10;2\"/>")));
    EXPECT_NE(std::string::npos, readFile(logPath()).find("(release \"1\n2\")"));
    EXPECT_EQ(QRN_ERR_CONTENT, loadText(inCatalog("<FBlock ID=\"1\" Name=\"A&#10;B\"/>")));
    EXPECT_NE(std::string::npos, readFile(logPath()).find("a control character"));
}

TEST_F(QuarnelXmlRules, ExternalEntitiesAreNeverRead) {
    const std::string secret = "SECRET-FILE-CONTENT";
    writeFile(tmp.path("secret.txt"), secret);
    writeFile(tmp.path("secret.dtd"),
              "<!ENTITY leak \"" + secret + "\"><!ATTLIST FBlock Hidden CDATA \"true\">");
    const std::string file = "file://" + tmp.path("secret.txt").string();
    const std::string declares = "<!DOCTYPE FunctionCatalog [<!ENTITY leak SYSTEM \"secret.txt\">"
                                 "<!ENTITY leak2 SYSTEM \"" +
                                 file + "\">]>\n";
    const std::string refused[] = {
        declares + inCatalog("<Description>&leak;</Description>"),
        declares + inCatalog("<FBlock ID=\"1\" Name=\"&leak2;\"/>"),
        "<!DOCTYPE FunctionCatalog SYSTEM \"secret.dtd\">\n" + inCatalog("<Description>&leak;</Description>"),
    };
    for (const std::string& text : refused) {
        EXPECT_EQ(QRN_ERR_XML, loadText(text));
        const std::string log = readFile(logPath());
        EXPECT_NE(std::string::npos, log.find("&leak")) << log;
        EXPECT_EQ(std::string::npos, log.find(secret)) << log;
    }
    // Declared but unused, and an external DTD whose defaults would hide the FBlock: nothing is read.
    ASSERT_EQ(QRN_OK, loadText(declares + inCatalog("<Description>plain</Description>")));
    EXPECT_EQ("plain", mgr->GetFCatDescription("X"));
    ASSERT_EQ(QRN_OK, loadText("<!DOCTYPE FunctionCatalog SYSTEM \"secret.dtd\">\n" +
                               inCatalog("<FBlock ID=\"1\" Name=\"Shown\"/>")));
    std::vector<IdName> fbs;
    mgr->ListFBlocks(fbs, 0, "X");
    EXPECT_EQ((std::vector<std::string>{"Shown"}), names(fbs));
    EXPECT_EQ(std::string::npos, readFile(logPath()).find(secret));
}

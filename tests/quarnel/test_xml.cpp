// The XML of catalog files: what is not well-formed is refused with code 3 at the place of the
// fault, what is well-formed reads as XML says, and no input crashes or recurses the reader.

#include "QuarnelTestSupport.h"

#include <algorithm>

using namespace qtest;

namespace {

const char* const kHead =
    "<?xml version=\"1.0\"?>\n<FunctionCatalog Name=\"X\">\n<FBlock ID=\"1\" Name=\"A\">\n";
const char* const kTail = "\n</FBlock>\n</FunctionCatalog>\n";

// A catalog whose FBlock holds `body` on line 4.
std::string inFBlock(const std::string& body) {
    return kHead + body + kTail;
}

std::string utf16(const std::u16string& text, bool bigEndian, bool bom) {
    std::string out;
    auto unit = [&](unsigned u) {
        const char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
        out += bigEndian ? hi : lo;
        out += bigEndian ? lo : hi;
    };
    if (bom) unit(0xFEFF);
    for (char16_t c : text)
        unit(c);
    return out;
}

} // namespace

class QuarnelXml : public ManagerTest {
protected:
    // Loads text; returns the code, the log line in log.
    int loadText(const std::string& text, std::string& log) {
        const auto file = tmp.path("x.xml");
        writeFile(file, text);
        const int code = load(file.string());
        log = readFile(logPath());
        return code;
    }
    // The description of catalog X after loading text, which must load.
    std::string catalogDescription(const std::string& text) {
        std::string log;
        EXPECT_EQ(QRN_OK, loadText(text, log)) << log;
        return mgr->GetFCatDescription("X");
    }
};

TEST_F(QuarnelXml, MalformedMarkupIsRefusedWhereItIs) {
    struct Case {
        const char* label;
        std::string body; // line 4 of the catalog
        std::string at;   // the fault: its last occurrence in body gives the column
        const char* reason;
    };
    std::string many = "<Function ID=\"1\" Name=\"F\" Kind=\"Method\"";
    for (int i = 0; i < 20; ++i)
        many += " a" + std::to_string(i) + "=\"x\"";
    many += " a7=\"x\"/>";
    const char* const badChar = "character reference to a character XML does not allow";
    const char* const badReference = "malformed character reference";
    const char* const notUtf8 = "bytes that are not UTF-8";
    const Case cases[] = {
        {"mismatched end tag", "<Description>x</Descriptio>", "Descriptio>",
         "end tag </Descriptio> does not match <Description>"},
        {"end tag with junk", "<Description>x</Description x>", "x>", "expected > to close the end tag"},
        {"undefined entity", "<Description>a&nbsp;b</Description>", "&nbsp;", "undefined entity &nbsp;"},
        {"bare ampersand", "<Description>salt & pepper</Description>", "& pepper",
         "& that begins no reference"},
        {"entity without semicolon", "<Description>a &lt b</Description>", "&lt b",
         "& that begins no reference"},
        {"ampersand in a value", "<Device Name=\"A&B\"/>", "&B", "& that begins no reference"},
        {"reference to NUL", "<Description>&#0;</Description>", "&#0;", badChar},
        {"reference to a surrogate", "<Description>&#xD800;</Description>", "&#xD800;", badChar},
        {"reference beyond Unicode", "<Description>&#x110000;</Description>", "&#x110000;", badChar},
        {"reference overflowing", "<Description>&#99999999999999999999;</Description>", "&#9", badChar},
        {"reference with no digits", "<Description>&#;</Description>", "&#;", badReference},
        {"reference with bad digits", "<Description>&#xZZ;</Description>", "&#xZZ;", badReference},
        {"reference with capital X", "<Description>&#X41;</Description>", "&#X41;", badReference},
        {"value without quotes", "<Device Name=Amp/>", "Amp/>", "attribute value not in quotes"},
        {"attribute without value", "<Device Name/>", "/>", "expected = after the attribute name Name"},
        {"no blank between attributes", "<Function ID=\"1\"Name=\"F\" Kind=\"Method\"/>",
         "Name=", "expected a blank, > or /> in a start tag"},
        {"< in a value", "<Device Name=\"a<b\"/>", "<b", "< in an attribute value"},
        {"duplicate attribute", "<Function ID=\"1\" Name=\"F\" ID=\"2\" Kind=\"Method\"/>", "ID=\"2\"",
         "attribute ID appears twice"},
        {"duplicate among many attributes", many, "a7=", "attribute a7 appears twice"},
        {"-- in a comment", "<!-- a -- b -->", "-- b", "-- inside a comment"},
        {"]]> in text", "<Description>a]]>b</Description>", "]]>", "]]> in text"},
        {"control character", "<Description>a\x01z</Description>", "\x01", "character 0x01 is not allowed"},
        {"NUL byte", "<Description>a" + std::string(1, '\0') + "z</Description>", std::string(1, '\0'),
         "character 0x00 is not allowed"},
        {"bytes that are not UTF-8", "<Description>a\xC3(z</Description>", "\xC3", notUtf8},
        {"UTF-8 of a surrogate", "<Description>a\xED\xA0\x80z</Description>", "\xED", notUtf8},
        {"invalid UTF-8 in a name", "<Dev\xC3ice/>", "\xC3", "expected a blank, > or /> in a start tag"},
        {"declaration inside", "<?xml version=\"1.0\"?>", "<?xml", "the XML declaration may only begin"},
        {"instruction without target", "<? x?>", " x?>", "expected a name after <?"},
        {"declaration of markup", "<!ELEMENT x ANY>", "<!ELEMENT", "markup declaration inside an element"},
        {"name starting with a digit", "<1x/>", "1x/>", "expected an element name after <"},
        {"blank after <", "< Device/>", " Device", "expected an element name after <"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        std::string log;
        EXPECT_EQ(QRN_ERR_XML, loadText(inFBlock(c.body), log));
        const std::size_t column = c.body.rfind(c.at) + 1;
        EXPECT_NE(std::string::npos,
                  log.find("line 4, column " + std::to_string(column) + ": not well-formed XML: " + c.reason))
            << log;
    }
}

TEST_F(QuarnelXml, MalformedDocumentsAreRefusedWhereTheFaultIs) {
    const std::string root = "<FunctionCatalog Name=\"X\"/>";
    struct Case {
        const char* label;
        std::string text;
        int line, column;
        const char* reason;
    };
    const Case cases[] = {
        {"text after the root", root + "\ntrailing", 2, 1,
         "not well-formed XML: text after the root element"},
        {"second root", root + "\n" + root, 2, 1, "not well-formed XML: a second root element"},
        {"markup after the root", root + "<!DOCTYPE x>", 1, 28, "not well-formed XML: markup after the root"},
        {"text before the root", "junk" + root, 1, 1, "not well-formed XML: text before the root element"},
        {"declaration not first", "\n<?xml version=\"1.0\"?>" + root, 2, 1,
         "not well-formed XML: the XML declaration may only begin"},
        {"unknown version", "<?xml version=\"2.0\"?>" + root, 1, 7,
         "not well-formed XML: malformed XML declaration"},
        {"declaration without version", "<?xml encoding=\"UTF-8\"?>" + root, 1, 7,
         "not well-formed XML: malformed XML declaration"},
        {"internal DTD subset", "<!DOCTYPE FunctionCatalog [<!ENTITY e \"v\">]>\n" + root, 1, 27,
         "unsupported XML: a document type declaration with an internal subset"},
        {"two document types", "<!DOCTYPE FunctionCatalog>\n<!DOCTYPE FunctionCatalog>\n" + root, 2, 1,
         "not well-formed XML: a second document type declaration"},
        {"comment left open", root + "\n<!-- open", 2, 1, "not well-formed XML: comment not closed"},
        {"CDATA left open", "<FunctionCatalog Name=\"X\">\n<![CDATA[x", 2, 1,
         "not well-formed XML: CDATA section not closed"},
        {"only a comment", "<!-- nothing -->\n", 2, 1, "not well-formed XML: no root element"},
        {"element left open", std::string(kHead) + "<Description>x", 4, 2,
         "not well-formed XML: <Description> is not closed"},
        {"start tag left open", std::string(kHead) + "<Device Name=\"D\"", 4, 2,
         "not well-formed XML: start tag <Device> is not closed"},
        {"value left open", "<FunctionCatalog Name=\"X", 1, 23,
         "not well-formed XML: attribute value not closed"},
        {"end of file in an end tag", "<FunctionCatalog Name=\"X\"></Function", 1, 29,
         "not well-formed XML: end tag not closed"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        std::string log;
        EXPECT_EQ(QRN_ERR_XML, loadText(c.text, log));
        EXPECT_NE(std::string::npos, log.find("line " + std::to_string(c.line) + ", column " +
                                              std::to_string(c.column) + ": " + c.reason))
            << log;
    }
}

TEST_F(QuarnelXml, EveryTruncationOfACatalogIsRefused) {
    const std::string everything =
        "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE FunctionCatalog SYSTEM 'c.dtd'>\n"
        "<!-- c --><?pi x?><FunctionCatalog Name='X'>\n<Description><![CDATA[a<b]]></Description>\n"
        "<FBlock ID=\"1\" Name=\"A&amp;B\"><Description>caf\xC3\xA9 &#x20AC;&lt;\r\n\xF0\x9F\x98\x80"
        "</Description><Device Name=\"D\"/></FBlock>\n</FunctionCatalog>\n";
    for (const std::string& text : {readFile(sample("single.xml")), everything}) {
        const std::size_t complete =
            text.find("</FunctionCatalog>") + std::string("</FunctionCatalog>").size();
        for (std::size_t n = 0; n < text.size(); ++n) {
            SCOPED_TRACE(n);
            std::string log;
            const int code = loadText(text.substr(0, n), log);
            if (n >= complete) {
                EXPECT_EQ(QRN_OK, code) << log;
                continue;
            }
            EXPECT_EQ(QRN_ERR_XML, code) << log;
            // The fault lies within what is there.
            const auto lines = static_cast<std::size_t>(std::count(text.begin(), text.begin() + n, '\n')) + 1;
            const std::size_t at = log.find(" at line ");
            if (at != std::string::npos) {
                EXPECT_LE(std::stoul(log.substr(at + 9)), lines) << log;
            }
        }
    }
}

TEST_F(QuarnelXml, LongTextsAndManyReadValuesKeepTheirContent) {
    // Descriptions that fill the catalog's text blocks several times over: texts written in
    // place move to a new block when they reach the end of one.
    std::string text = "<FunctionCatalog Name=\"X\">";
    std::vector<std::string> expected;
    for (int b = 0; b < 40; ++b) {
        const std::string words(60000 + 977 * b, static_cast<char>('a' + b % 26));
        expected.push_back(words + "\r\n" + std::to_string(b));
        text += "<FBlock ID=\"" + std::to_string(b) + "\" Name=\"B" + std::to_string(b) + "\"><Description>" +
                words + "&#13;&#10;" + std::to_string(b) + "</Description></FBlock>";
    }
    // Names read from references, many in one FBlock.
    text += "<FBlock ID=\"200\" Name=\"Refs\">";
    for (int f = 0; f < 300; ++f)
        text += "<Function ID=\"" + std::to_string(f) + "\" Name=\"F&amp;" + std::to_string(f) +
                "\" Kind=\"Method\"/>";
    text += "</FBlock></FunctionCatalog>";
    std::string log;
    ASSERT_EQ(QRN_OK, loadText(text, log)) << log;
    for (int b = 0; b < 40; ++b) {
        std::unique_ptr<KQRNMessageContainer> c(
            mgr->GetMessageContainer(0, "X", b, QRN_ANY_INSTANCE, -1, -1, 0));
        ASSERT_NE(nullptr, c);
        EXPECT_EQ(expected[static_cast<std::size_t>(b)], c->GetFBlockDescription()) << b;
    }
    std::vector<IdName> fns;
    mgr->ListFunctions(fns, 0, "X", 200, QRN_ANY_INSTANCE);
    ASSERT_EQ(300u, fns.size());
    for (int f = 0; f < 300; ++f)
        EXPECT_EQ("F&" + std::to_string(f), fns[static_cast<std::size_t>(f)].name);
}

TEST_F(QuarnelXml, TheDescriptionLimitCountsTheTextAsRead) {
    auto catalog = [](const std::string& description) {
        return "<FunctionCatalog Name=\"X\"><Description>" + description + "</Description></FunctionCatalog>";
    };
    const std::size_t limit = std::size_t(1) << 20;
    std::string log;
    EXPECT_EQ(QRN_OK, loadText(catalog(std::string(limit, 'x')), log)) << log;
    EXPECT_EQ(QRN_ERR_LIMIT, loadText(catalog(std::string(limit + 1, 'x')), log)) << log;
    // Written longer than the limit, but read within it.
    std::string refs;
    for (std::size_t i = 0; i < limit / 2; ++i)
        refs += "&lt;";
    EXPECT_EQ(QRN_OK, loadText(catalog(refs), log)) << log;
    EXPECT_EQ(std::string(limit / 2, '<'), mgr->GetFCatDescription("X"));
    // Texts nobody keeps may be longer than a block of the pool.
    EXPECT_EQ(QRN_OK, loadText("<FunctionCatalog Name=\"X\"><CatalogVersion>" + std::string(3 * limit, 'v') +
                                   "</CatalogVersion><Description>d</Description></FunctionCatalog>",
                               log))
        << log;
    EXPECT_EQ("d", mgr->GetFCatDescription("X"));
}

TEST_F(QuarnelXml, MalformedXmlOutranksContentErrorsBeforeIt) {
    // The bad id comes first in the file; the unclosed element after it is still what is reported.
    std::string log;
    EXPECT_EQ(
        QRN_ERR_XML,
        loadText("<FunctionCatalog Name=\"X\">\n<FBlock ID=\"x\" Name=\"A\"/>\n<FBlock ID=\"2\" Name=\"B\">",
                 log));
    EXPECT_NE(std::string::npos, log.find("line 3, column 2: not well-formed XML: <FBlock> is not closed"))
        << log;
    EXPECT_EQ(QRN_ERR_CONTENT, loadText("<FunctionCatalog Name=\"X\">\n<FBlock ID=\"x\" Name=\"A\"/>\n"
                                        "</FunctionCatalog>",
                                        log));
}

TEST_F(QuarnelXml, ReferencesLineEndsAndCDataReadAsXmlSays) {
    auto catalog = [](const std::string& description) {
        return "<FunctionCatalog Name=\"X\"><Description>" + description + "</Description></FunctionCatalog>";
    };
    EXPECT_EQ("x <>&'\" AB\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80",
              catalogDescription(catalog("x &lt;&gt;&amp;&apos;&quot; &#65;&#x42;&#xE9;&#x20AC;&#x1F600;")));
    EXPECT_EQ("a\nb\nc\r\nd", catalogDescription(catalog("a\r\nb\rc&#13;&#10;d")));
    EXPECT_EQ("<b> & \n", catalogDescription(catalog("<![CDATA[<b> & \r\n]]>")));
    EXPECT_EQ("  text ", catalogDescription(catalog("<!-- c --><?pi x?>  text ")));
    // Only the first text of a description counts, as it always has.
    EXPECT_EQ("first", catalogDescription(catalog("first<!-- c -->second")));

    // Attribute values: raw blanks read as spaces, referenced ones stay.
    std::string log;
    ASSERT_EQ(QRN_OK,
              loadText("<FunctionCatalog Name='X'><FBlock ID = \"1\" Name=\"Audio\tAmp&amp;Co\r\nA\"/>"
                       "</FunctionCatalog>",
                       log))
        << log;
    std::vector<IdName> fbs;
    mgr->ListFBlocks(fbs, 0, "X");
    EXPECT_EQ((std::vector<std::string>{"Audio Amp&Co A"}), names(fbs));
    EXPECT_EQ(
        QRN_ERR_CONTENT,
        loadText("<FunctionCatalog Name=\"X\"><FBlock ID=\"1\" Name=\"Audio&#9;Amp\"/></FunctionCatalog>",
                 log));
    EXPECT_NE(std::string::npos, log.find("control character")) << log;
}

TEST_F(QuarnelXml, PrologsAndEncodingsThatAreWellFormedLoad) {
    const std::string root =
        "<FunctionCatalog Name=\"X\"><Description>caf\xC3\xA9</Description></FunctionCatalog>";
    const std::string latin1 =
        "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>"
        "<FunctionCatalog Name=\"X\"><Description>caf\xE9</Description></FunctionCatalog>";
    const std::u16string ascii =
        u"<FunctionCatalog Name=\"X\"><Description>cafe</Description></FunctionCatalog>";
    struct Case {
        const char* label;
        std::string text;
        const char* description;
    };
    const Case cases[] = {
        {"byte-order mark and full declaration",
         "\xEF\xBB\xBF<?xml version='1.0' encoding='UTF-8' standalone='yes' ?>\n" + root, "caf\xC3\xA9"},
        {"document type with a system id", "<!DOCTYPE FunctionCatalog SYSTEM \"catalog.dtd\">\n" + root,
         "caf\xC3\xA9"},
        {"document type with a public id",
         "<!-- c --><?pi?><!DOCTYPE FunctionCatalog PUBLIC \"-//X//Catalog//EN\" 'c.dtd'><!-- c -->" + root +
             "<!-- after --><?pi after?>\n",
         "caf\xC3\xA9"},
        {"ISO-8859-1", latin1, "caf\xC3\xA9"},
        {"UTF-16 little-endian with mark", utf16(ascii, false, true), "cafe"},
        {"UTF-16 big-endian without mark", utf16(ascii, true, false), "cafe"},
        {"UTF-16 surrogate pair",
         utf16(u"<FunctionCatalog Name=\"X\"><Description>\U0001F600</Description></FunctionCatalog>", false,
               true),
         "\xF0\x9F\x98\x80"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(c.description, catalogDescription(c.text));
    }
    std::string log;
    EXPECT_EQ(QRN_OK, loadText("<FunctionCatalog Name=\"E\"/>", log)) << log;
    std::string odd = utf16(ascii, false, true);
    odd.push_back('x');
    EXPECT_EQ(QRN_ERR_XML, loadText(odd, log)) << "a UTF-16 file cannot end inside a character";
    EXPECT_EQ(QRN_ERR_XML, loadText(utf16(ascii, false, true) + std::string("\x00\xD8", 2), log))
        << "a surrogate without its pair";
}

TEST_F(QuarnelXml, DeepNestingAndLongAttributeListsNeitherRecurseNorStall) {
    const int depth = 200000;
    std::string open, close;
    for (int i = 0; i < depth; ++i) {
        open += "<x>";
        close += "</x>";
    }
    std::string log;
    EXPECT_EQ(QRN_ERR_CONTENT, loadText(inFBlock("<Description>" + open + close + "</Description>"), log));
    EXPECT_NE(std::string::npos, log.find("<Description> holds text only")) << log;
    EXPECT_EQ(QRN_ERR_XML, loadText(inFBlock("<Description>" + open), log));

    std::string tag = "<Device";
    for (int i = 0; i < 20000; ++i)
        tag += " a" + std::to_string(i) + "=\"\"";
    EXPECT_EQ(QRN_ERR_CONTENT, loadText(inFBlock(tag + "/>"), log));
    EXPECT_NE(std::string::npos, log.find("unknown attribute a0 on <Device>")) << log;
    EXPECT_EQ(QRN_ERR_XML, loadText(inFBlock(tag + " a19999=\"\"/>"), log));
    EXPECT_NE(std::string::npos, log.find("attribute a19999 appears twice")) << log;
}

TEST_F(QuarnelXml, RepeatsInLongRunsAreFoundAndOnlyThere) {
    auto params = [](const std::string& prefix, int count, const std::string& type) {
        std::string out;
        for (int i = 0; i < count; ++i)
            out += "<Parameter Name=\"" + prefix + std::to_string(i) + "\">" + type + "</Parameter>\n";
        return out;
    };
    auto catalog = [](const std::string& opTypes) {
        return std::string(kHead) + "<Function ID=\"1\" Name=\"F\" Kind=\"Method\">\n" + opTypes +
               "</Function>" + kTail;
    };
    // The same names in sibling and nested runs are no repeats.
    const std::string record = "<TRecord>" + params("P", 20, "<TBool/>") + "</TRecord>";
    std::string attributes;
    for (int i = 0; i < 20; ++i)
        attributes += "<Attribute ID=\"" + std::to_string(2000 + i) + "\" Value=\"1\"/>";
    std::string cases = "<TStream Selector=\"P0\">";
    for (int i = 0; i < 20; ++i)
        cases += "<TStreamCase Name=\"C" + std::to_string(i) + "\" Values=\"" + std::to_string(i) + "\"/>";
    cases += "</TStream>";
    const std::string good = "<OPType ID=\"0\">\n" + params("P", 20, record) +
                             "</OPType>\n<OPType ID=\"2\">\n" + params("P", 20, attributes + "<TBool/>") +
                             "<Parameter Name=\"S\">" + cases + "</Parameter>\n</OPType>\n";
    std::string log;
    EXPECT_EQ(QRN_OK, loadText(catalog(good), log)) << log;

    // A repeat at the end of a long run is reported where it is, as in a short one.
    struct Case {
        const char* label;
        std::string body;
        std::string reason;
    };
    const Case cases2[] = {
        {"parameter", params("P", 20, "<TBool/>") + "<Parameter Name=\"P7\"><TBool/></Parameter>\n",
         "line 26, column 2: parameter name P7 appears twice"},
        {"attribute",
         "<Parameter Name=\"A\">\n" + attributes +
             "\n<Attribute ID=\"2007\" Value=\"2\"/><TBool/></Parameter>\n",
         "line 8, column 2: attribute 2007 appears twice"},
        {"stream case",
         "<Parameter Name=\"P0\"><TBool/></Parameter><Parameter Name=\"S\">" +
             cases.substr(0, cases.size() - 10) + "\n<TStreamCase Name=\"C3\"/></TStream></Parameter>\n",
         "line 7, column 2: stream case C3 appears twice"},
    };
    for (const Case& c : cases2) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(QRN_ERR_CONTENT, loadText(catalog("<OPType ID=\"0\">\n" + c.body + "</OPType>\n"), log));
        EXPECT_NE(std::string::npos, log.find(c.reason)) << log;
    }
}

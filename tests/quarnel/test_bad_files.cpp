// Bad catalog files: refused with a code and a located reason, earlier catalogs untouched.

#include "QuarnelTestSupport.h"

using namespace qtest;

namespace {

std::string catalog(const std::string& fblocks) {
    return "<?xml version=\"1.0\"?>\n<FunctionCatalog Name=\"Bad\">\n" + fblocks + "</FunctionCatalog>\n";
}

// An FBlock on line 3 with these attributes and content.
std::string fblock(const std::string& attributes, const std::string& content = "") {
    return catalog("<FBlock " + attributes + (content.empty() ? "/>" : ">" + content + "</FBlock>") + "\n");
}

// Parameters on line 6 and on.
std::string params(const std::string& text) {
    return catalog(
        "<FBlock ID=\"0x10\" Name=\"Block\">\n<Function ID=\"0x100\" Name=\"Fn\" Kind=\"Property\">\n"
        "<OPType ID=\"0xC\">\n" +
        text + "</OPType>\n</Function>\n</FBlock>\n");
}

// Parameter P of this content.
std::string param(const std::string& content) {
    return params("<Parameter Name=\"P\">" + content + "</Parameter>\n");
}

// The leaf inside `depth` records.
std::string nested(int depth, const std::string& leaf = "<Parameter Name=\"Leaf\"><TBool/></Parameter>") {
    std::string open, close;
    for (int i = 0; i < depth; ++i) {
        open += "<Parameter Name=\"R" + std::to_string(i) + "\"><TRecord>";
        close = "</TRecord></Parameter>" + close;
    }
    return params(open + leaf + close + "\n");
}

// A stream and its case are two levels above the case's parameters.
const char kStreamLeaf[] = "<Parameter Name=\"S\"><TStream><TStreamCase Name=\"C\"><Parameter Name=\"Leaf\">"
                           "<TBool/></Parameter></TStreamCase></TStream></Parameter>";

const char kFunction[] = "<Function ID=\"1\" Name=\"F\" Kind=\"Method\"";

} // namespace

class QuarnelBadFiles : public ManagerTest {
protected:
    void SetUp() override {
        ManagerTest::SetUp();
        ASSERT_EQ(QRN_OK, load(sample("standard.xml")));
    }
    // The catalogs loaded, with the number of FBlocks of the first one.
    std::string loaded() {
        std::vector<IdName> fbs;
        mgr->ListFBlocks(fbs, 0, "Infotainment");
        return std::to_string(fbs.size()) + " " + catalogs();
    }
    // Loads text, expects the code and, in the log, the text and "line N, column" (N not 0).
    void expectRefused(const std::string& text, int code, const std::string& reason, int line = 0) {
        EXPECT_EQ(code, loadText(text, "bad.xml"));
        EXPECT_TRUE(logged(reason)) << log().substr(0, 1000);
        if (line) {
            EXPECT_TRUE(logged("line " + std::to_string(line) + ", column")) << log();
        }
        EXPECT_LT(log().size(), 1000u);
    }
};

TEST_F(QuarnelBadFiles, BrokenFilesAreRefusedWithWhatAndWhere) {
    const int xml = QRN_ERR_XML, content = QRN_ERR_CONTENT, limit = QRN_ERR_LIMIT;
    const struct {
        std::string text;
        int code;
        const char* reason; // part of the log text
        int line;           // 0: not checked
    } cases[] = {
        {"", xml, "empty", 0},
        {"<?xml version=\"1.0\"?>\n<FunctionCatalog Name=\"X\">\n  <FBlock ID=\"1\" Name=\"A\">\n", xml,
         "not well-formed", 3},
        {"<Catalog Name=\"X\"/>", content, "root element is <Catalog>", 1},
        {"<FunctionCatalog>\n</FunctionCatalog>", content, "has no Name", 1},
        {catalog("<FBlock ID=\"0x22\" Name=\"A\"/>\n<FBlock ID=\"34\" Name=\"B\"/>\n"), content,
         "FBlock id 0x22 appears twice", 4},
        {catalog("<FBlock ID=\"1\" Name=\"A\"/>\n<FBlock ID=\"2\" Name=\"A\"/>\n"), content,
         "FBlock name \"A\" appears twice", 4},
        {fblock("ID=\"0x100\" Name=\"A\""), content, "outside 0 to 255", 3},
        {fblock("ID=\"0x7FFFFFFFFFFFFFFF\" Name=\"A\""), content,
         "ID \"0x7FFFFFFFFFFFFFFF\" is outside 0 to 255", 3},
        {fblock("ID=\"9223372036854775807\" Name=\"A\""), content, "ID \"9223372036854775807\" is outside 0",
         3},
        {fblock("ID=\"18446744073709551617\" Name=\"A\""), content,
         "ID \"18446744073709551617\" is not a number", 3},
        {fblock("ID=\"0x1G\" Name=\"A\""), content, "ID \"0x1G\" is not a number", 3},
        {fblock("ID=\"1\" Name=\"A\" Instances=\"1 -2\""), content,
         "Instances holds \"-2\", not an instance id 0 to 0xFF", 3},
        {fblock("ID=\"1\" Name=\"A\"", "\n  <Function ID=\"1\" Kind=\"Method\"/>\n"), content,
         "<Function> has no Name", 4},
        {fblock("ID=\"1\" Name=\"A\"", "<Function ID=\"1\" Name=\"F\" Kind=\"Event\"/>"), content,
         "Kind must be", 3},
        {fblock("ID=\"1\" Name=\"A\"", kFunction + std::string(">words</Function>")), content,
         "unexpected text \"words\" in <Function>", 3},
        {fblock("ID=\"1\" Name=\"A\"",
                kFunction + std::string("><OPType ID=\"0\" Colour=\"red\"/></Function>")),
         content, "unknown attribute \"Colour\" on <OPType>", 3},
        {fblock("ID=\"1\" Name=\"A\"",
                "<Function ID=\"1\" Name=\"F\" Kind=\"Property\"><OPType ID=\"7\"/></Function>"),
         content, "OpType 0x7 has no standard name; give Name", 3},
        {fblock("ID=\"1\" Name=\"A\"", "<Blob/>"), content, "unexpected <Blob> in <FBlock>", 3},
        {fblock("ID=\"1\" Name=\"A\"",
                "<Function ID=\"1\" Name=\"F\" Kind=\"Property\"><OPType ID=\"0xC\"/><OPType "
                "ID=\"12\" Name=\"Other\"/></Function>"),
         content, "OpType id 0xC appears twice in \"F\"", 3},
        {fblock("ID=\"1\" Name=\"A\"",
                "\n<Function ID=\"1\" Name=\"F\" Kind=\"Property\"/>\n<Function ID=\"2\" "
                "Name=\"F\" Kind=\"Method\"/>\n"),
         content, "function name \"F\" appears twice in \"A\"", 5},
        {param("<TString MaxLength=\"99999999\"/>"), limit, "MaxLength \"99999999\" is outside", 6},
        {nested(16), limit, "nested deeper than 16", 0},
        {nested(14, kStreamLeaf), limit, "nested deeper than 16", 0},
        {params("<Parameter Name=\"A.B\"><TBool/></Parameter>\n"), content,
         "Name \"A.B\" contains a character", 6},
        {param("<Description>a</Description><Description>b</Description><TBool/>"), content,
         "second <Description>", 6},
        {param("<Attribute Value=\"1\"/><TBool/>"), content, "<Attribute> has no ID", 6},
        {param(""), content, "parameter \"P\" has no type element", 6},
        {params("<Parameter Name=\"S\"><TStream/></Parameter>\n<Parameter Name=\"N\"><TBool/></Parameter>\n"),
         content, "must come last", 6},
        {param("<TEnum><TEnumValue Code=\"1\" Name=\"A\"/><TEnumValue Code=\"1\" Name=\"B\"/></TEnum>"),
         content, "Code 1 appears twice", 6},
        {param("<TEnum><TEnumValue Code=\"256\" Name=\"A\"/></TEnum>"), content, "outside 0 to 255", 6},
        {param("<TBool/><TVoid/>"), content, "exactly one type element", 6},
        {param("<TFloat/>"), content, "unknown type element <TFloat>", 6},
        {param("<TNumber Type=\"UByte\" Min=\"9\" Max=\"3\"/>"), content, "Min is greater than Max", 6},
        {param("<TStream Selector=\"Kind\"><TStreamCase Name=\"A\" Values=\"1\"/></TStream>"), content,
         "not an earlier parameter", 6},
        {param("<TArray><Parameter Name=\"X\"><TBool/></Parameter><Parameter Name=\"Y\"><TBool/></Parameter>"
               "</TArray>"),
         content, "exactly one <Parameter>", 6},
        {param("<Attribute ID=\"1005\" Value=\"1\"/><TBool/>"), content, "is computed", 6},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reason);
        expectRefused(c.text, c.code, c.reason, c.line);
        EXPECT_EQ("8 Infotainment", loaded());
    }
    EXPECT_EQ(QRN_ERR_FILE, load(tmp.path("nothing-here.xml").string()));
    EXPECT_TRUE(logged("does not exist"));
    EXPECT_EQ(QRN_ERR_FILE, load(tmp.path("").string()));
    EXPECT_TRUE(logged("not a regular file"));
    // Sixteen levels are the most.
    EXPECT_EQ(QRN_OK, loadText(nested(15))) << log();
    EXPECT_EQ(QRN_OK, loadText(nested(13, kStreamLeaf))) << log();
}

// Among many functions (long runs are hashed) a repeated id or name is reported at the repeat;
// failed reloads keep the catalog.
TEST_F(QuarnelBadFiles, RepeatsAmongManyFunctionsAreFoundWhereTheyAre) {
    std::string functions = "\n";
    for (int i = 0; i < 300; ++i)
        functions += "<Function ID=\"" + std::to_string(i) + "\" Name=\"F" + std::to_string(i) +
                     "\" Kind=\"Property\"/>\n";
    EXPECT_EQ(QRN_OK, loadText(fblock("ID=\"1\" Name=\"A\"", functions))) << log();
    expectRefused(
        fblock("ID=\"1\" Name=\"A\"", functions + "<Function ID=\"0x111\" Name=\"New\" Kind=\"Method\"/>\n"),
        QRN_ERR_CONTENT, "line 304, column 2: function id 0x111 appears twice in \"A\"");
    expectRefused(
        fblock("ID=\"1\" Name=\"A\"", functions + "<Function ID=\"0x300\" Name=\"F211\" Kind=\"Method\"/>\n"),
        QRN_ERR_CONTENT, "line 304, column 2: function name \"F211\" appears twice in \"A\"");
    EXPECT_EQ("8 Infotainment, Bad", loaded());
}

// Offending text of any length is quoted as a short excerpt followed by its length, so a
// huge value or name cannot blow up the log.
TEST_F(QuarnelBadFiles, HugeTextsAreQuotedAsShortExcerpts) {
    const std::string huge(1000000, 'a'), cut = std::string(64, 'a') + "...", b63(63, 'b');
    const std::string excerpt = "\"" + cut + "\" (1000000 bytes)";
    expectRefused(fblock("ID=\"" + huge + "\" Name=\"A\""), QRN_ERR_CONTENT,
                  "ID " + excerpt + " is not a number");
    expectRefused(fblock("ID=\"1\" Name=\"" + huge + "\""), QRN_ERR_LIMIT,
                  "Name " + excerpt + " is longer than 256 bytes");
    expectRefused(fblock("ID=\"1\" Name=\"A\"", "<" + huge + "/>"), QRN_ERR_CONTENT,
                  "unexpected <" + cut + "> (1000000 bytes) in <FBlock>");
    expectRefused(fblock("ID=\"1\" Name=\"A\"", huge), QRN_ERR_CONTENT,
                  "unexpected text " + excerpt + " in <FBlock>");
    // 64 bytes are quoted whole, 65 not.
    expectRefused(fblock("ID=\"1\" Name=\" " + b63 + "\""), QRN_ERR_CONTENT,
                  "Name \" " + b63 + "\" begins or ends with a space");
    expectRefused(fblock("ID=\"1\" Name=\" " + b63 + "b\""), QRN_ERR_CONTENT,
                  "Name \" " + b63 + "...\" (65 bytes) begins or ends with a space");
    expectRefused(catalog("<Description>&" + huge + ";</Description>\n"), QRN_ERR_XML,
                  "undefined entity \"&" + std::string(63, 'a') + "...\" (1000002 bytes)");
}

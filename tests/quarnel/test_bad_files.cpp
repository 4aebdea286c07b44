// Bad catalog files: refused with a code and a located reason, earlier catalogs untouched.

#include "QuarnelTestSupport.h"

using namespace qtest;

namespace {

std::string catalog(const std::string& fblocks) {
    return "<?xml version=\"1.0\"?>\n<FunctionCatalog Name=\"Bad\">\n" + fblocks + "</FunctionCatalog>\n";
}

std::string fblock(const std::string& params) {
    return "<FBlock ID=\"0x10\" Name=\"Block\">\n<Function ID=\"0x100\" Name=\"Fn\" Kind=\"Property\">\n"
           "<OPType ID=\"0xC\">\n" +
           params + "</OPType>\n</Function>\n</FBlock>\n";
}

std::string nested(int depth) {
    std::string open, close;
    for (int i = 0; i < depth; ++i) {
        open += "<Parameter Name=\"R" + std::to_string(i) + "\"><TRecord>";
        close = "</TRecord></Parameter>" + close;
    }
    return open + "<Parameter Name=\"Leaf\"><TNumber Type=\"UByte\"/></Parameter>" + close + "\n";
}

struct BadCase {
    const char* label;
    std::string text;
    int code;
    const char* reason; // part of the log text
    int line;           // 0: not checked
};

} // namespace

class QuarnelBadFiles : public ManagerTest {
protected:
    void SetUp() override {
        ManagerTest::SetUp();
        ASSERT_EQ(QRN_OK, load(sample("standard.xml")));
    }
    void expectStandardIntact() {
        std::vector<std::string> cats;
        mgr->ListCatalogs(cats, 0);
        EXPECT_EQ((std::vector<std::string>{"Infotainment"}), cats);
        std::vector<IdName> fbs;
        mgr->ListFBlocks(fbs, 0, "Infotainment");
        EXPECT_EQ(8u, fbs.size());
    }
};

TEST_F(QuarnelBadFiles, BrokenFilesAreRefusedWithWhatAndWhere) {
    const BadCase cases[] = {
        {"empty", "", QRN_ERR_XML, "empty", 0},
        {"blank", "  \n\n", QRN_ERR_XML, "empty", 0},
        {"unclosed",
         "<?xml version=\"1.0\"?>\n<FunctionCatalog Name=\"X\">\n  <FBlock ID=\"1\" Name=\"A\">\n",
         QRN_ERR_XML, "not well-formed", 3},
        {"binary", std::string("\x01\x02\xFF\xFE garbage", 12), QRN_ERR_XML, "not well-formed", 0},
        {"wrong root", "<Catalog Name=\"X\"/>", QRN_ERR_CONTENT, "root element is <Catalog>", 1},
        {"no catalog name", "<FunctionCatalog>\n</FunctionCatalog>", QRN_ERR_CONTENT, "has no Name", 1},
        {"duplicate FBlock id", catalog("<FBlock ID=\"0x22\" Name=\"A\"/>\n<FBlock ID=\"34\" Name=\"B\"/>\n"),
         QRN_ERR_CONTENT, "FBlock id 0x22 appears twice", 4},
        {"duplicate FBlock name", catalog("<FBlock ID=\"1\" Name=\"A\"/>\n<FBlock ID=\"2\" Name=\"A\"/>\n"),
         QRN_ERR_CONTENT, "FBlock name A appears twice", 4},
        {"FBlock id too large", catalog("<FBlock ID=\"0x100\" Name=\"A\"/>\n"), QRN_ERR_CONTENT,
         "outside 0 to 255", 3},
        {"negative id", catalog("<FBlock ID=\"-1\" Name=\"A\"/>\n"), QRN_ERR_CONTENT, "outside", 3},
        {"id not a number", catalog("<FBlock ID=\"twelve\" Name=\"A\"/>\n"), QRN_ERR_CONTENT, "not a number",
         3},
        {"missing function name",
         catalog("<FBlock ID=\"1\" Name=\"A\">\n  <Function ID=\"1\" Kind=\"Method\"/>\n</FBlock>\n"),
         QRN_ERR_CONTENT, "<Function> has no Name", 4},
        {"bad kind",
         catalog("<FBlock ID=\"1\" Name=\"A\"><Function ID=\"1\" Name=\"F\" Kind=\"Event\"/></FBlock>\n"),
         QRN_ERR_CONTENT, "Kind must be", 3},
        {"unknown element", catalog("<FBlock ID=\"1\" Name=\"A\"><Blob/></FBlock>\n"), QRN_ERR_CONTENT,
         "unexpected <Blob> in <FBlock>", 3},
        {"unknown attribute", catalog("<FBlock ID=\"1\" Name=\"A\" Colour=\"red\"/>\n"), QRN_ERR_CONTENT,
         "unknown attribute Colour", 3},
        {"stray text", catalog("<FBlock ID=\"1\" Name=\"A\">words</FBlock>\n"), QRN_ERR_CONTENT,
         "unexpected text", 3},
        {"dotted name", catalog("<FBlock ID=\"1\" Name=\"A.B\"/>\n"), QRN_ERR_CONTENT, "contains a character",
         3},
        {"absurd length",
         catalog(fblock("<Parameter Name=\"S\"><TString MaxLength=\"99999999\"/></Parameter>\n")),
         QRN_ERR_LIMIT, "MaxLength 99999999 is outside", 6},
        {"deep nesting", catalog(fblock(nested(20))), QRN_ERR_LIMIT, "nested deeper than 16", 0},
        {"stream not last",
         catalog(fblock("<Parameter Name=\"S\"><TStream/></Parameter>\n<Parameter Name=\"N\"><TNumber "
                        "Type=\"UByte\"/></Parameter>\n")),
         QRN_ERR_CONTENT, "must come last", 6},
        {"duplicate enum code",
         catalog(
             fblock("<Parameter Name=\"E\"><TEnum><TEnumValue Code=\"1\" Name=\"A\"/><TEnumValue Code=\"1\" "
                    "Name=\"B\"/></TEnum></Parameter>\n")),
         QRN_ERR_CONTENT, "Code 1 appears twice", 6},
        {"enum code beyond size",
         catalog(fblock(
             "<Parameter Name=\"E\"><TEnum><TEnumValue Code=\"256\" Name=\"A\"/></TEnum></Parameter>\n")),
         QRN_ERR_CONTENT, "outside 0 to 255", 6},
        {"two types", catalog(fblock("<Parameter Name=\"P\"><TBool/><TVoid/></Parameter>\n")),
         QRN_ERR_CONTENT, "exactly one type element", 6},
        {"unknown type", catalog(fblock("<Parameter Name=\"P\"><TFloat/></Parameter>\n")), QRN_ERR_CONTENT,
         "unknown type element <TFloat>", 6},
        {"min above max",
         catalog(fblock("<Parameter Name=\"P\"><TNumber Type=\"UByte\" Min=\"9\" Max=\"3\"/></Parameter>\n")),
         QRN_ERR_CONTENT, "Min is greater than Max", 6},
        {"selector missing",
         catalog(
             fblock("<Parameter Name=\"S\"><TStream Selector=\"Kind\"><TStreamCase Name=\"A\" Values=\"1\"/>"
                    "<TStreamCase Name=\"B\" Values=\"2\"/></TStream></Parameter>\n")),
         QRN_ERR_CONTENT, "not an earlier parameter", 6},
        {"array element count",
         catalog(fblock("<Parameter Name=\"A\"><TArray><Parameter Name=\"X\"><TBool/></Parameter><Parameter "
                        "Name=\"Y\"><TBool/></Parameter></TArray></Parameter>\n")),
         QRN_ERR_CONTENT, "exactly one <Parameter>", 6},
        {"computed attribute",
         catalog(fblock("<Parameter Name=\"P\"><Attribute ID=\"1005\" Value=\"1\"/><TBool/></Parameter>\n")),
         QRN_ERR_CONTENT, "is computed", 6},
    };
    for (const BadCase& c : cases) {
        SCOPED_TRACE(c.label);
        const auto file = tmp.path("bad.xml");
        writeFile(file, c.text);
        std::string name = "untouched";
        EXPECT_EQ(c.code, mgr->LoadFCat(file.string(), QRN_LOAD_REPLACE, name, QRN_LOG_REWRITE, logPath()));
        const std::string log = readFile(logPath());
        EXPECT_NE(std::string::npos, log.find(c.reason)) << log;
        if (c.line) {
            EXPECT_NE(std::string::npos, log.find("line " + std::to_string(c.line) + ", column")) << log;
        }
        expectStandardIntact();
    }
}

TEST_F(QuarnelBadFiles, DuplicateIdsInsideFunctionsAreRefused) {
    const auto file = tmp.path("dup.xml");
    writeFile(file,
              catalog("<FBlock ID=\"1\" Name=\"A\">\n<Function ID=\"1\" Name=\"F\" Kind=\"Property\">\n"
                      "<OPType ID=\"0xC\"/>\n<OPType ID=\"12\" Name=\"Other\"/>\n</Function>\n</FBlock>\n"));
    EXPECT_EQ(QRN_ERR_CONTENT, load(file.string()));
    EXPECT_NE(std::string::npos, readFile(logPath()).find("OpType id 0xC appears twice in F"));
    writeFile(file,
              catalog("<FBlock ID=\"1\" Name=\"A\">\n<Function ID=\"1\" Name=\"F\" Kind=\"Property\"/>\n"
                      "<Function ID=\"2\" Name=\"F\" Kind=\"Method\"/>\n</FBlock>\n"));
    EXPECT_EQ(QRN_ERR_CONTENT, load(file.string()));
    EXPECT_NE(std::string::npos,
              readFile(logPath()).find("line 5, column 2: function name F appears twice in A"));
    expectStandardIntact();
}

TEST_F(QuarnelBadFiles, MissingFilesAndFoldersAndFailedReloads) {
    EXPECT_EQ(QRN_ERR_FILE, load(tmp.path("nothing-here.xml").string()));
    EXPECT_NE(std::string::npos, readFile(logPath()).find("does not exist"));
    EXPECT_EQ(QRN_ERR_FILE, load(tmp.path("").string()));
    EXPECT_NE(std::string::npos, readFile(logPath()).find("not a regular file"));
    expectStandardIntact();

    // A catalog whose file turns bad stays loaded as it was.
    const auto file = tmp.path("cat.xml");
    writeFile(file, readFile(sample("single.xml")));
    ASSERT_EQ(QRN_OK, load(file.string()));
    writeFile(file, "<FunctionCatalog Name=\"Diagnosis\"><FBlock");
    EXPECT_EQ(QRN_ERR_XML, load(file.string()));
    std::vector<IdName> fbs;
    mgr->ListFBlocks(fbs, 0, "Diagnosis");
    EXPECT_EQ((std::vector<std::string>{"Diagnosis"}), names(fbs));
}

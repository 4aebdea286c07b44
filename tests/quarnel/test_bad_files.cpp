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

// The leaf inside `depth` records.
std::string
nested(int depth,
       const std::string& leaf = "<Parameter Name=\"Leaf\"><TNumber Type=\"UByte\"/></Parameter>") {
    std::string open, close;
    for (int i = 0; i < depth; ++i) {
        open += "<Parameter Name=\"R" + std::to_string(i) + "\"><TRecord>";
        close = "</TRecord></Parameter>" + close;
    }
    return open + leaf + close + "\n";
}

// A stream and its case are two levels above the case's parameters.
const char kStreamLeaf[] = "<Parameter Name=\"S\"><TStream><TStreamCase Name=\"C\"><Parameter Name=\"Leaf\">"
                           "<TBool/></Parameter></TStreamCase></TStream></Parameter>";

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
    // After a good load of runs.xml or many.xml, failed reloads of it keep it.
    void expectLoadedKept() {
        std::vector<std::string> cats;
        mgr->ListCatalogs(cats, 0);
        EXPECT_EQ((std::vector<std::string>{"Infotainment", "Bad"}), cats);
    }
};

TEST_F(QuarnelBadFiles, BrokenFilesAreRefusedWithWhatAndWhere) {
    const BadCase cases[] = {
        {"empty", "", QRN_ERR_XML, "empty", 0},
        {"blank", "  \n\n", QRN_ERR_XML, "empty", 0},
        {"unclosed",
         "<?xml version=\"1.0\"?>\n<FunctionCatalog Name=\"X\">\n  <FBlock ID=\"1\" Name=\"A\">\n",
         QRN_ERR_XML, "not well-formed", 3},
        {"binary", std::string("\x01\x02\xFF\xFE garbage", 12), QRN_ERR_XML, "U+0001 is not allowed", 1},
        {"wrong root", "<Catalog Name=\"X\"/>", QRN_ERR_CONTENT, "root element is <Catalog>", 1},
        {"no catalog name", "<FunctionCatalog>\n</FunctionCatalog>", QRN_ERR_CONTENT, "has no Name", 1},
        {"duplicate FBlock id", catalog("<FBlock ID=\"0x22\" Name=\"A\"/>\n<FBlock ID=\"34\" Name=\"B\"/>\n"),
         QRN_ERR_CONTENT, "FBlock id 0x22 appears twice", 4},
        {"duplicate FBlock name", catalog("<FBlock ID=\"1\" Name=\"A\"/>\n<FBlock ID=\"2\" Name=\"A\"/>\n"),
         QRN_ERR_CONTENT, "FBlock name \"A\" appears twice", 4},
        {"FBlock id too large", catalog("<FBlock ID=\"0x100\" Name=\"A\"/>\n"), QRN_ERR_CONTENT,
         "outside 0 to 255", 3},
        {"largest hexadecimal number", catalog("<FBlock ID=\"0x7FFFFFFFFFFFFFFF\" Name=\"A\"/>\n"),
         QRN_ERR_CONTENT, "ID \"0x7FFFFFFFFFFFFFFF\" is outside 0 to 255", 3},
        {"largest decimal number", catalog("<FBlock ID=\"9223372036854775807\" Name=\"A\"/>\n"),
         QRN_ERR_CONTENT, "ID \"9223372036854775807\" is outside 0 to 255", 3},
        {"number beyond 64 bits", catalog("<FBlock ID=\"18446744073709551617\" Name=\"A\"/>\n"),
         QRN_ERR_CONTENT, "ID \"18446744073709551617\" is not a number", 3},
        {"bad hexadecimal digit", catalog("<FBlock ID=\"0x1G\" Name=\"A\"/>\n"), QRN_ERR_CONTENT,
         "ID \"0x1G\" is not a number", 3},
        {"negative instance", catalog("<FBlock ID=\"1\" Name=\"A\" Instances=\"1 -2\"/>\n"), QRN_ERR_CONTENT,
         "Instances holds \"-2\", not an instance id 0 to 0xFF", 3},
        {"negative id", catalog("<FBlock ID=\"-1\" Name=\"A\"/>\n"), QRN_ERR_CONTENT, "outside", 3},
        {"id not a number", catalog("<FBlock ID=\"twelve\" Name=\"A\"/>\n"), QRN_ERR_CONTENT, "not a number",
         3},
        {"missing function name",
         catalog("<FBlock ID=\"1\" Name=\"A\">\n  <Function ID=\"1\" Kind=\"Method\"/>\n</FBlock>\n"),
         QRN_ERR_CONTENT, "<Function> has no Name", 4},
        {"bad kind",
         catalog("<FBlock ID=\"1\" Name=\"A\"><Function ID=\"1\" Name=\"F\" Kind=\"Event\"/></FBlock>\n"),
         QRN_ERR_CONTENT, "Kind must be", 3},
        {"text in a function",
         catalog("<FBlock ID=\"1\" Name=\"A\"><Function ID=\"1\" Name=\"F\" Kind=\"Method\">words</Function>"
                 "</FBlock>\n"),
         QRN_ERR_CONTENT, "unexpected text \"words\" in <Function>", 3},
        {"unknown attribute on an OpType",
         catalog("<FBlock ID=\"1\" Name=\"A\"><Function ID=\"1\" Name=\"F\" Kind=\"Method\"><OPType ID=\"0\" "
                 "Colour=\"red\"/></Function></FBlock>\n"),
         QRN_ERR_CONTENT, "unknown attribute \"Colour\" on <OPType>", 3},
        {"OpType without a standard name",
         catalog("<FBlock ID=\"1\" Name=\"A\"><Function ID=\"1\" Name=\"F\" Kind=\"Property\"><OPType "
                 "ID=\"7\"/></Function></FBlock>\n"),
         QRN_ERR_CONTENT, "OpType 0x7 has no standard name; give Name", 3},
        {"unknown element", catalog("<FBlock ID=\"1\" Name=\"A\"><Blob/></FBlock>\n"), QRN_ERR_CONTENT,
         "unexpected <Blob> in <FBlock>", 3},
        {"unknown attribute", catalog("<FBlock ID=\"1\" Name=\"A\" Colour=\"red\"/>\n"), QRN_ERR_CONTENT,
         "unknown attribute \"Colour\" on <FBlock>", 3},
        {"stray text", catalog("<FBlock ID=\"1\" Name=\"A\">words</FBlock>\n"), QRN_ERR_CONTENT,
         "unexpected text \"words\" in <FBlock>", 3},
        {"dotted name", catalog("<FBlock ID=\"1\" Name=\"A.B\"/>\n"), QRN_ERR_CONTENT, "contains a character",
         3},
        {"absurd length",
         catalog(fblock("<Parameter Name=\"S\"><TString MaxLength=\"99999999\"/></Parameter>\n")),
         QRN_ERR_LIMIT, "MaxLength \"99999999\" is outside", 6},
        {"deep nesting", catalog(fblock(nested(16))), QRN_ERR_LIMIT, "nested deeper than 16", 0},
        {"deep nesting in a stream case", catalog(fblock(nested(14, kStreamLeaf))), QRN_ERR_LIMIT,
         "nested deeper than 16", 0},
        {"parameter name with a dot", catalog(fblock("<Parameter Name=\"A.B\"><TBool/></Parameter>\n")),
         QRN_ERR_CONTENT, "Name \"A.B\" contains a character", 6},
        {"second parameter description",
         catalog(
             fblock("<Parameter Name=\"P\"><Description>a</Description><Description>b</Description><TBool/>"
                    "</Parameter>\n")),
         QRN_ERR_CONTENT, "second <Description>", 6},
        {"attribute without an id",
         catalog(fblock("<Parameter Name=\"P\"><Attribute Value=\"1\"/><TBool/></Parameter>\n")),
         QRN_ERR_CONTENT, "<Attribute> has no ID", 6},
        {"parameter without a type", catalog(fblock("<Parameter Name=\"P\"/>\n")), QRN_ERR_CONTENT,
         "parameter \"P\" has no type element", 6},
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
    // Sixteen levels are the most.
    for (const std::string& deepest : {nested(15), nested(13, kStreamLeaf)}) {
        writeFile(tmp.path("bad.xml"), catalog(fblock(deepest)));
        EXPECT_EQ(QRN_OK, load(tmp.path("bad.xml").string())) << readFile(logPath());
    }
}

TEST_F(QuarnelBadFiles, DuplicateIdsInsideFunctionsAreRefused) {
    const auto file = tmp.path("dup.xml");
    writeFile(file,
              catalog("<FBlock ID=\"1\" Name=\"A\">\n<Function ID=\"1\" Name=\"F\" Kind=\"Property\">\n"
                      "<OPType ID=\"0xC\"/>\n<OPType ID=\"12\" Name=\"Other\"/>\n</Function>\n</FBlock>\n"));
    EXPECT_EQ(QRN_ERR_CONTENT, load(file.string()));
    EXPECT_NE(std::string::npos, readFile(logPath()).find("OpType id 0xC appears twice in \"F\""));
    writeFile(file,
              catalog("<FBlock ID=\"1\" Name=\"A\">\n<Function ID=\"1\" Name=\"F\" Kind=\"Property\"/>\n"
                      "<Function ID=\"2\" Name=\"F\" Kind=\"Method\"/>\n</FBlock>\n"));
    EXPECT_EQ(QRN_ERR_CONTENT, load(file.string()));
    EXPECT_NE(std::string::npos,
              readFile(logPath()).find("line 5, column 2: function name \"F\" appears twice in \"A\""));
    expectStandardIntact();
}

// Repeats are found wherever they are in a run, short or long (long runs are hashed), and
// equal names in sibling or nested runs are no repeats.
TEST_F(QuarnelBadFiles, RepeatsInShortAndLongRunsAreFoundWhereTheyAre) {
    auto params = [](const char* prefix, int count, const std::string& type) {
        std::string out;
        for (int i = 0; i < count; ++i)
            out += "<Parameter Name=\"" + std::string(prefix) + std::to_string(i) + "\">" + type +
                   "</Parameter>\n";
        return out;
    };
    auto attributes = [](int count) {
        std::string out;
        for (int i = 0; i < count; ++i)
            out += "<Attribute ID=\"" + std::to_string(2000 + i) + "\" Value=\"1\"/>";
        return out;
    };
    auto stream = [](int count) {
        std::string out = "<Parameter Name=\"Sel\"><TNumber Type=\"UWord\"/></Parameter>\n"
                          "<Parameter Name=\"S\"><TStream Selector=\"Sel\">";
        for (int i = 0; i < count; ++i)
            out += "<TStreamCase Name=\"C" + std::to_string(i) + "\" Values=\"" + std::to_string(i) + "\"/>";
        return out;
    };
    const auto file = tmp.path("runs.xml");
    for (int count : {5, 40}) {
        SCOPED_TRACE(count);
        const std::string record = "<TRecord>" + params("P", count, "<TBool/>") + "</TRecord>";
        writeFile(file,
                  catalog(fblock(params("P", count, record) + params("Q", 1, attributes(count) + "<TBool/>") +
                                 stream(count) + "</TStream></Parameter>\n")));
        EXPECT_EQ(QRN_OK, load(file.string())) << readFile(logPath());

        // The OPType's content begins on line 6.
        const struct {
            const char* label;
            std::string params;
            std::string reason;
        } cases[] = {
            {"parameter", params("P", count, "<TBool/>") + "<Parameter Name=\"P3\"><TBool/></Parameter>\n",
             "line " + std::to_string(6 + count) + ", column 2: parameter name \"P3\" appears twice"},
            {"attribute",
             "<Parameter Name=\"A\">\n" + attributes(count) +
                 "\n<Attribute ID=\"2003\" Value=\"2\"/><TBool/></Parameter>\n",
             "line 8, column 2: attribute 2003 appears twice"},
            {"stream case", stream(count) + "\n<TStreamCase Name=\"C3\"/></TStream></Parameter>\n",
             "line 8, column 2: stream case \"C3\" appears twice"},
        };
        for (const auto& c : cases) {
            SCOPED_TRACE(c.label);
            writeFile(file, catalog(fblock(c.params)));
            EXPECT_EQ(QRN_ERR_CONTENT, load(file.string()));
            const std::string log = readFile(logPath());
            EXPECT_NE(std::string::npos, log.find(c.reason)) << log;
        }
    }
    expectLoadedKept();
}

// An FBlock with many functions: a repeated id or name is reported at the repeat.
TEST_F(QuarnelBadFiles, RepeatedFunctionsAmongManyAreReportedAtTheRepeat) {
    std::string functions;
    for (int i = 0; i < 300; ++i)
        functions += "<Function ID=\"" + std::to_string(i) + "\" Name=\"F" + std::to_string(i) +
                     "\" Kind=\"Property\"/>\n";
    const auto file = tmp.path("many.xml");
    writeFile(file, catalog("<FBlock ID=\"1\" Name=\"A\">\n" + functions + "</FBlock>\n"));
    EXPECT_EQ(QRN_OK, load(file.string())) << readFile(logPath());
    for (const std::string& extra : {std::string("<Function ID=\"0x111\" Name=\"New\" Kind=\"Method\"/>"),
                                     std::string("<Function ID=\"0x300\" Name=\"F211\" Kind=\"Method\"/>")}) {
        writeFile(file, catalog("<FBlock ID=\"1\" Name=\"A\">\n" + functions + extra + "\n</FBlock>\n"));
        EXPECT_EQ(QRN_ERR_CONTENT, load(file.string()));
        const std::string log = readFile(logPath());
        EXPECT_NE(std::string::npos, log.find("line 304, column 2: function")) << log;
        EXPECT_NE(std::string::npos, log.find(extra.find("New") != std::string::npos
                                                  ? "function id 0x111 appears twice in \"A\""
                                                  : "function name \"F211\" appears twice in \"A\""))
            << log;
    }
    expectLoadedKept();
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

// Offending text of any length is quoted as a short excerpt followed by its length, so a
// huge value or name cannot blow up the log.
TEST_F(QuarnelBadFiles, HugeTextsAreQuotedAsShortExcerpts) {
    const std::string huge(1000000, 'a');
    const std::string cut = std::string(64, 'a') + "...";
    const std::string excerpt = "\"" + cut + "\" (1000000 bytes)";
    const struct {
        const char* label;
        std::string text;
        int code;
        std::string message;
    } cases[] = {
        {"value", catalog("<FBlock ID=\"" + huge + "\" Name=\"A\"/>\n"), QRN_ERR_CONTENT,
         "ID " + excerpt + " is not a number"},
        {"name", catalog("<FBlock ID=\"1\" Name=\"" + huge + "\"/>\n"), QRN_ERR_LIMIT,
         "Name " + excerpt + " is longer than 256 bytes"},
        {"element name", catalog("<FBlock ID=\"1\" Name=\"A\"><" + huge + "/></FBlock>\n"), QRN_ERR_CONTENT,
         "unexpected <" + cut + "> (1000000 bytes) in <FBlock>"},
        {"text", catalog("<FBlock ID=\"1\" Name=\"A\">" + huge + "</FBlock>\n"), QRN_ERR_CONTENT,
         "unexpected text " + excerpt + " in <FBlock>"},
        {"64 bytes, quoted whole", catalog("<FBlock ID=\"1\" Name=\" " + std::string(63, 'b') + "\"/>\n"),
         QRN_ERR_CONTENT, "Name \" " + std::string(63, 'b') + "\" begins or ends with a space"},
        {"65 bytes", catalog("<FBlock ID=\"1\" Name=\" " + std::string(64, 'b') + "\"/>\n"), QRN_ERR_CONTENT,
         "Name \" " + std::string(63, 'b') + "...\" (65 bytes) begins or ends with a space"},
        {"entity", catalog("<Description>&" + huge + ";</Description>\n"), QRN_ERR_XML,
         "undefined entity \"&" + std::string(63, 'a') + "...\" (1000002 bytes)"},
    };
    const auto file = tmp.path("huge.xml");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        writeFile(file, c.text);
        EXPECT_EQ(c.code, load(file.string()));
        const std::string log = readFile(logPath());
        EXPECT_NE(std::string::npos, log.find(c.message)) << log.substr(0, 1000);
        EXPECT_LT(log.size(), 1000u);
    }
    // The release text a loaded catalog reports is bounded the same way.
    writeFile(file,
              "<FunctionCatalog Name=\"Big\"><CatalogVersion Release=\"" + huge + "\"/></FunctionCatalog>");
    ASSERT_EQ(QRN_OK, load(file.string()));
    const std::string log = readFile(logPath());
    EXPECT_NE(std::string::npos, log.find("loaded catalog \"Big\" (release " + excerpt + ")"))
        << log.substr(0, 1000);
    EXPECT_LT(log.size(), 1000u);
}

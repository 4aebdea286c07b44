// Synthetic catalogs: they load, have the asked-for size and use every type; the program's
// command line.

#include "CatalogGenerator.h"
#include "QuarnelTestSupport.h"

#include <cstdlib>
#include <set>
#ifndef _WIN32
#include <sys/wait.h>
#endif

using namespace qtest;

using QuarnelGenerator = ManagerTest;

TEST_F(QuarnelGenerator, GeneratedCatalogsLoadWithTheAskedForCountsAndSize) {
    quarnel_gen::GenOptions o;
    o.fblocks = 3;
    o.functionsPerFBlock = 40;
    o.seed = 7;
    o.catalogName = "Gen";
    const std::string text = quarnel_gen::generateCatalog(o);
    EXPECT_EQ(text, quarnel_gen::generateCatalog(o)) << "deterministic";
    o.seed = 8;
    EXPECT_NE(text, quarnel_gen::generateCatalog(o));
    ASSERT_EQ(QRN_OK, loadText(text)) << log();
    std::vector<IdName> fbs, fns;
    mgr->ListFBlocks(fbs, 0, "Gen");
    ASSERT_EQ(3u, fbs.size());
    for (const IdName& fb : fbs) {
        mgr->ListFunctions(fns, 0, "Gen", fb.id, QRN_ANY_INSTANCE);
        EXPECT_EQ(40u, fns.size());
    }
    std::set<int> types;
    visitNodes("Gen", 0, [&](KQRNNode* n) { types.insert(n->GetType()); });
    EXPECT_EQ(15u, types.size()) << "every type code 0 to 14";

    const std::size_t target = 1u << 20;
    const std::string big = quarnel_gen::generateCatalog(quarnel_gen::optionsForSize(target));
    EXPECT_GT(big.size(), target * 8 / 10);
    EXPECT_LT(big.size(), target * 12 / 10);
    ASSERT_TRUE(quarnel_gen::writeCatalogFile(tmp.path("big.xml").string(), big));
    EXPECT_EQ(QRN_OK, load(tmp.path("big.xml").string()));
}

// More FBlocks than one catalog's one-byte ids: each catalog gives its FBlocks other names.
TEST_F(QuarnelGenerator, FBlocksSpreadOverCatalogsHaveNamesOfTheirOwn) {
    std::set<std::string> names;
    std::size_t catalogs = 0;
    for (const auto& o : quarnel_gen::spreadOverCatalogs(600, 1)) {
        ASSERT_EQ(QRN_OK, loadText(quarnel_gen::generateCatalog(o), o.catalogName + ".xml")) << log();
        std::vector<IdName> fbs;
        mgr->ListFBlocks(fbs, 0, o.catalogName);
        EXPECT_EQ(fbs.size(), catalogs++ < 2 ? 250u : 100u) << o.catalogName;
        for (const IdName& fb : fbs)
            names.insert(fb.name);
    }
    EXPECT_EQ(catalogs, 3u);
    EXPECT_EQ(names.size(), 600u);
}

namespace {
struct GenRun {
    int exit;
    std::string out, err;
};

// The program's text output with its line ends as "\n": on Windows the C runtime writes "\r\n".
std::string outputText(const std::filesystem::path& file) {
    std::string text = readFile(file);
#ifdef _WIN32
    std::string lf;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) lf += text[i];
    text = lf;
#endif
    return text;
}

// Runs the program in `dir` through the command interpreter, its output captured beside it.
// The arguments and paths hold no quotes or characters the interpreter expands.
GenRun runGenerator(const std::filesystem::path& dir, const std::vector<std::string>& args) {
    const auto out = dir.parent_path() / "stdout.txt", err = dir.parent_path() / "stderr.txt";
    auto quoted = [](const std::filesystem::path& s) { return "\"" + s.string() + "\""; };
    std::string command = quoted(std::filesystem::path(QUARNEL_GEN).make_preferred());
    for (const std::string& a : args)
        command += " " + quoted(a);
    command += " >" + quoted(out) + " 2>" + quoted(err);
#ifdef _WIN32
    // cmd.exe takes off the quotes around the whole line.
    const int exit = std::system(("\"cd /d " + quoted(dir) + " && " + command + "\"").c_str());
#else
    const int status = std::system(("cd " + quoted(dir) + " && " + command).c_str());
    const int exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
    return {exit, outputText(out), outputText(err)};
}
} // namespace

// Help goes to stdout; an unknown option, a missing or bad value or a missing file name is a
// one-line error and the usage on stderr, exit 2, and no file is written.
TEST_F(QuarnelGenerator, CommandLineOptionsAreNeverFileNames) {
    const auto dir = tmp.path("run");
    std::filesystem::create_directories(dir);
    for (const char* help : {"--help", "-h"}) {
        const GenRun r = runGenerator(dir, {help});
        EXPECT_EQ(0, r.exit) << help;
        EXPECT_EQ(0u, r.out.find("usage: quarnel-gen")) << r.out;
        EXPECT_EQ("", r.err);
    }
    const struct {
        std::vector<std::string> args;
        const char* error;
    } refused[] = {
        {{"out.xml", "--bogus"}, "unknown option --bogus"},
        {{"-x", "out.xml"}, "unknown option -x"},
        {{"out.xml", "--size"}, "--size needs a value"},
        {{"out.xml", "--size", "big"}, "--size takes megabytes above 0, not big"},
        {{"out.xml", "--fblocks", "0"}, "--fblocks takes 1 to 256, not 0"},
        {{"--fblocks", "2"}, "no output file"},
        {{"a.xml", "b.xml"}, "more than one output file: a.xml and b.xml"},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.error);
        const GenRun r = runGenerator(dir, c.args);
        EXPECT_EQ(2, r.exit);
        EXPECT_EQ("", r.out);
        EXPECT_EQ(0u, r.err.find(std::string("quarnel-gen: ") + c.error + "\nusage: quarnel-gen")) << r.err;
    }
    EXPECT_TRUE(std::filesystem::is_empty(dir)) << "no file written";

    const GenRun made = runGenerator(dir, {"--fblocks", "2", "--functions", "3", "--", "-odd.xml"});
    EXPECT_EQ(0, made.exit) << made.err;
    ASSERT_EQ(QRN_OK, load((dir / "-odd.xml").string())) << log();
    std::vector<IdName> fbs;
    mgr->ListFBlocks(fbs, 0, "Synthetic");
    EXPECT_EQ(2u, fbs.size());
}

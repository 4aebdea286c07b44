// Synthetic catalogs: they load, have the asked-for size and use every type; the program's
// command line.

#include "CatalogGenerator.h"
#include "QuarnelTestSupport.h"

#include <cstdlib>
#include <set>
#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <sys/wait.h>
#endif

using namespace qtest;

using QuarnelGenerator = ManagerTest;

TEST_F(QuarnelGenerator, GeneratedCatalogsLoadWithTheAskedForCounts) {
    quarnel_gen::GenOptions o;
    o.fblocks = 3;
    o.functionsPerFBlock = 40;
    o.seed = 7;
    o.catalogName = "Gen";
    const std::string text = quarnel_gen::generateCatalog(o);
    EXPECT_EQ(text, quarnel_gen::generateCatalog(o)) << "deterministic";
    o.seed = 8;
    EXPECT_NE(text, quarnel_gen::generateCatalog(o));

    const auto file = tmp.path("gen.xml");
    ASSERT_TRUE(quarnel_gen::writeCatalogFile(file.string(), text));
    std::string name;
    ASSERT_EQ(QRN_OK, load(file.string(), &name)) << readFile(logPath());
    EXPECT_EQ("Gen", name);
    std::vector<IdName> fbs, fns, ops;
    mgr->ListFBlocks(fbs, 0, "Gen");
    ASSERT_EQ(3u, fbs.size());
    std::set<int> types;
    for (const IdName& fb : fbs) {
        mgr->ListFunctions(fns, 0, "Gen", fb.id, QRN_ANY_INSTANCE);
        EXPECT_EQ(40u, fns.size());
        for (const IdName& fn : fns) {
            mgr->ListOpTypes(ops, 0, "Gen", fb.id, QRN_ANY_INSTANCE, fn.id);
            for (const IdName& op : ops) {
                std::unique_ptr<KQRNMessageContainer> c(
                    mgr->GetMessageContainer(0, "Gen", fb.id, QRN_ANY_INSTANCE, fn.id, op.id, 1));
                std::vector<KQRNNode*> ns;
                c->GetNodes(ns);
                std::vector<KQRNNode*> stack = ns;
                while (!stack.empty()) {
                    KQRNNode* n = stack.back();
                    stack.pop_back();
                    types.insert(n->GetType());
                    for (KQRNNode* ch : children(n))
                        stack.push_back(ch);
                }
            }
        }
    }
    EXPECT_EQ(15u, types.size()) << "every type code 0 to 14";
}

// More FBlocks than one catalog's one-byte ids: each catalog gives its FBlocks other names.
TEST_F(QuarnelGenerator, FBlocksSpreadOverCatalogsHaveNamesOfTheirOwn) {
    std::set<std::string> names;
    size_t catalogs = 0;
    for (const auto& o : quarnel_gen::spreadOverCatalogs(600, 1)) {
        const auto file = tmp.path(o.catalogName + ".xml");
        ASSERT_TRUE(quarnel_gen::writeCatalogFile(file.string(), quarnel_gen::generateCatalog(o)));
        std::string name;
        ASSERT_EQ(QRN_OK, load(file.string(), &name)) << readFile(logPath());
        std::vector<IdName> fbs;
        mgr->ListFBlocks(fbs, 0, name);
        EXPECT_EQ(fbs.size(), catalogs < 2 ? 250u : 100u) << name;
        for (const IdName& fb : fbs)
            names.insert(fb.name);
        ++catalogs;
    }
    EXPECT_EQ(catalogs, 3u);
    EXPECT_EQ(names.size(), 600u);
}

TEST_F(QuarnelGenerator, SizeTargetIsMetClosely) {
    const std::size_t target = 1u << 20;
    const std::string text = quarnel_gen::generateCatalog(quarnel_gen::optionsForSize(target));
    EXPECT_GT(text.size(), target * 8 / 10);
    EXPECT_LT(text.size(), target * 12 / 10);
    const auto file = tmp.path("big.xml");
    ASSERT_TRUE(quarnel_gen::writeCatalogFile(file.string(), text));
    EXPECT_EQ(QRN_OK, load(file.string()));
}

namespace {
struct GenRun {
    int exit;
    std::string out, err;
};

#ifdef _WIN32
// One argument as the C runtime splits a command line: in quotes, a quote escaped, and the
// backslashes before a quote or the closing quote doubled.
std::wstring quotedArgument(const std::wstring& s) {
    std::wstring q = L"\"";
    std::size_t backslashes = 0;
    for (wchar_t c : s) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        q.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
        backslashes = 0;
        q += c;
    }
    q.append(2 * backslashes, L'\\');
    return q + L"\"";
}

// Runs the program in `dir` with its output in the two files; its exit code, -1 when it did not
// start.
int runProgram(const std::filesystem::path& dir, const std::vector<std::string>& args,
               const std::filesystem::path& out, const std::filesystem::path& err) {
    std::wstring command = quotedArgument(std::filesystem::path(QUARNEL_GEN).wstring());
    for (const std::string& a : args)
        command += L" " + quotedArgument(std::filesystem::path(a).wstring());
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    auto create = [&](const std::filesystem::path& file) {
        return CreateFileW(file.wstring().c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    };
    HANDLE outFile = create(out), errFile = create(err);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = outFile;
    startup.hStdError = errFile;
    PROCESS_INFORMATION process{};
    DWORD exitCode = static_cast<DWORD>(-1);
    if (outFile != INVALID_HANDLE_VALUE && errFile != INVALID_HANDLE_VALUE &&
        CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, dir.wstring().c_str(),
                       &startup, &process)) {
        WaitForSingleObject(process.hProcess, INFINITE);
        GetExitCodeProcess(process.hProcess, &exitCode);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    if (outFile != INVALID_HANDLE_VALUE) CloseHandle(outFile);
    if (errFile != INVALID_HANDLE_VALUE) CloseHandle(errFile);
    return static_cast<int>(exitCode);
}
#else
std::string shellQuoted(const std::string& s) {
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

int runProgram(const std::filesystem::path& dir, const std::vector<std::string>& args,
               const std::filesystem::path& out, const std::filesystem::path& err) {
    std::string command = "cd " + shellQuoted(dir.string()) + " && " + shellQuoted(QUARNEL_GEN);
    for (const std::string& a : args)
        command += " " + shellQuoted(a);
    command += " >" + shellQuoted(out.string()) + " 2>" + shellQuoted(err.string());
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
#endif

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

// Runs the program in `dir`, its output captured beside it.
GenRun runGenerator(const std::filesystem::path& dir, const std::vector<std::string>& args) {
    const auto out = dir.parent_path() / "stdout.txt", err = dir.parent_path() / "stderr.txt";
    const int exit = runProgram(dir, args, out, err);
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
        {{"out.xml", "--fblocks", "2", "--functions"}, "--functions needs a value"},
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
    std::string name;
    ASSERT_EQ(QRN_OK, load((dir / "-odd.xml").string(), &name)) << readFile(logPath());
    std::vector<IdName> fbs;
    mgr->ListFBlocks(fbs, 0, name);
    EXPECT_EQ(2u, fbs.size());
}

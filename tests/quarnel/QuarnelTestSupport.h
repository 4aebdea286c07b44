#pragma once
// Shared helpers of the catalog library tests.

#include "Quarnel.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace qtest {

std::string sample(const char* file);
std::string readFile(const std::filesystem::path& path);
void writeFile(const std::filesystem::path& path, const std::string& text);
// A path as the bytes of a narrow file name (the ANSI code page on Windows), with a separator at
// the end if it has one; files named so are read and written through the narrow functions.
std::string nativeName(const std::filesystem::path& path);
bool writeNamedFile(const std::string& name, const std::string& text);
std::string readNamedFile(const std::string& name);

// A fresh directory per test, removed afterwards.
class TempDir {
public:
    TempDir();
    ~TempDir();
    std::filesystem::path path(const std::string& name) const { return dir_ / name; }

private:
    std::filesystem::path dir_;
};

// One manager per test, destroyed afterwards.
class ManagerTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override {
        if (handle) gQRNDestroyFCatManager(handle);
    }
    // Loads a file (mode replace, log into the temp dir); returns the result code.
    int load(const std::string& file, std::string* catalog = nullptr);
    // Writes text as a file of the temp dir and loads it.
    int loadText(const std::string& text, const std::string& file = "catalog.xml");
    std::string logPath() const { return tmp.path("load.log").string(); }
    std::string log() const { return readFile(logPath()); }
    bool logged(const std::string& text) const { return log().find(text) != std::string::npos; }
    std::unique_ptr<KQRNMessage> message(std::int32_t fb, std::int32_t fn, std::int32_t op, int flags = 0);
    std::unique_ptr<KQRNMessageContainer> container(const std::string& catalog, std::int32_t fb,
                                                    std::int32_t fn, std::int32_t op, int loadNodes = 1);
    // The names of the catalogs loaded and of a catalog's FBlocks, joined by ", ".
    std::string catalogs();
    std::string fblockNames(const std::string& catalog);

    TempDir tmp;
    QRNHandle handle = 0;
    KQRNFCatManager* mgr = nullptr;
};

// Catalog "Edges", FBlock 0x70: the boundaries of enums, lengths, indexes and selectors.
extern const char kEdgeCatalog[];

// Node helpers take null (a path not found) and then answer -2, "<none>" or nothing.
int attr(const KQRNNode* node, int number); // -1 when absent
std::vector<std::string> valueTexts(const KQRNNode* node);
std::string texts(const KQRNNode* node); // the value texts joined by "; "
std::vector<KQRNNode*> children(const KQRNNode* node);
std::vector<KQRNNode*> nodes(const KQRNMessageContainer& c);
std::vector<KQRNNode*> parameters(const KQRNMessage& m);
std::string data(const KQRNMessage& m); // the bytes as hex()
// Depth-first search by GetPath; null when absent.
KQRNNode* findPath(const std::vector<KQRNNode*>& roots, const std::string& path);
std::vector<std::string> names(const std::vector<IdName>& list);
std::string join(const std::vector<std::string>& list, const char* separator = ", ");
std::string hex(const std::vector<std::uint8_t>& bytes); // "0A 1B"

} // namespace qtest

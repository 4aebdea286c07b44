#include "QuarnelTestSupport.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

namespace qtest {

std::string sample(const char* file) {
    return std::string(QUARNEL_SAMPLES) + "/" + file;
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeFile(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

std::string nativeName(const std::filesystem::path& path) {
#ifdef _WIN32
    const std::wstring& wide = path.native();
    if (wide.empty()) return {};
    std::string name(
        static_cast<std::size_t>(WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()),
                                                     nullptr, 0, nullptr, nullptr)),
        '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), name.data(),
                        static_cast<int>(name.size()), nullptr, nullptr);
    return name;
#else
    return path.native();
#endif
}

// fopen takes the name's bytes as they are (the ANSI code page on Windows).
bool writeNamedFile(const std::string& name, const std::string& text) {
    std::FILE* f = std::fopen(name.c_str(), "wb");
    if (!f) return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    return std::fclose(f) == 0 && written;
}

std::string readNamedFile(const std::string& name) {
    std::string text;
    if (std::FILE* f = std::fopen(name.c_str(), "rb")) {
        char buf[4096];
        for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;)
            text.append(buf, n);
        std::fclose(f);
    }
    return text;
}

TempDir::TempDir() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name =
        std::string("quarnel-") + (info ? info->test_suite_name() + std::string("-") + info->name() : "x");
    name += "-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count());
    dir_ = std::filesystem::temp_directory_path() / name;
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
}

void ManagerTest::SetUp() {
    ASSERT_EQ(0, gQRNCreateFCatManager(&handle, "tests"));
    mgr = gQRNFCatManager(handle);
    ASSERT_NE(nullptr, mgr);
}

int ManagerTest::load(const std::string& file, std::string* catalog) {
    std::string name;
    const int r = mgr->LoadFCat(file, QRN_LOAD_REPLACE, name, QRN_LOG_REWRITE, logPath());
    if (catalog) *catalog = name;
    return r;
}

int ManagerTest::loadText(const std::string& text, const std::string& file) {
    writeFile(tmp.path(file), text);
    return load(tmp.path(file).string());
}

std::unique_ptr<KQRNMessage> ManagerTest::message(std::int32_t fb, std::int32_t fn, std::int32_t op,
                                                  int flags) {
    std::unique_ptr<KQRNMessage> m(mgr->CreateMessage(flags, fb, QRN_ANY_INSTANCE, fn, op));
    EXPECT_NE(nullptr, m) << fb << "." << fn << "." << op;
    return m;
}

std::unique_ptr<KQRNMessageContainer> ManagerTest::container(const std::string& catalog, std::int32_t fb,
                                                             std::int32_t fn, std::int32_t op,
                                                             int loadNodes) {
    return std::unique_ptr<KQRNMessageContainer>(
        mgr->GetMessageContainer(0, catalog, fb, QRN_ANY_INSTANCE, fn, op, loadNodes));
}

std::string ManagerTest::catalogs() {
    std::vector<std::string> cats;
    mgr->ListCatalogs(cats, 0);
    return join(cats);
}

std::string ManagerTest::fblockNames(const std::string& catalog) {
    std::vector<IdName> fbs;
    mgr->ListFBlocks(fbs, 0, catalog);
    return join(names(fbs));
}

const char kEdgeCatalog[] = R"(<FunctionCatalog Name="Edges"><FBlock ID="0x70" Name="Edges">
  <Function ID="0x001" Name="Enums" Kind="Property"><OPType ID="0xC">
    <Parameter Name="Single"><TEnum><TEnumValue Code="0" Name="Only"/></TEnum></Parameter>
    <Parameter Name="Byte"><TEnum Size="2"><TEnumValue Code="1" Name="One"/><TEnumValue Code="255" Name="Top"/></TEnum></Parameter>
    <Parameter Name="Word"><TEnum Size="2"><TEnumValue Code="1" Name="One"/><TEnumValue Code="256" Name="Top"/></TEnum></Parameter>
  </OPType></Function>
  <Function ID="0x002" Name="Limits" Kind="Property"><OPType ID="0xC">
    <Parameter Name="Raw"><TShortStream MaxLength="1"/></Parameter>
    <Parameter Name="One"><TArray MaxIndex="1"><Parameter Name="Item"><TNumber Type="UByte"/></Parameter></TArray></Parameter>
  </OPType></Function>
  <Function ID="0x003" Name="Selectors" Kind="Property">
    <OPType ID="0x0"><Parameter Name="Wrapped"><TRecord><Parameter Name="Kind"><TNumber Type="UByte"/></Parameter>
      <Parameter Name="Body"><TStream Selector="Kind"><TStreamCase Name="Text" Values="1">
        <Parameter Name="Value"><TString/></Parameter></TStreamCase></TStream></Parameter></TRecord></Parameter></OPType>
    <OPType ID="0x1"><Parameter Name="Flag"><TBool/></Parameter><Parameter Name="Body"><TStream Selector="Flag">
      <TStreamCase Name="On" Values="1"><Parameter Name="N"><TNumber Type="UByte"/></Parameter></TStreamCase>
    </TStream></Parameter></OPType>
    <OPType ID="0xC"><Parameter Name="Mode"><TBitField Mask="0x30"/></Parameter><Parameter Name="Body"><TStream Selector="Mode">
      <TStreamCase Name="Ids" Values="2"><Parameter Name="List"><TFunctionIDs/></Parameter></TStreamCase>
      <TStreamCase Name="Once" Values="3" MaxIndex="1"><Parameter Name="N"><TNumber Type="UByte"/></Parameter></TStreamCase>
    </TStream></Parameter></OPType>
  </Function>
  <Function ID="0x004" Name="Voids" Kind="Property"><OPType ID="0xC">
    <Parameter Name="Gap"><TVoid/></Parameter><Parameter Name="Low"><TBitField/></Parameter>
    <Parameter Name="Nothing"><TArray><Parameter><TVoid/></Parameter></TArray></Parameter>
  </OPType></Function>
</FBlock></FunctionCatalog>
)";

int attr(const KQRNNode* node, int number) {
    int value = -1;
    if (!node) return -2;
    gQRTGetAttrInt(node->GetAttrHandle(), number, &value);
    return value;
}

std::vector<std::string> valueTexts(const KQRNNode* node) {
    std::vector<std::string> v;
    if (node) node->GetValueTexts(v);
    return v;
}

std::string texts(const KQRNNode* node) {
    return node ? join(valueTexts(node), "; ") : "<none>";
}

std::vector<KQRNNode*> children(const KQRNNode* node) {
    std::vector<KQRNNode*> v;
    if (node) node->GetChildren(v);
    return v;
}

std::vector<KQRNNode*> nodes(const KQRNMessageContainer& c) {
    std::vector<KQRNNode*> v;
    c.GetNodes(v);
    return v;
}

std::vector<KQRNNode*> parameters(const KQRNMessage& m) {
    std::vector<KQRNNode*> v;
    m.GetParameters(v);
    return v;
}

std::string data(const KQRNMessage& m) {
    std::vector<std::uint8_t> bytes;
    m.GetData(bytes);
    return hex(bytes);
}

KQRNNode* findPath(const std::vector<KQRNNode*>& roots, const std::string& path) {
    for (KQRNNode* n : roots) {
        if (n->GetPath() == path) return n;
        if (KQRNNode* found = findPath(children(n), path)) return found;
    }
    return nullptr;
}

std::vector<std::string> names(const std::vector<IdName>& list) {
    std::vector<std::string> v;
    for (const IdName& e : list)
        v.push_back(e.name);
    return v;
}

std::string join(const std::vector<std::string>& list, const char* separator) {
    std::string s;
    for (const std::string& e : list)
        s += (s.empty() ? "" : separator) + e;
    return s;
}

std::string hex(const std::vector<std::uint8_t>& bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string s;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i) s += ' ';
        s += digits[bytes[i] >> 4];
        s += digits[bytes[i] & 15];
    }
    return s;
}

} // namespace qtest

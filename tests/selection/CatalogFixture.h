// A catalog manager of its own with the sample catalogs loaded, and stand-in nodes for exact
// values that no catalog needs to hold.
#pragma once
#include "base/LanguageResources.h"
#include "base/ProcessState.h"
#include "support/SampleCatalogs.h"

#include <Quarnel.h>
#include <w32drv.h>

#include <gtest/gtest.h>

#include <memory>

class CatalogFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ResetProcessStateForTests();
        w32drv::Reset();
        ASSERT_EQ(LoadLanguageResources(), 0);
        ASSERT_EQ(gQRNCreateFCatManager(&handle, "tests"), 0);
        manager = gQRNFCatManager(handle);
        for (const char* f : {"standard.xml", "rearseat.xml"}) {
            std::string name;
            ASSERT_EQ(manager->LoadFCat(SampleCatalog(f), QRN_LOAD_REPLACE, name, QRN_LOG_NONE, ""), 0) << f;
        }
    }
    void TearDown() override { gQRNDestroyFCatManager(handle); }

    // The first node named name of a message's parameters, searched depth-first.
    KQRNNode* node(const std::string& fblock, const std::string& function, const std::string& opType,
                   const std::string& name) {
        std::string catalog;
        std::int32_t fb = -1, fn = -1, op = -1;
        manager->LookupIds(0, "", fblock, QRN_ANY_INSTANCE, function, opType, catalog, fb, fn, op, 0);
        if (fb < 0 || fn < 0 || op < 0) return nullptr;
        containers.emplace_back(manager->GetMessageContainer(0, catalog, fb, QRN_ANY_INSTANCE, fn, op, 0));
        containers.back()->LoadNodes();
        std::vector<KQRNNode*> nodes;
        containers.back()->GetNodes(nodes);
        return find(nodes, name);
    }

    QRNHandle handle = 0;
    KQRNFCatManager* manager = nullptr;
    std::vector<std::unique_ptr<KQRNMessageContainer>> containers;

private:
    KQRNNode* find(const std::vector<KQRNNode*>& nodes, const std::string& name) {
        for (KQRNNode* n : nodes) {
            if (n->GetName() == name) return n;
            std::vector<KQRNNode*> children;
            n->GetChildren(children);
            if (KQRNNode* found = find(children, name)) return found;
        }
        return nullptr;
    }
};

// Stand-in nodes with values set by the test.
template <class Base> class FakeNode : public Base {
public:
    int type = 0;
    std::string name = "n", extra, description, path = "n";
    int GetType() const override { return type; }
    int GetKind() const override { return 0; }
    bool IsAbstract() const override { return false; }
    const std::string& GetName() const override { return name; }
    std::string GetLabel(bool) const override { return name; }
    const std::string& GetExtraText() const override { return extra; }
    void GetChildren(std::vector<KQRNNode*>&) const override {}
    void GetValueTexts(std::vector<std::string>&) const override {}
    const std::string& GetPath() const override { return path; }
    const std::string& GetDisplayName() const override { return name; }
    const std::string& GetDescription() const override { return description; }
    QRTAttrHandle GetAttrHandle() const override { return nullptr; }
};

class FakeNumber : public FakeNode<KQRNNumberNode> {
public:
    FakeNumber(int numberType, double min, double max, int numberInt = 0) : numberType(numberType), min(min), max(max), numberInt(numberInt) {
        type = QRN_TYPE_NUMBER;
    }
    int GetSizeCode() const override { return 0; }
    int GetRawMaxLength() const override { return 0; }
    int GetNumberType() const override { return numberType; }
    double GetMinimum() const override { return min; }
    double GetMaximum() const override { return max; }
    int GetNumberInt() const override { return numberInt; }
    int numberType;
    double min, max;
    int numberInt;
};

class FakeEnum : public FakeNode<KQRNEnumNode> {
public:
    explicit FakeEnum(int values, int sizeCode = 0) : values(values), sizeCode(sizeCode) { type = QRN_TYPE_ENUM; }
    int GetSizeCode() const override { return sizeCode; }
    int GetRawMaxLength() const override { return 0; }
    void GetInfoTexts(std::vector<std::string>& out, int) const override {
        for (int i = 0; i < values; ++i) out.push_back("0x" + std::to_string(i) + ": Value" + std::to_string(i));
    }
    int GetEnumSizeCode() const override { return sizeCode; }
    int GetEnumMaximum() const override { return values - 1; }
    int values;
    int sizeCode;
};

class FakeData : public FakeNode<KQRNDataNode> {
public:
    FakeData(int typeCode, int sizeCode, int rawMax = 0) : sizeCode(sizeCode), rawMax(rawMax) { type = typeCode; }
    int GetSizeCode() const override { return sizeCode; }
    int GetRawMaxLength() const override { return rawMax; }
    int sizeCode, rawMax;
};

class FakeString : public FakeNode<KQRNStringNode> {
public:
    explicit FakeString(int maxLength) : maxLength(maxLength) { type = QRN_TYPE_STRING; }
    int GetSizeCode() const override { return 0; }
    int GetRawMaxLength() const override { return 0; }
    int GetStringMaxLength() const override { return maxLength; }
    int maxLength;
};

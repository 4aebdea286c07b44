// A catalog manager and a message that know nothing: every list is empty, every lookup fails,
// loading is refused. Tests derive from them and script only the calls they are about.
#pragma once
#include <Quarnel.h>

#include <string>
#include <vector>

class FakeCatalogManager : public KQRNFCatManager {
public:
    int LoadFCat(const std::string&, int, std::string&, int, const std::string&) override { return QRN_ERR_ARGUMENT; }
    int SetOption(int) override { return 0; }
    std::string GetFCatDescription(const std::string&) const override { return ""; }
    void ListCatalogs(std::vector<std::string>&, int) const override {}
    void ListFunctionNames(std::vector<std::string>&, int, const std::string&, const std::string&, std::uint32_t) const override {}
    void ListOpTypeNames(std::vector<std::string>&, int, const std::string&, const std::string&, std::uint32_t,
                         const std::string&) const override {}
    void ListFBlocks(std::vector<IdName>&, int, const std::string&) const override {}
    void ListFunctions(std::vector<IdName>&, int, const std::string&, std::int32_t, std::uint32_t) const override {}
    void ListOpTypes(std::vector<IdName>&, int, const std::string&, std::int32_t, std::uint32_t, std::int32_t) const override {}
    KQRNMessage* CreateMessage(int, std::int32_t, std::uint32_t, std::int32_t, std::int32_t) const override { return nullptr; }
    KQRNMessage* CreateCatalogMessage(int, const std::string&, std::int32_t, std::uint32_t, std::int32_t,
                                      std::int32_t) const override {
        return nullptr;
    }
    const std::string& LookupFBlockName(int, std::int32_t) override { return none_; }
    const std::string& LookupFunctionName(int, std::int32_t, std::uint32_t, std::int32_t, const std::string*) override {
        return none_;
    }
    const std::string& LookupOpTypeName(int, std::int32_t, std::uint32_t, std::int32_t, std::int32_t, const std::string*) override {
        return none_;
    }
    int LookupIds(int, const std::string&, const std::string&, std::uint32_t, const std::string&, const std::string&,
                  std::string&, std::int32_t&, std::int32_t&, std::int32_t&, int) const override {
        return 0; // writes nothing: the ids must count as not found
    }
    KQRNMessageContainer* GetMessageContainer(int, const std::string&, std::int32_t, std::uint32_t, std::int32_t,
                                              std::int32_t, int) const override {
        return nullptr;
    }
    bool GetParameterName(std::string&, int, const std::string&, std::int32_t, std::uint32_t, std::int32_t, std::int32_t,
                          const std::string&) const override {
        return false;
    }
    bool LookupParameterPath(std::string&, int, const std::string&, std::int32_t, std::uint32_t, std::int32_t,
                             std::int32_t, const std::string&) const override {
        return false;
    }

private:
    std::string none_;
};

class FakeMessage : public KQRNMessage {
public:
    bool Decode() override { return false; }
    void SetData(const std::vector<std::uint8_t>&) override {}
    void GetData(std::vector<std::uint8_t>&) const override {}
    const std::string& GetCatalog() const override { return catalog; }
    bool IsDecoded() const override { return false; }
    void GetParameters(std::vector<KQRNNode*>&) const override {}
    void SetParameterTexts(const std::vector<std::string>&, int& status, int& index) override {
        status = QRN_TEXT_OK;
        index = -1;
    }
    void SetWord(std::uint16_t) override {}
    void SetFlags(std::uint32_t) override {}

    std::string catalog = "Fake";
};

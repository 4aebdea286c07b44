#pragma once

#include "Catalog.h"
#include "KQRNFCatChangedSink.h"
#include "KQRNFCatManager.h"

#include <memory>
#include <string>
#include <vector>

namespace quarnel {

class FCatManager final : public KQRNFCatManager {
public:
    explicit FCatManager(std::string clientName);
    ~FCatManager() override;

    int LoadFCat(const std::string& file, int mode, std::string& catalogName, int logMode,
                 const std::string& logFile) override;
    int SetOption(int options) override;
    std::string GetFCatDescription(const std::string& catalog) const override;
    void ListCatalogs(std::vector<std::string>& out, int f) const override;
    void ListFunctionNames(std::vector<std::string>& out, int f, const std::string& catalog,
                           const std::string& fblock, std::uint32_t instance) const override;
    void ListOpTypeNames(std::vector<std::string>& out, int f, const std::string& catalog,
                         const std::string& fblock, std::uint32_t instance,
                         const std::string& function) const override;
    void ListFBlocks(std::vector<IdName>& out, int f, const std::string& catalog) const override;
    void ListFunctions(std::vector<IdName>& out, int f, const std::string& catalog, std::int32_t fblock,
                       std::uint32_t instance) const override;
    void ListOpTypes(std::vector<IdName>& out, int f, const std::string& catalog, std::int32_t fblock,
                     std::uint32_t instance, std::int32_t function) const override;
    KQRNMessage* CreateMessage(int f, std::int32_t fblock, std::uint32_t instance, std::int32_t function,
                               std::int32_t opType) const override;
    KQRNMessage* CreateCatalogMessage(int f, const std::string& catalog, std::int32_t fblock, std::uint32_t instance,
                                      std::int32_t function, std::int32_t opType) const override;
    const std::string& LookupFBlockName(int f, std::int32_t fblock) override;
    const std::string& LookupFunctionName(int f, std::int32_t fblock, std::uint32_t instance,
                                          std::int32_t function, const std::string* catalog) override;
    const std::string& LookupOpTypeName(int f, std::int32_t fblock, std::uint32_t instance,
                                        std::int32_t function, std::int32_t opType,
                                        const std::string* catalog) override;
    int LookupIds(int f, const std::string& catalog, const std::string& fblock, std::uint32_t instance,
                  const std::string& function, const std::string& opType, std::string& catalogOut,
                  std::int32_t& fblockId, std::int32_t& functionId, std::int32_t& opTypeId,
                  int ignoreCase) const override;
    KQRNMessageContainer* GetMessageContainer(int f, const std::string& catalog, std::int32_t fblock,
                                              std::uint32_t instance, std::int32_t function,
                                              std::int32_t opType, int loadNodes) const override;
    bool GetParameterName(std::string& result, int f, const std::string& catalog, std::int32_t fblock,
                          std::uint32_t instance, std::int32_t function, std::int32_t opType,
                          const std::string& path) const override;
    bool LookupParameterPath(std::string& result, int f, const std::string& catalog, std::int32_t fblock,
                             std::uint32_t instance, std::int32_t function, std::int32_t opType,
                             const std::string& text) const override;

    void addSink(KQRNFCatChangedSink* sink);
    void removeSink(KQRNFCatChangedSink* sink);

private:
    struct Loaded {
        std::string key; // file the catalog came from
        std::shared_ptr<const Catalog> catalog;
    };
    struct Address { // a resolved FBlock/function/OpType of one catalog
        const Loaded* loaded = nullptr;
        const FBlockDef* fblock = nullptr;
        const FunctionDef* function = nullptr;
        const OpTypeDef* opType = nullptr;
    };

    const Loaded* findCatalog(const std::string& name) const;
    // First catalog (or the named one, when catalog is not null) holding the address down to
    // the deepest id that is not -1 (an OpType id counts only with a function id).
    Address resolve(int f, const std::string* catalog, std::int32_t fblock, std::uint32_t instance,
                    std::int32_t function, std::int32_t opType) const;
    // A new message of the OpType that resolve finds; null without one.
    KQRNMessage* message(int f, const std::string* catalog, std::int32_t fblock, std::uint32_t instance,
                         std::int32_t function, std::int32_t opType) const;
    int load(const std::string& file, int mode, std::string& catalogName, std::string& report);
    void notify();

    std::string client_;
    int options_ = 0;
    std::vector<Loaded> catalogs_;
    std::vector<KQRNFCatChangedSink*> sinks_;
    std::string lastFBlockName_, lastFunctionName_, lastOpTypeName_;
};

} // namespace quarnel

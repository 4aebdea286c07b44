// The record behind a row of the catalog tree: what the row stands for, down to its level.
#pragma once
#include <Quarnel.h>

#include <cstdint>
#include <string>

class KMXSTreeItem {
public:
    enum Level { kCatalog = 0, kFBlock = 1, kFunction = 3, kOpType = 4, kNode = 5 };

    // catalog row
    explicit KMXSTreeItem(const std::string& catalog);
    // FBlock row
    KMXSTreeItem(const std::string& catalog, const std::string& fblock, std::int32_t fblockId);
    // function row
    KMXSTreeItem(const std::string& catalog, const std::string& fblock, std::int32_t fblockId, std::int32_t instanceId,
                 const std::string& function, std::int32_t functionId);
    // OpType row
    KMXSTreeItem(const std::string& catalog, const std::string& fblock, std::int32_t fblockId, std::int32_t instanceId,
                 const std::string& function, std::int32_t functionId, const std::string& opType, std::int32_t opTypeId);
    // parameter node row; the container owns the node, the dialog owns the container
    KMXSTreeItem(KQRNMessageContainer* container, KQRNNode* node);
    // predefined object row
    static KMXSTreeItem Predefined(unsigned int id);

    bool predefined = false;
    unsigned int predefinedId = 0;
    std::string catalog;
    std::string fblock;
    std::string function;
    std::string opType;
    std::int32_t fblockId = -1;
    std::int32_t instanceId = -1;
    std::int32_t functionId = -1;
    std::int32_t opTypeId = -1;
    KQRNMessageContainer* container = nullptr;
    KQRNNode* node = nullptr;
    std::int32_t level = kCatalog;
};

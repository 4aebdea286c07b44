#include "selection/MXSTreeItem.h"

KMXSTreeItem::KMXSTreeItem(const std::string& catalog) : catalog(catalog), level(kCatalog) {}

KMXSTreeItem::KMXSTreeItem(const std::string& catalog, const std::string& fblock, std::int32_t fblockId)
    : catalog(catalog), fblock(fblock), fblockId(fblockId), level(kFBlock) {}

KMXSTreeItem::KMXSTreeItem(const std::string& catalog, const std::string& fblock, std::int32_t fblockId,
                           std::int32_t instanceId, const std::string& function, std::int32_t functionId)
    : catalog(catalog), fblock(fblock), function(function), fblockId(fblockId), instanceId(instanceId),
      functionId(functionId), level(kFunction) {}

KMXSTreeItem::KMXSTreeItem(const std::string& catalog, const std::string& fblock, std::int32_t fblockId,
                           std::int32_t instanceId, const std::string& function, std::int32_t functionId,
                           const std::string& opType, std::int32_t opTypeId)
    : catalog(catalog), fblock(fblock), function(function), opType(opType), fblockId(fblockId), instanceId(instanceId),
      functionId(functionId), opTypeId(opTypeId), level(kOpType) {}

KMXSTreeItem::KMXSTreeItem(KQRNMessageContainer* container, KQRNNode* node)
    : container(container), node(node), level(kNode) {}

KMXSTreeItem KMXSTreeItem::Predefined(unsigned int id) {
    KMXSTreeItem item{std::string()};
    item.predefined = true;
    item.predefinedId = id;
    item.level = kNode;
    return item;
}

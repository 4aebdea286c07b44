#include "MessageContainer.h"

#include <new>

namespace quarnel {

MessageContainer::MessageContainer(std::shared_ptr<const Catalog> catalog, const FBlockDef* fblock,
                                   const FunctionDef* function, const OpTypeDef* opType)
    : catalog_(std::move(catalog)) {
    if (!catalog_ || !fblock) return;
    const Catalog& c = *catalog_;
    catalogName_ = c.str(c.name);
    fblockId_ = fblock->id;
    fblockName_ = c.str(fblock->name);
    fblockDescription_ = c.str(fblock->description);
    deviceName_ = c.str(fblock->deviceName);
    deviceDescription_ = c.str(fblock->deviceDescription);
    if (!function) return;
    functionId_ = function->id;
    functionName_ = c.str(function->name);
    functionDescription_ = c.str(function->description);
    functionType_ = function->type;
    functionClass_ = function->functionClass;
    if (!opType) return;
    opTypeId_ = opType->id;
    opTypeName_ = c.str(opType->name);
    hasParams_ = true;
    params_ = opType->params;
}

void MessageContainer::GetNodes(std::vector<KQRNNode*>& out) const {
    out.clear();
    for (const auto& n : nodes_)
        out.push_back(n.get());
}

int MessageContainer::LoadNodes() {
    if (!loaded_ && hasParams_) {
        try {
            nodes_ = buildCatalogNodes(*catalog_, params_);
        } catch (const std::bad_alloc&) {
            nodes_.clear();
        }
    }
    loaded_ = true;
    return static_cast<int>(nodes_.size());
}

} // namespace quarnel

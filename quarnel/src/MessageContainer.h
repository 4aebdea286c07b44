#pragma once

#include "Catalog.h"
#include "KQRNMessageContainer.h"
#include "NodeBuilder.h"

#include <memory>

namespace quarnel {

// Holds copies of the texts it hands out and a share of the catalog for its nodes.
class MessageContainer final : public KQRNMessageContainer {
public:
    // Any of fblock, function, opType may be null (not asked for or not found).
    MessageContainer(std::shared_ptr<const Catalog> catalog, const FBlockDef* fblock,
                     const FunctionDef* function, const OpTypeDef* opType);

    std::int32_t GetFBlockId() const override { return fblockId_; }
    std::int32_t GetFunctionId() const override { return functionId_; }
    std::int32_t GetOpTypeId() const override { return opTypeId_; }
    const std::string& GetCatalogName() const override { return catalogName_; }
    const std::string& GetFBlockName() const override { return fblockName_; }
    const std::string& GetFunctionName() const override { return functionName_; }
    const std::string& GetOpTypeName() const override { return opTypeName_; }
    void GetNodes(std::vector<KQRNNode*>& out) const override;
    int LoadNodes() override;
    const std::string& GetFBlockDescription() const override { return fblockDescription_; }
    const std::string& GetDeviceName() const override { return deviceName_; }
    const std::string& GetDeviceDescription() const override { return deviceDescription_; }
    const std::string& GetFunctionDescription() const override { return functionDescription_; }
    int GetFunctionType() const override { return functionType_; }
    int GetFunctionClass() const override { return functionClass_; }

private:
    std::shared_ptr<const Catalog> catalog_; // null when nothing was found
    std::int32_t fblockId_ = -1, functionId_ = -1, opTypeId_ = -1;
    std::string catalogName_, fblockName_, functionName_, opTypeName_;
    std::string fblockDescription_, deviceName_, deviceDescription_, functionDescription_;
    int functionType_ = 0;
    int functionClass_ = -1;
    bool hasParams_ = false;
    Range params_;
    bool loaded_ = false;
    NodeList nodes_;
};

} // namespace quarnel

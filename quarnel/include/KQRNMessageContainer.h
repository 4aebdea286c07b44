#pragma once
// The catalog description of one FBlock, function or OpType with the parameter nodes of
// the OpType. Made by KQRNFCatManager::GetMessageContainer; the caller deletes it. It keeps
// its own copy of the catalog data, so it outlives reloads and unloads of its catalog.

#include "KQRNNode.h"
#include "QuarnelDefs.h"

#include <cstdint>
#include <string>
#include <vector>

class QUARNEL_API KQRNMessageContainer {
public:
    virtual ~KQRNMessageContainer() {}

    // Identifiers of the address; -1 for parts that were not asked for or not found.
    virtual std::int32_t GetFBlockId() const = 0;
    virtual std::int32_t GetFunctionId() const = 0;
    virtual std::int32_t GetOpTypeId() const = 0;
    // Names; empty for parts that were not asked for or not found.
    virtual const std::string& GetCatalogName() const = 0;
    virtual const std::string& GetFBlockName() const = 0;
    virtual const std::string& GetFunctionName() const = 0;
    virtual const std::string& GetOpTypeName() const = 0;
    // Fills out (cleared first) with the OpType's parameter nodes, once LoadNodes ran (or
    // the container was made with loading on); they belong to the container.
    virtual void GetNodes(std::vector<KQRNNode*>& out) const = 0;
    // Builds the parameter nodes (once; later calls keep them). Returns their count.
    virtual int LoadNodes() = 0;
    virtual const std::string& GetFBlockDescription() const = 0;
    virtual const std::string& GetDeviceName() const = 0;
    virtual const std::string& GetDeviceDescription() const = 0;
    virtual const std::string& GetFunctionDescription() const = 0;
    // QRN_FUNCTION_PROPERTY, QRN_FUNCTION_METHOD, or QRN_FUNCTION_UNKNOWN without a function.
    virtual int GetFunctionType() const = 0;
    // Function class 0 to 29; -1 without a function.
    virtual int GetFunctionClass() const = 0;
};

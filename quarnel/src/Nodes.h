#pragma once
// Concrete node classes behind the public node interfaces.

#include "Catalog.h"
#include "KQRNNode.h"

#include <memory>
#include <string>
#include <vector>

struct KQRTAttrSet {
    std::vector<quarnel::Attribute> items;
};

namespace quarnel {

// Everything a node knows; filled by NodeBuilder.
struct NodeInfo {
    const Catalog* catalog = nullptr; // kept alive by the node's owner
    const ParamDef* def = nullptr;
    int kind = 0;
    std::string name;
    std::string displayName;
    std::string path;
    KQRTAttrSet attributes;
    bool hasValue = false;
    std::string valueText;
    std::string valueHex; // valueText with numbers in hexadecimal
    bool choices = false; // value texts list the choices rather than the value
    std::vector<std::unique_ptr<KQRNNode>> children;
};

std::unique_ptr<KQRNNode> makeNode(NodeInfo&& info);

// Names of the MOST error codes, for error-code parameters; null for codes without one.
const char* errorCodeName(std::int64_t code);
// The codes errorCodeName knows, ascending.
const std::vector<int>& errorCodes();

} // namespace quarnel

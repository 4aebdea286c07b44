#include "selection/FunctionInfoText.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace {

const size_t kMaxLength = 1024;
const size_t kMaxValueLines = 27;

std::string nodeText(KQRNNode* node) {
    std::string text = node->GetDescription();
    if (node->GetType() == QRN_TYPE_BOOLFIELD) {
        std::vector<std::string> lines;
        if (KQRNTableNode* t = QRNAsTable(node)) t->GetInfoTexts(lines, QRN_INFO_CODE | QRN_INFO_NAME);
        if (!lines.empty()) text += lines[0] + "\n";
        if (lines.size() >= 2) text += lines[1];
    } else if (node->GetType() == QRN_TYPE_ENUM) {
        std::vector<std::string> lines;
        if (KQRNTableNode* t = QRNAsTable(node))
            t->GetInfoTexts(lines, QRN_INFO_CODE | QRN_INFO_NAME | QRN_INFO_HEX | QRN_INFO_DESCRIPTION);
        if (!text.empty()) text += "\n";
        text += "Value table:";
        for (size_t i = 0; i < lines.size(); ++i) {
            if (i == kMaxValueLines) {
                text += "\n...";
                break;
            }
            text += "\n" + lines[i];
        }
    }
    return text;
}

std::string functionText(KQRNFCatManager& m, const KMXSTreeItem& item) {
    std::unique_ptr<KQRNMessageContainer> c(m.GetMessageContainer(0, item.catalog, item.fblockId,
                                                                  static_cast<std::uint32_t>(item.instanceId),
                                                                  item.functionId, QRN_NO_ID, 0));
    if (!c) return "";
    int type = c->GetFunctionType();
    std::string text = std::string("Function type: ") + (type == QRN_FUNCTION_PROPERTY ? "Property" : type == QRN_FUNCTION_METHOD ? "Method" : "Unknown") +
                       "\nFunction class: " + FunctionClassText(c->GetFunctionClass());
    if (!c->GetFunctionDescription().empty()) text += "\n\n" + c->GetFunctionDescription();
    return text;
}

} // namespace

const char* FunctionClassText(int code) {
    static const char* const texts[] = {
        "Unclassified Method", "Trigger", "Sequence Method", "Undefined", "Undefined", "Undefined", "Undefined",
        "Undefined", "Undefined", "Undefined", "Undefined", "Undefined", "Undefined", "Undefined", "Undefined",
        "Undefined", "Unclassified Property", "Switch", "Number", "Text", "Enumeration", "Array", "Record",
        "Dynamic Array", "Long Array", "BoolField", "BitSet", "Container", "Sequence Property", "Map"};
    if (code < 0 || code > QRN_LAST_FUNCTION_CLASS) return "Undefined";
    return texts[code];
}

std::string BuildInfoText(const KMXSTreeItem& item, unsigned long managerHandle) {
    std::string text;
    KQRNFCatManager* m = gQRNFCatManager(static_cast<QRNHandle>(managerHandle));
    if (item.predefined) return text; // described by the host's configuration, not by a catalog
    if (item.node) {
        text = nodeText(item.node);
    } else if (!item.function.empty()) {
        if (m) text = functionText(*m, item);
    } else if (!item.fblock.empty()) {
        if (m) {
            std::unique_ptr<KQRNMessageContainer> c(m->GetMessageContainer(0, item.catalog, item.fblockId, QRN_ANY_INSTANCE, QRN_NO_ID, QRN_NO_ID, 0));
            if (c) text = c->GetFBlockDescription();
        }
    } else if (!item.catalog.empty()) {
        if (m) text = m->GetFCatDescription(item.catalog);
    }
    text.erase(std::remove_if(text.begin(), text.end(), [](char c) { return c == '\t' || c == '\r'; }), text.end());
    if (text.size() > kMaxLength) text = text.substr(0, kMaxLength - 3) + "...";
    return text;
}

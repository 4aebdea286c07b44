#pragma once
// Parameter nodes of messages and message containers.
//
// Every node implements the common operations of KQRNNode. Nodes of the value types
// add operations in further classes; the same vtable position therefore means
// different things in different classes. Callers pick the class by GetType():
//   6 Boolean, 11 Bit field, 14 Raw stream  -> KQRNDataNode
//   7 Bool field                            -> KQRNTableNode
//   8 Number                                -> KQRNNumberNode
//   9 Enum                                  -> KQRNEnumNode
//   10 String                               -> KQRNStringNode
//   all other codes                         -> KQRNNode only
// The QRNAs... helpers below do that check.

#include "QuarnelDefs.h"

#include <string>
#include <vector>

class QUARNEL_API KQRNNode {
public:
    // Nodes belong to the message or container that handed them out; never delete them.
    virtual ~KQRNNode() {}

    // Parameter type code (QRN_TYPE_...).
    virtual int GetType() const = 0;
    // Role of the node in its message (QRN_KIND_...).
    virtual int GetKind() const = 0;
    // True when the node carries no value of its own that a user could pick
    // (structure nodes, derived lengths, reserved and padding fields).
    virtual bool IsAbstract() const = 0;
    // Name as the catalog spells it; an unnamed array element takes its array's name.
    virtual const std::string& GetName() const = 0;
    // hexNumbers: write a decoded value's numbers in hexadecimal. The label is the
    // display name (or the name), followed by " = value" for nodes of a decoded message.
    virtual std::string GetLabel(bool hexNumbers) const = 0;
    // Unit of a number (or of any parameter the catalog gives a unit); empty if none.
    virtual const std::string& GetExtraText() const = 0;
    // Fills out (cleared first) with the child nodes, owned like this node.
    virtual void GetChildren(std::vector<KQRNNode*>& out) const = 0;
    // Fills out (cleared first). Decoded nodes: the value as text. Enum, boolean and
    // error-code nodes of containers, or of messages with QRN_MSG_VALUE_CHOICES: the
    // choices; for an enum whose largest code is below 256 position = code, with codes
    // that have no name written as 0x%02X.
    virtual void GetValueTexts(std::vector<std::string>& out) const = 0;
    // Dotted path below the OpType, array indices in brackets, e.g. Data[1].Pos.
    virtual const std::string& GetPath() const = 0;
    // Text of the node's own row; empty for an unnamed array element.
    virtual const std::string& GetDisplayName() const = 0;
    virtual const std::string& GetDescription() const = 0;
    // Integer attributes for gQRTGetAttrInt; valid as long as the node.
    virtual QRTAttrHandle GetAttrHandle() const = 0;
};

// Boolean, bit field and raw stream nodes, and the base of the other value nodes.
class QUARNEL_API KQRNDataNode : public KQRNNode {
public:
    // 0, 1 or 2 for 1, 2 or 4 bytes; -1 for types without a fixed size.
    virtual int GetSizeCode() const = 0;
    // Maximum length of a raw stream; 0 when none is given or not a raw stream.
    virtual int GetRawMaxLength() const = 0;
};

// Number nodes.
class QUARNEL_API KQRNNumberNode : public KQRNDataNode {
public:
    // 0 unsigned byte, 1 unsigned word, 2 unsigned long, 3 signed byte, 4 signed word, 5 signed long.
    virtual int GetNumberType() const = 0;
    // Smallest and largest raw value the catalog allows.
    virtual double GetMinimum() const = 0;
    virtual double GetMaximum() const = 0;
    // Decimal exponent: the physical value is raw * 10^exponent.
    virtual int GetNumberInt() const = 0;
};

// String nodes.
class QUARNEL_API KQRNStringNode : public KQRNDataNode {
public:
    // Maximum length in bytes without coding byte and terminator; -1 when none is given.
    virtual int GetStringMaxLength() const = 0;
};

// Nodes with a table of named values: bool fields (their bits) and enums.
class QUARNEL_API KQRNTableNode : public KQRNDataNode {
public:
    // Fills out (cleared first) with one line per value, in catalog order; content is the
    // QRN_INFO_... bits: code and name as "code: name", then " - description" when asked.
    virtual void GetInfoTexts(std::vector<std::string>& out, int content) const = 0;
};

// Enum nodes.
class QUARNEL_API KQRNEnumNode : public KQRNTableNode {
public:
    // 0 for 1 byte, 1 for 2 bytes.
    virtual int GetEnumSizeCode() const = 0;
    // Largest code of the value table (0 when it is empty).
    virtual int GetEnumMaximum() const = 0;
};

inline KQRNDataNode* QRNAsData(KQRNNode* n) {
    if (!n) return nullptr;
    switch (n->GetType()) {
    case QRN_TYPE_BOOLEAN:
    case QRN_TYPE_BOOLFIELD:
    case QRN_TYPE_NUMBER:
    case QRN_TYPE_ENUM:
    case QRN_TYPE_STRING:
    case QRN_TYPE_BITFIELD:
    case QRN_TYPE_RAWSTREAM:
        return static_cast<KQRNDataNode*>(n);
    default:
        return nullptr;
    }
}
inline KQRNNumberNode* QRNAsNumber(KQRNNode* n) {
    return n && n->GetType() == QRN_TYPE_NUMBER ? static_cast<KQRNNumberNode*>(n) : nullptr;
}
inline KQRNStringNode* QRNAsString(KQRNNode* n) {
    return n && n->GetType() == QRN_TYPE_STRING ? static_cast<KQRNStringNode*>(n) : nullptr;
}
inline KQRNTableNode* QRNAsTable(KQRNNode* n) {
    return n && (n->GetType() == QRN_TYPE_BOOLFIELD || n->GetType() == QRN_TYPE_ENUM)
               ? static_cast<KQRNTableNode*>(n)
               : nullptr;
}
inline KQRNEnumNode* QRNAsEnum(KQRNNode* n) {
    return n && n->GetType() == QRN_TYPE_ENUM ? static_cast<KQRNEnumNode*>(n) : nullptr;
}

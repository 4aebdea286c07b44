#pragma once
// A MOST message of one OpType: parameters set from texts, encoded to data bytes in
// MOST byte order (big-endian), and decoded from bytes into parameter nodes.

#include "KQRNNode.h"
#include "QuarnelDefs.h"

#include <cstdint>
#include <string>
#include <vector>

class QUARNEL_API KQRNMessage {
public:
    // Made by KQRNFCatManager::CreateMessage; the caller deletes it. It keeps its own copy
    // of the catalog data, so it outlives reloads and unloads of its catalog.
    virtual ~KQRNMessage() {}

    // Decodes the data bytes into parameter nodes; false (and IsDecoded false) when the
    // bytes do not fit the parameters. Earlier nodes are dropped in any case.
    virtual bool Decode() = 0;
    // Replaces the data bytes; the message is no longer decoded.
    virtual void SetData(const std::vector<std::uint8_t>& bytes) = 0;
    // Fills bytes (cleared first) with the data bytes.
    virtual void GetData(std::vector<std::uint8_t>& bytes) const = 0;
    // Name of the catalog that defines the message.
    virtual const std::string& GetCatalog() const = 0;
    virtual bool IsDecoded() const = 0;
    // Fills out (cleared first) with the top-level parameter nodes of the last successful
    // Decode; they belong to the message and live until the next Decode/SetData or delete.
    virtual void GetParameters(std::vector<KQRNNode*>& out) const = 0;
    // Sets the parameters from one text per leaf parameter (record fields in order, array
    // elements while tokens last, one token of hex bytes per stream) and encodes the data
    // bytes. status: QRN_TEXT_...; index: the refused token (10 to 15), the first surplus
    // token (16), the token count (1), else -1. Bytes encoded before a refusal are kept.
    virtual void SetParameterTexts(const std::vector<std::string>& tokens, int& status, int& index) = 0;
    // Largest number of elements Decode makes for one array or repeated stream case
    // (0xFFFF, the default, means no limit of its own).
    virtual void SetWord(std::uint16_t word) = 0;
    // QRN_MSG_... bits; replaces the previous flags.
    virtual void SetFlags(std::uint32_t flags) = 0;
};

#include "Message.h"

#include "QuarnelDefs.h"
#include "TextEncoder.h"

#include <new>

namespace quarnel {

Message::Message(std::shared_ptr<const Catalog> catalog, const OpTypeDef& opType)
    : catalog_(std::move(catalog)), params_(opType.params), catalogName_(catalog_->str(catalog_->name)) {}

bool Message::Decode() {
    DecodeOptions options;
    options.allowSurplus = (flags_ & QRN_MSG_ALLOW_SURPLUS) != 0;
    options.choices = (flags_ & QRN_MSG_VALUE_CHOICES) != 0;
    options.maxElements = word_;
    try {
        decoded_ = decodeNodes(*catalog_, params_, data_.data(), data_.size(), options, nodes_);
    } catch (const std::bad_alloc&) {
        nodes_.clear();
        decoded_ = false;
    }
    return decoded_;
}

void Message::SetData(const std::vector<std::uint8_t>& bytes) {
    data_ = bytes;
    nodes_.clear();
    decoded_ = false;
}

void Message::GetData(std::vector<std::uint8_t>& bytes) const {
    bytes = data_;
}

void Message::GetParameters(std::vector<KQRNNode*>& out) const {
    out.clear();
    for (const auto& n : nodes_)
        out.push_back(n.get());
}

void Message::SetParameterTexts(const std::vector<std::string>& tokens, int& status, int& index) {
    nodes_.clear();
    decoded_ = false;
    EncodeResult r = encodeTexts(*catalog_, params_, tokens, data_);
    status = r.status;
    index = r.index;
}

} // namespace quarnel

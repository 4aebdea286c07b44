#pragma once

#include "Catalog.h"
#include "KQRNMessage.h"
#include "NodeBuilder.h"

#include <memory>

namespace quarnel {

class Message final : public KQRNMessage {
public:
    Message(std::shared_ptr<const Catalog> catalog, const OpTypeDef& opType);

    bool Decode() override;
    void SetData(const std::vector<std::uint8_t>& bytes) override;
    void GetData(std::vector<std::uint8_t>& bytes) const override;
    const std::string& GetCatalog() const override { return catalogName_; }
    bool IsDecoded() const override { return decoded_; }
    void GetParameters(std::vector<KQRNNode*>& out) const override;
    void SetParameterTexts(const std::vector<std::string>& tokens, int& status, int& index) override;
    void SetWord(std::uint16_t word) override { word_ = word; }
    void SetFlags(std::uint32_t flags) override { flags_ = flags; }

private:
    std::shared_ptr<const Catalog> catalog_;
    Range params_;
    std::string catalogName_;
    std::vector<std::uint8_t> data_;
    NodeList nodes_;
    bool decoded_ = false;
    std::uint16_t word_ = 0xFFFF;
    std::uint32_t flags_ = 0;
};

} // namespace quarnel

// The parameter codec of every OpType of the sample catalogs: texts set as tokens, or raw bytes,
// then decoded and read back, without a crash, a leak or a hang. A message encoded from accepted
// texts must decode, unless a stream parameter took bytes its case cannot read.
#include "FuzzSupport.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

struct Address {
    std::int32_t fblock, function, opType;
    bool stream; // a stream parameter takes its bytes as written, whether its case can read them or not
};

bool hasStream(const std::vector<KQRNNode*>& nodes) {
    for (KQRNNode* node : nodes) {
        if (node->GetType() == QRN_TYPE_STREAM) return true;
        std::vector<KQRNNode*> children;
        node->GetChildren(children);
        if (hasStream(children)) return true;
    }
    return false;
}

const std::vector<Address>& addresses() {
    static const std::vector<Address> all = [] {
        std::vector<Address> out;
        KQRNFCatManager* m = gQRNFCatManager(SampleManager());
        std::vector<std::string> catalogs;
        m->ListCatalogs(catalogs, QRN_FLAG_WITH_HIDDEN);
        for (const std::string& catalog : catalogs)
            ForEachOpType(*m, catalog, [&](std::int32_t fb, std::int32_t fn, std::int32_t op) {
                std::unique_ptr<KQRNMessageContainer> c(
                    m->GetMessageContainer(QRN_FLAG_WITH_HIDDEN, catalog, fb, QRN_ANY_INSTANCE, fn, op, 1));
                std::vector<KQRNNode*> nodes;
                if (c) c->GetNodes(nodes);
                out.push_back({fb, fn, op, hasStream(nodes)});
            });
        return out;
    }();
    return all;
}

} // namespace

// Input: two bytes choose the OpType, one the way in (even: tokens separated by ',', odd: raw
// bytes), one the element limit; the rest is the content.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto& all = addresses();
    if (size < 4 || all.empty()) return 0;
    const Address& a = all[(static_cast<std::size_t>(data[0]) << 8 | data[1]) % all.size()];
    std::unique_ptr<KQRNMessage> message(
        gQRNFCatManager(SampleManager())->CreateMessage(QRN_FLAG_WITH_HIDDEN, a.fblock, QRN_ANY_INSTANCE, a.function, a.opType));
    if (!message) return 0;
    message->SetWord(static_cast<std::uint16_t>(data[3] ? data[3] : 0xFFFF));
    const std::string rest(reinterpret_cast<const char*>(data) + 4, size - 4);
    if (data[2] % 2 == 0) {
        std::vector<std::string> tokens;
        std::size_t from = 0;
        for (std::size_t comma; (comma = rest.find(',', from)) != std::string::npos; from = comma + 1)
            tokens.push_back(rest.substr(from, comma - from));
        tokens.push_back(rest.substr(from));
        int status = 0, index = 0;
        message->SetParameterTexts(tokens, status, index);
        std::vector<std::uint8_t> bytes;
        message->GetData(bytes);
        message->SetData(bytes);
        // its own bytes must decode, unless a stream's bytes were given as they are
        if (status == QRN_TEXT_OK && data[3] == 0 && !message->Decode() && !a.stream) std::abort();
    } else {
        message->SetData(std::vector<std::uint8_t>(rest.begin(), rest.end()));
        message->Decode();
    }
    std::vector<KQRNNode*> nodes;
    message->GetParameters(nodes);
    ReadNodes(nodes);
    return 0;
}

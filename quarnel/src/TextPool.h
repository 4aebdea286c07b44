#pragma once
// All texts of a catalog, stored back to back in large blocks. A text never spans two
// blocks, so it stays one contiguous view; blocks are never moved, so growing copies nothing.

#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

namespace quarnel {

struct Text {
    std::uint32_t offset = 0; // block number in the high bits, position in the block below
    std::uint32_t length = 0;
    bool empty() const { return length == 0; }
};

class TextPool {
public:
    static constexpr unsigned kBlockBits = 21;
    static constexpr std::size_t kBlockSize = std::size_t(1) << kBlockBits; // holds any single text

    // Texts longer than a block are cut to one block (the reader refuses far shorter ones).
    Text add(std::string_view s) {
        if (s.size() > kBlockSize) s = s.substr(0, kBlockSize);
        char* to = reserve(s.size());
        if (!s.empty()) std::memcpy(to, s.data(), s.size());
        return commit(s.size());
    }
    // Room for a text of at most `size` bytes (at most a block) to be written in place; the
    // text is then added by commit with the length it came to.
    char* reserve(std::size_t size) {
        if (blocks_.empty() || used_ + size > kBlockSize) {
            blocks_.push_back(std::unique_ptr<char[]>(new char[kBlockSize]));
            used_ = 0;
        }
        return blocks_.back().get() + used_;
    }
    Text commit(std::size_t length) {
        Text t;
        t.offset = static_cast<std::uint32_t>(((blocks_.size() - 1) << kBlockBits) | used_);
        t.length = static_cast<std::uint32_t>(length);
        used_ += length;
        return t;
    }
    std::string_view view(Text t) const {
        if (t.length == 0) return std::string_view();
        return std::string_view(blocks_[t.offset >> kBlockBits].get() + (t.offset & (kBlockSize - 1)),
                                t.length);
    }

private:
    std::vector<std::unique_ptr<char[]>> blocks_;
    std::size_t used_ = 0;
};

} // namespace quarnel

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
        std::size_t room = 0;
        char* to = writing(0, s.size(), room);
        if (!s.empty()) std::memcpy(to, s.data(), s.size());
        return keep(s.size());
    }

    // A text written in place, so that a text read from a file is copied once: returns where
    // it starts, with room for `more` bytes after the `used` written so far (moved to a new
    // block when they do not fit; a text longer than a block gets a larger block of its own),
    // and `room` bytes in all from there. keep() makes the text of its first `length` bytes.
    char* writing(std::size_t used, std::size_t more, std::size_t& room) {
        if (blocks_.empty() || used_ >= kBlockSize || used_ + used + more > capacity_) {
            const std::size_t size = used + more <= kBlockSize ? kBlockSize : 2 * (used + more);
            std::unique_ptr<char[]> block(new char[size]);
            if (used) std::memcpy(block.get(), blocks_.back().get() + used_, used);
            blocks_.push_back(std::move(block));
            used_ = 0;
            capacity_ = size;
        }
        room = capacity_ - used_;
        return blocks_.back().get() + used_;
    }
    Text keep(std::size_t length) {
        Text t;
        t.offset = static_cast<std::uint32_t>(((blocks_.size() - 1) << kBlockBits) | used_);
        t.length = static_cast<std::uint32_t>(length);
        used_ += length; // past a block only for a text of its own, so the next one starts a block
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
    std::size_t capacity_ = 0; // of the last block
};

} // namespace quarnel

#pragma once
// A reusable set for finding repeated ids and names in a run of catalog records. Reset is
// O(1) (a generation counter marks live slots), so checking thousands of small runs costs
// no clearing and no allocation once the table is big enough.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace quarnel {

inline std::uint64_t hashKey(std::int64_t v) {
    std::uint64_t x = static_cast<std::uint64_t>(v) * 0x9E3779B97F4A7C15ull;
    return x ^ (x >> 29);
}

inline std::uint64_t hashKey(std::string_view s) {
    std::uint64_t h = 1469598103934665603ull; // FNV-1a
    for (unsigned char c : s)
        h = (h ^ c) * 1099511628211ull;
    return h;
}

template <class Key> class SeenSet {
public:
    // Starts an empty set for up to `expected` keys.
    void reset(std::size_t expected) {
        std::size_t want = 16;
        while (want < expected * 2)
            want *= 2;
        if (slots_.size() < want) {
            slots_.assign(want, Slot());
            generation_ = 0;
        }
        if (++generation_ == 0) { // wrapped: old marks could look live
            slots_.assign(slots_.size(), Slot());
            generation_ = 1;
        }
    }
    // False when the key was inserted before (since the last reset).
    bool insert(Key key) {
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t i = hashKey(key) & mask;; i = (i + 1) & mask) {
            Slot& s = slots_[i];
            if (s.generation != generation_) {
                s.generation = generation_;
                s.key = key;
                return true;
            }
            if (s.key == key) return false;
        }
    }

private:
    struct Slot {
        std::uint32_t generation = 0;
        Key key{};
    };
    std::vector<Slot> slots_;
    std::uint32_t generation_ = 0;
};

} // namespace quarnel

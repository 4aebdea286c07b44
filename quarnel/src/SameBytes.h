#pragma once
// Equality of short byte strings (element and attribute names) with a few word compares and
// no loop: a loop's exit depends on the length, which varies from name to name, and so is
// mispredicted about once per comparison. Never reads outside either string.

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace quarnel {

template <class Word> inline Word loadWord(const char* p) {
    Word w;
    std::memcpy(&w, p, sizeof w);
    return w;
}

// The first and the last word of both (overlapping when n is below two words).
template <class Word> inline bool sameEnds(const char* a, const char* b, std::size_t n) {
    const std::size_t last = n - sizeof(Word);
    return ((loadWord<Word>(a) ^ loadWord<Word>(b)) |
            (loadWord<Word>(a + last) ^ loadWord<Word>(b + last))) == 0;
}

// Inlined even where the compiler would rather call: the point is to have no call at all.
#if defined(__GNUC__)
#define QUARNEL_ALWAYS_INLINE __attribute__((always_inline)) inline
#else
#define QUARNEL_ALWAYS_INLINE inline
#endif

QUARNEL_ALWAYS_INLINE bool sameBytes(const char* a, const char* b, std::size_t n) {
    if (n >= 8) return n <= 16 ? sameEnds<std::uint64_t>(a, b, n) : std::memcmp(a, b, n) == 0;
    if (n >= 4) return sameEnds<std::uint32_t>(a, b, n);
    if (n >= 2) return sameEnds<std::uint16_t>(a, b, n);
    return n == 0 || *a == *b;
}

} // namespace quarnel

#pragma once
// Index-addressed storage that grows by whole chunks: growing never moves or copies the
// elements already stored, which matters for the hundreds of thousands of records a large
// catalog has (a doubling vector would copy them all, twice over).

#include <cstddef>
#include <memory>
#include <vector>

namespace quarnel {

template <class T, std::size_t ChunkBits = 12> class ChunkedVector {
public:
    static constexpr std::size_t kChunk = std::size_t(1) << ChunkBits;

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    T& operator[](std::size_t i) { return chunks_[i >> ChunkBits][i & (kChunk - 1)]; }
    const T& operator[](std::size_t i) const { return chunks_[i >> ChunkBits][i & (kChunk - 1)]; }

    // Grows only. Elements are default-constructed once, when their chunk is made, and
    // never reused, so the new ones need no further initialisation.
    void resize(std::size_t n) {
        while (chunks_.size() * kChunk < n)
            chunks_.push_back(std::unique_ptr<T[]>(new T[kChunk]));
        if (n > size_) size_ = n;
    }
    void push_back(const T& value) {
        resize(size_ + 1);
        (*this)[size_ - 1] = value;
    }

private:
    std::vector<std::unique_ptr<T[]>> chunks_;
    std::size_t size_ = 0;
};

} // namespace quarnel

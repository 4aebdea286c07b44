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

    // New elements are value-initialised.
    void resize(std::size_t n) {
        while (chunks_.size() * kChunk < n)
            chunks_.push_back(std::make_unique<T[]>(kChunk));
        for (std::size_t i = size_; i < n; ++i)
            (*this)[i] = T();
        size_ = n;
    }
    void push_back(const T& value) {
        resize(size_ + 1);
        (*this)[size_ - 1] = value;
    }
    std::size_t memoryUse() const {
        return chunks_.size() * kChunk * sizeof(T) + chunks_.capacity() * sizeof(void*);
    }

private:
    std::vector<std::unique_ptr<T[]>> chunks_;
    std::size_t size_ = 0;
};

} // namespace quarnel

#include "hostsdk/bit_array.h"

#include <algorithm>
#include <bit>
#include <stdexcept>

void BitArray::SetSize(int size, int keep) {
    count = std::max(size, 0);
    const std::size_t wordCount = (static_cast<std::size_t>(count) + 63) / 64;
    if (keep) {
        words.resize(wordCount, 0);
        ClearTail();
    } else {
        words.assign(wordCount, 0);
    }
}

void BitArray::SetAll() {
    std::fill(words.begin(), words.end(), ~std::uint64_t(0));
    ClearTail();
}

void BitArray::ClearAll() {
    std::fill(words.begin(), words.end(), 0);
}

int BitArray::NumberSet() const {
    int set = 0;
    for (const std::uint64_t word : words)
        set += std::popcount(word);
    return set;
}

void BitArray::OutOfRange() {
    throw std::out_of_range("BitArray: index outside the set");
}

void BitArray::ClearTail() {
    if (count % 64 != 0)
        words.back() &= (std::uint64_t(1) << (count % 64)) - 1;
}

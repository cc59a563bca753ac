#include "hostsdk/bit_array.h"

#include <algorithm>

void BitArray::SetSize(int size, int keep) {
    const std::size_t newSize = static_cast<std::size_t>(std::max(size, 0));
    if (keep)
        bits.resize(newSize, 0);
    else
        bits.assign(newSize, 0);
}

void BitArray::SetAll() {
    std::fill(bits.begin(), bits.end(), 1);
}

void BitArray::ClearAll() {
    std::fill(bits.begin(), bits.end(), 0);
}

int BitArray::NumberSet() const {
    return static_cast<int>(std::count(bits.begin(), bits.end(), 1));
}

#pragma once

#include "hostsdk/sdk_api.h"

#include <cstdint>
#include <vector>

// A resizable set of bits; the caller sizes it before use.
class SDK_API BitArray {
public:
    BitArray() = default;
    explicit BitArray(int size) { SetSize(size); }

    void SetSize(int size, int keep = 0);
    int GetSize() const { return static_cast<int>(bits.size()); }
    void Set(int i) { bits.at(static_cast<std::size_t>(i)) = 1; }
    void Clear(int i) { bits.at(static_cast<std::size_t>(i)) = 0; }
    void Set(int i, int value) { bits.at(static_cast<std::size_t>(i)) = value ? 1 : 0; }
    void SetAll();
    void ClearAll();
    int NumberSet() const;
    bool operator[](int i) const { return bits.at(static_cast<std::size_t>(i)) != 0; }

private:
    std::vector<std::uint8_t> bits;
};

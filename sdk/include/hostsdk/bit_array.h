#pragma once

#include "hostsdk/sdk_api.h"

#include <cstdint>
#include <vector>

// A resizable set of bits; the caller sizes it before use. An index outside the set throws
// std::out_of_range.
class SDK_API BitArray {
public:
    BitArray() = default;
    explicit BitArray(int size) { SetSize(size); }

    void SetSize(int size, int keep = 0);
    int GetSize() const { return count; }
    void Set(int i) { words[Word(i)] |= Bit(i); }
    void Clear(int i) { words[Word(i)] &= ~Bit(i); }
    void Set(int i, int value) { value ? Set(i) : Clear(i); }
    void SetAll();
    void ClearAll();
    int NumberSet() const;
    bool operator[](int i) const { return (words[Word(i)] & Bit(i)) != 0; }

private:
    // The word that holds bit i, after checking that the set has it.
    std::size_t Word(int i) const {
        if (i < 0 || i >= count)
            OutOfRange();
        return static_cast<std::size_t>(i) / 64;
    }
    static std::uint64_t Bit(int i) { return std::uint64_t(1) << (i % 64); }
    [[noreturn]] static void OutOfRange();
    // Clears the bits past the last one in the last word, which NumberSet would otherwise count.
    void ClearTail();

    // 64 to a word: a set of a face's membership for a mesh of millions of faces stays small.
    std::vector<std::uint64_t> words;
    int count = 0;
};

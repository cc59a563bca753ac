#pragma once

// The corner indices of one polygon: up to four held in place and more on the heap, so that a mesh of
// triangles and quads makes no allocation per face (a million-face model would otherwise make a million).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <utility>

class PolygonCorners {
public:
    using value_type = int;
    using iterator = int*;
    using const_iterator = const int*;

    PolygonCorners() = default;
    PolygonCorners(std::initializer_list<int> corners) { assign(corners.begin(), corners.end()); }
    PolygonCorners(const PolygonCorners& other) { assign(other.begin(), other.end()); }
    PolygonCorners(PolygonCorners&& other) noexcept { Take(other); }
    PolygonCorners& operator=(const PolygonCorners& other) {
        if (this != &other)
            assign(other.begin(), other.end());
        return *this;
    }
    PolygonCorners& operator=(PolygonCorners&& other) noexcept {
        if (this != &other)
            Take(other);
        return *this;
    }

    std::size_t size() const { return count; }
    bool empty() const { return count == 0; }
    int* data() { return spilled != nullptr ? spilled.get() : held; }
    const int* data() const { return spilled != nullptr ? spilled.get() : held; }
    int* begin() { return data(); }
    int* end() { return data() + count; }
    const int* begin() const { return data(); }
    const int* end() const { return data() + count; }
    int& operator[](std::size_t i) { return data()[i]; }
    const int& operator[](std::size_t i) const { return data()[i]; }

    template <class Iterator> void assign(Iterator first, Iterator last) {
        const auto n = static_cast<std::size_t>(std::distance(first, last));
        Room(n, 0);
        std::copy(first, last, data());
        count = static_cast<std::uint32_t>(n);
    }
    void assign(std::size_t n, int value) {
        Room(n, 0);
        std::fill_n(data(), n, value);
        count = static_cast<std::uint32_t>(n);
    }
    // Keeps the first corners; new ones hold `value`.
    void resize(std::size_t n, int value) {
        Room(n, std::min<std::size_t>(n, count));
        if (n > count)
            std::fill(data() + count, data() + n, value);
        count = static_cast<std::uint32_t>(n);
    }

    friend bool operator==(const PolygonCorners& a, const PolygonCorners& b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end());
    }

private:
    static constexpr std::size_t kHeld = 4;

    // Room for n corners, keeping the first `keep`.
    void Room(std::size_t n, std::size_t keep) {
        if (n <= Capacity())
            return;
        auto more = std::make_unique<int[]>(n);
        std::copy(data(), data() + keep, more.get());
        spilled = std::move(more);
        spilledCapacity = static_cast<std::uint32_t>(n);
    }
    std::size_t Capacity() const { return spilled != nullptr ? spilledCapacity : kHeld; }
    void Take(PolygonCorners& other) {
        count = std::exchange(other.count, 0);
        spilledCapacity = std::exchange(other.spilledCapacity, 0);
        spilled = std::move(other.spilled);
        std::copy(other.held, other.held + kHeld, held);
    }

    std::uint32_t count = 0;
    std::uint32_t spilledCapacity = 0;
    int held[kHeld] = {};
    std::unique_ptr<int[]> spilled;
};

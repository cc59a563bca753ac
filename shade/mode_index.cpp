#include "shade/mode_index.h"

#include <array>
#include <cmath>
#include <limits>

namespace mode_index {

int32_t Truncate(float value) {
    // 2^31 is exact in float; anything at or beyond it, and NaN, has no 32-bit value.
    if (!(value > -2147483904.0f && value < 2147483648.0f))
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

uint32_t UnsignedModulo(int32_t value, uint32_t n) {
    return static_cast<uint32_t>(value) % n;
}

uint32_t Clamp(int32_t index, uint32_t n) {
    if (index < 0)
        return 0;
    return static_cast<uint32_t>(index) > n - 1 ? n - 1 : static_cast<uint32_t>(index);
}

uint32_t Random(double r, uint32_t n) {
    return Clamp(Truncate(static_cast<float>(r) * static_cast<float>(n - 1)), n);
}

uint32_t Linear(uint32_t counter, uint32_t n) {
    return counter % n;
}

uint32_t Mirror(uint32_t counter, uint32_t n) {
    const uint32_t m = counter % (2 * n);
    return m <= n - 1 ? m : 2 * n - 1 - m;
}

uint32_t Mapping1D(float u, uint32_t n) {
    return Clamp(Truncate(static_cast<float>(n) * u), n);
}

uint32_t Mapping2D(float u, float v, uint32_t n) {
    const float s = static_cast<float>(Truncate(std::sqrt(static_cast<float>(n))));
    return Clamp(Truncate((s * v) * s + s * u), n);
}

namespace {

float CubeSide(uint32_t n) {
    return static_cast<float>(Truncate(std::pow(static_cast<float>(n), 0.33333334f)));
}

// The cube's side for every colour count a palette from a picture can have, computed once by the same
// formula: powf on every sample would cost more than the rest of the mode.
constexpr uint32_t kCubeSides = 128;
const std::array<float, kCubeSides> cubeSides = [] {
    std::array<float, kCubeSides> sides{};
    for (uint32_t n = 0; n < kCubeSides; ++n)
        sides[n] = CubeSide(n);
    return sides;
}();

} // namespace

uint32_t Mapping3D(float u, float v, float w, uint32_t n) {
    const float s = n < kCubeSides ? cubeSides[n] : CubeSide(n);
    return Clamp(Truncate(((s * v) * s + s * u) + ((s * w) * s) * s), n);
}

uint32_t Tiles(float u, float v, int32_t rows, int32_t columns, uint32_t n) {
    // Wide arithmetic: the row and column of a wild coordinate must not overflow.
    const int64_t index =
        int64_t{Truncate(static_cast<float>(rows) * v)} * columns + Truncate(static_cast<float>(columns) * u);
    if (index < 0)
        return 0;
    return index > int64_t{n} - 1 ? static_cast<uint32_t>(index % n) : static_cast<uint32_t>(index);
}

uint32_t InputMap(float value, uint32_t n) {
    return Clamp(Truncate(static_cast<float>(n) * value), n);
}

uint32_t BerconTileLinear(float u99, uint32_t n) {
    if (n == 1)
        return 0;
    int64_t id = Truncate(-u99);
    const int64_t period = int64_t{n} - 1;
    if (id < 0)
        id = (id % period + period) % period;
    return id > int64_t{n} - 1 ? static_cast<uint32_t>(id % n) : static_cast<uint32_t>(id);
}

int32_t BerconTileKey(float u99) {
    return Truncate(-u99);
}

int32_t InstanceKey(float first) {
    return Truncate(first * 10000.0f);
}

uint32_t InstanceElement(float first, float second, uint32_t n) {
    return UnsignedModulo(Truncate((first + second) * 50000.0f), n);
}

uint32_t NumberOrZero(int32_t number, uint32_t n) {
    return number == -1 ? 0 : UnsignedModulo(number, n);
}

} // namespace mode_index

#include "shade/mode_index.h"

#include <array>

namespace mode_index {

namespace {

float CubeSideOf(uint32_t n) {
    return static_cast<float>(Truncate(std::pow(static_cast<float>(n), 0.33333334f)));
}

// The cube's side for every colour count a palette from a picture can have, computed once by the same
// formula: powf on every sample would cost more than the rest of the mode.
constexpr uint32_t kCubeSides = 128;
const std::array<float, kCubeSides> cubeSides = [] {
    std::array<float, kCubeSides> sides{};
    for (uint32_t n = 0; n < kCubeSides; ++n)
        sides[n] = CubeSideOf(n);
    return sides;
}();

} // namespace

float CubeSide(uint32_t n) {
    return n < kCubeSides ? cubeSides[n] : CubeSideOf(n);
}

} // namespace mode_index

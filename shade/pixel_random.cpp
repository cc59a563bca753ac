#include "shade/pixel_random.h"

namespace {

constexpr int32_t kParkMillerMultiplier = 16807;
constexpr int32_t kParkMillerModulus = 2147483647;
constexpr int32_t kSchrageQuotient = kParkMillerModulus / kParkMillerMultiplier;  // 127773
constexpr int32_t kSchrageRemainder = kParkMillerModulus % kParkMillerMultiplier; // 2836

constexpr int32_t kHighBitThreshold = 0x40000000;

} // namespace

int32_t ParkMillerStep(int32_t state) {
    if (state <= kSchrageQuotient) {
        // Computed unsigned so that a negative seed's overflowing product wraps instead of being undefined.
        const auto product = static_cast<int32_t>(static_cast<uint32_t>(state) * kParkMillerMultiplier);
        return product % kParkMillerModulus;
    }
    const int32_t hi = state / kSchrageQuotient;
    const int32_t lo = state % kSchrageQuotient;
    const int32_t t = kParkMillerMultiplier * lo - kSchrageRemainder * hi;
    return t > 0 ? t : t + kParkMillerModulus;
}

constinit PixelRandom libraryPixelRandom;

void PixelRandom::Reseed(int32_t seed) {
    std::lock_guard guard(lock);
    int32_t state = seed;
    index = 0;
    for (uint32_t& word : table) {
        state = ParkMillerStep(state);
        word = static_cast<uint32_t>(state);
    }
    // Park–Miller words are 31 bits wide; a second pass supplies the top bit.
    for (uint32_t& word : table) {
        state = ParkMillerStep(state);
        if (state > kHighBitThreshold) {
            word |= 0x80000000u;
        }
    }
    // A triangular set of 32 words makes the table's bit columns linearly independent, so the
    // shift register reaches its full period whatever the fill.
    uint32_t mask = 0xFFFFFFFFu;
    uint32_t top = 0x80000000u;
    for (uint32_t j = 0; j < 32; ++j) {
        uint32_t& word = table[7 * j + 3];
        word = (word & mask) | top;
        mask >>= 1;
        top >>= 1;
    }
}

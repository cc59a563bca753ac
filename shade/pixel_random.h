#pragma once

#include "shade/spin_lock.h"

#include <array>
#include <cstdint>
#include <mutex>

// Seed of the library-wide stream at the start of every render.
constexpr int32_t kPixelRandomSeed = 185401;

// One step of the Park–Miller minimal standard generator (multiplier 16807, modulus 2^31 − 1), by
// Schrage's method so that states in 1..2^31 − 2 never leave 32 signed bits. Other states (only seeds
// give them) follow the same 32-bit arithmetic: products wrap as two's complement, remainders keep the
// dividend's sign; 0 stays 0.
int32_t ParkMillerStep(int32_t state);

// The R250 shift-register stream used by the "Random" mode, its table filled from Park–Miller. Reseeding
// and drawing are each atomic with respect to one another, so render threads may share one stream.
class PixelRandom {
public:
    static constexpr uint32_t kLength = 250;

    // All-zero table: every draw before the first reseed gives 0.0.
    constexpr PixelRandom() = default;

    void Reseed(int32_t seed);

    // The next value in [0, 1]; 1.0 only for the table word 0xFFFFFFFF. Defined here: "Random" draws on
    // every sample.
    double Next() {
        uint32_t value;
        {
            std::lock_guard guard(lock);
            const uint32_t i = index;
            const uint32_t partner = i >= kTapBehind ? i - kTapBehind : i + (kLength - kTapBehind);
            table[i] ^= table[partner];
            value = table[i];
            index = i + 1 < kLength ? i + 1 : 0;
        }
        return value / 4294967295.0;
    }

private:
    // The partner word lies 103 ahead in the circular table, that is 147 behind.
    static constexpr uint32_t kTapBehind = 147;

    SpinLock lock;
    std::array<uint32_t, kLength> table{};
    uint32_t index = 0; // the next word to update
};

// The one stream of the whole library, shared by every map and render thread; built before any code runs,
// so it is ready whenever a map is.
extern constinit PixelRandom libraryPixelRandom;
inline PixelRandom& LibraryPixelRandom() {
    return libraryPixelRandom;
}

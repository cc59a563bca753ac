#pragma once

#include <cstdint>
#include <random>

// Multiplier of the keyed seed for instance values, polygon numbers and tile numbers.
constexpr uint32_t kKeyMultiplier = 185401;
// Multiplier of the keyed seed for node numbers and V-Ray instance numbers.
constexpr uint32_t kNodeKeyMultiplier = 1809;

// The seed of a key: key × multiplier modulo 2^32, a negative key taken as its two's-complement pattern.
constexpr uint32_t KeyedSeed(int32_t key, uint32_t multiplier) {
    return static_cast<uint32_t>(key) * multiplier;
}

// The 32-bit Mersenne Twister MT19937 of one map. The keyed modes reseed it before every draw, so a key
// always yields the first output of the same sequence whatever was drawn before. Not thread-safe: the
// map guards it with its own lock.
class KeyedRandom {
public:
    // Initialises the 624 state words from seed; the next output is the sequence's first.
    void Reseed(uint32_t seed);

    // The next tempered output.
    uint32_t Next32();

    // The first output of the sequence seeded with the key's seed: the one draw of a keyed mode. It is
    // worked out from the only three seeded words it depends on, without reseeding the generator, whose
    // state no draw reads.
    uint32_t Draw(int32_t key, uint32_t multiplier);

private:
    // The standard engine is the published MT19937 (initialisation multiplier 1812433253, twist 0x9908B0DF,
    // tempering 11, 7, 15, 18): the same outputs in every build.
    std::mt19937 engine;
};

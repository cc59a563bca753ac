#include "shade/keyed_random.h"

void KeyedRandom::Reseed(uint32_t seed) {
    engine.seed(seed);
}

// The engine's result type may be wider than 32 bits; its values never are.
uint32_t KeyedRandom::Next32() {
    return static_cast<uint32_t>(engine());
}

uint32_t KeyedRandom::Draw(int32_t key, uint32_t multiplier) {
    // Seeding fills word i from word i - 1; the first output regenerates word 0 from words 0, 1 and 397
    // (the middle offset) and tempers it. The rest of the 624 words and their regeneration play no part.
    const auto next = [](uint32_t word, uint32_t i) { return 1812433253u * (word ^ (word >> 30)) + i; };
    const uint32_t first = KeyedSeed(key, multiplier);
    const uint32_t second = next(first, 1);
    uint32_t word = second;
    for (uint32_t i = 2; i <= 397; ++i)
        word = next(word, i);
    const uint32_t y = (first & 0x80000000u) | (second & 0x7FFFFFFFu);
    uint32_t z = word ^ (y >> 1) ^ ((y & 1u) != 0 ? 0x9908B0DFu : 0u);
    z ^= z >> 11;
    z ^= (z << 7) & 2636928640u;
    z ^= (z << 15) & 4022730752u;
    return z ^ (z >> 18);
}

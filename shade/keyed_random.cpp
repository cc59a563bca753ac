#include "shade/keyed_random.h"

void KeyedRandom::Reseed(uint32_t seed) {
    engine.seed(seed);
}

// The engine's result type may be wider than 32 bits; its values never are.
uint32_t KeyedRandom::Next32() {
    return static_cast<uint32_t>(engine());
}

uint32_t KeyedRandom::Draw(int32_t key, uint32_t multiplier) {
    Reseed(KeyedSeed(key, multiplier));
    return Next32();
}

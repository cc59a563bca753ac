#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

// Deterministic sample sets for comparing the clusterer with its plain definition.

// Uniform values in [low, high) from a fixed linear congruential sequence.
inline std::vector<float> UniformSamples(uint32_t count, float low, float high, uint32_t seed) {
    std::vector<float> values(count);
    for (float& value : values) {
        seed = seed * 1664525u + 1013904223u;
        value = low + (high - low) * (static_cast<float>(seed >> 8) / 16777216.0f);
    }
    return values;
}

// Values from a few levels only (0, 1/4, ... 1): full of duplicates and exactly equal distances.
inline std::vector<float> LatticeSamples(uint32_t count, uint32_t seed) {
    std::vector<float> values(count);
    for (float& value : values) {
        seed = seed * 1664525u + 1013904223u;
        value = static_cast<float>((seed >> 16) % 5) * 0.25f;
    }
    return values;
}

// Centres drawn from the samples (so some coincide with them), some repeated, plus a few of their own.
inline std::vector<float> CentresFor(const std::vector<float>& samples, uint32_t k, uint32_t seed) {
    std::vector<float> centres;
    const uint32_t n = static_cast<uint32_t>(samples.size() / 4);
    for (uint32_t i = 0; i < k; ++i) {
        seed = seed * 1664525u + 1013904223u;
        const uint32_t from = i % 5 == 4 ? 0 : (seed >> 8) % n; // every fifth repeats sample 0
        centres.insert(centres.end(), samples.begin() + from * 4, samples.begin() + from * 4 + 4);
    }
    const std::vector<float> own = UniformSamples(4 * 3, 0.0f, 1.0f, seed);
    centres.insert(centres.end(), own.begin(), own.end());
    return centres;
}

// Bit patterns, so that NaN results compare equal to themselves.
inline std::vector<uint32_t> Bits(const float* values, size_t count) {
    std::vector<uint32_t> bits(count);
    std::memcpy(bits.data(), values, count * sizeof(float));
    return bits;
}

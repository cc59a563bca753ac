#pragma once

#include <cstdint>

// Instruction sets the nearest-centre search can use. Every level gives the same bits; they differ only
// in speed.
enum class SimdLevel : uint8_t {
    Scalar, // plain loops
    Sse2,   // four centres per instruction (every x86-64 processor)
    Avx2,   // eight centres per instruction
    Best,   // the widest the running processor supports
};

// How a k-means run spreads its work. Results never depend on these settings.
struct KMeansExecution {
    uint32_t threads = 0; // 0: one per hardware thread
    SimdLevel simd = SimdLevel::Best;
    bool pruning = true; // false: every sample is measured against every centre
};

// The level actually used for a request: Best and unsupported levels fall back to what the processor has.
SimdLevel ResolveSimdLevel(SimdLevel requested);

// The number of threads actually used for a request (at least 1).
uint32_t ResolveThreadCount(uint32_t requested);

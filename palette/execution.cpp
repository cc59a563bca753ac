#include "palette/execution.h"

#include <algorithm>
#include <thread>

namespace {

bool ProcessorHasAvx2() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2");
}

} // namespace

SimdLevel ResolveSimdLevel(SimdLevel requested) {
    static const bool avx2 = ProcessorHasAvx2();
    if (requested == SimdLevel::Best || requested == SimdLevel::Avx2)
        return avx2 ? SimdLevel::Avx2 : SimdLevel::Sse2;
    return requested;
}

uint32_t ResolveThreadCount(uint32_t requested) {
    // More threads than this gain nothing at 65,536 samples: the serial steps of an iteration dominate.
    constexpr uint32_t kMostThreads = 8;
    if (requested == 0)
        requested = std::thread::hardware_concurrency();
    return std::clamp<uint32_t>(requested, 1, kMostThreads);
}

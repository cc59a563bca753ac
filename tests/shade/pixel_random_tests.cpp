#include "shade/pixel_random.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <numeric>
#include <thread>
#include <vector>

namespace {

std::vector<double> Draws(PixelRandom& random, size_t count) {
    std::vector<double> values(count);
    for (double& value : values) {
        value = random.Next();
    }
    return values;
}

// base^exponent mod modulus in 64-bit arithmetic, apart from the generator's own Schrage steps.
uint64_t PowerModulo(uint64_t base, uint64_t exponent, uint64_t modulus) {
    uint64_t result = 1;
    for (base %= modulus; exponent != 0; exponent >>= 1, base = base * base % modulus)
        if (exponent & 1)
            result = result * base % modulus;
    return result;
}

} // namespace

TEST(PixelRandom, RenderSeedGivesGoldenValues) {
    EXPECT_EQ(ParkMillerStep(185401), 968550960);
    EXPECT_EQ(ParkMillerStep(968550960), 509940460);
    EXPECT_EQ(ParkMillerStep(509940460), 2109559690);
    // The minimal standard's published check: the 10000th state from seed 1.
    int32_t state = 1;
    for (int i = 0; i < 10000; ++i) {
        state = ParkMillerStep(state);
    }
    EXPECT_EQ(state, 1043618065);

    PixelRandom random;
    random.Reseed(kPixelRandomSeed);
    const std::vector<double> values = Draws(random, 10000);
    EXPECT_EQ(values[0], 0.15822121737483452);
    EXPECT_EQ(values[1], 0.45836149166765655);
    EXPECT_EQ(values[2], 0.3219725576513383);
    EXPECT_EQ(values[3], 0.44447184620529223);
    EXPECT_EQ(values[4], 0.8259827822507319);
    // Pins every later draw too: the tap's and the table's wrap-arounds, and rounds that reuse updated words.
    EXPECT_EQ(std::accumulate(values.begin(), values.end(), 0.0), 5027.446029018706);
}

TEST(PixelRandom, AHighBitStateOfExactlyTheThresholdLeavesTheTopBitClear) {
    // The k-th Park–Miller state from a seed is seed × 16807^k mod (2^31 − 1). The table takes states 1 to
    // 250; the top-bit pass states 251 to 500, so its first state decides table[0]'s top bit.
    constexpr uint64_t kModulus = 2147483647;
    constexpr uint64_t kThreshold = 0x40000000;
    const uint64_t inverse = PowerModulo(16807, kModulus - 2, kModulus);
    const uint64_t seed = kThreshold * PowerModulo(inverse, 251, kModulus) % kModulus;
    const auto state = [&](uint64_t k) { return seed * PowerModulo(16807, k, kModulus) % kModulus; };
    ASSERT_EQ(state(251), kThreshold);
    // The first draw is table[0] XOR table[103]; neither is one of the diagonal words 7j + 3.
    const uint64_t word0 = state(1); // the threshold itself is not above it
    const uint64_t word103 = state(104) | (state(251 + 103) > kThreshold ? 0x80000000u : 0u);
    PixelRandom random;
    random.Reseed(static_cast<int32_t>(seed));
    EXPECT_EQ(random.Next(), static_cast<double>(word0 ^ word103) / 4294967295.0);
}

TEST(PixelRandom, ReseedRestartsSequence) {
    PixelRandom random;
    EXPECT_EQ(Draws(random, 2 * PixelRandom::kLength), std::vector<double>(2 * PixelRandom::kLength, 0.0));
    random.Reseed(kPixelRandomSeed);
    const std::vector<double> first = Draws(random, 300);
    random.Reseed(kPixelRandomSeed);
    EXPECT_EQ(Draws(random, 300), first);
    // Seeds outside the Park–Miller range still give one defined stream (and no overflow under UBSan).
    for (int32_t seed : {0, -1, INT32_MIN, INT32_MAX}) {
        random.Reseed(seed);
        const std::vector<double> again = Draws(random, 300);
        random.Reseed(seed);
        EXPECT_EQ(Draws(random, 300), again) << seed;
    }
    PixelRandom& library = LibraryPixelRandom();
    EXPECT_EQ(&library, &LibraryPixelRandom());
    library.Reseed(kPixelRandomSeed);
    EXPECT_EQ(library.Next(), first[0]);
}

TEST(PixelRandom, ConcurrentDrawsLoseAndRepeatNothing) {
    constexpr size_t kThreads = 4;
    constexpr size_t kPerThread = 50000;
    PixelRandom reference;
    reference.Reseed(kPixelRandomSeed);
    std::vector<double> expected = Draws(reference, kThreads * kPerThread);

    PixelRandom shared;
    shared.Reseed(kPixelRandomSeed);
    std::vector<std::vector<double>> perThread(kThreads);
    std::vector<std::thread> threads;
    // All threads start together, so that their draws overlap. A plain spin keeps the test independent of
    // the runtime's support for waiting on atomics (under Wine a latch once never woke).
    std::atomic<size_t> waiting{kThreads};
    for (auto& values : perThread) {
        threads.emplace_back([&] {
            waiting.fetch_sub(1);
            while (waiting.load() != 0)
                std::this_thread::yield();
            values = Draws(shared, kPerThread);
        });
    }
    std::vector<double> drawn;
    for (size_t t = 0; t < kThreads; ++t) {
        threads[t].join();
        drawn.insert(drawn.end(), perThread[t].begin(), perThread[t].end());
    }
    std::sort(drawn.begin(), drawn.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_TRUE(drawn == expected) << "draws were lost or repeated";
}

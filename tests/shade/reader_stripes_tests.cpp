#include "shade/reader_stripes.h"

#include <gtest/gtest.h>

#include <barrier>
#include <set>
#include <thread>
#include <vector>

namespace {

// Stripes are handed out in turn, once per thread: sixteen threads that start reading together get a
// stripe each, so no two of them write the same cache line.
TEST(ReaderStripes, SixteenThreadsGetSixteenStripes) {
    std::vector<std::size_t> stripes(ReaderStripes::kStripes);
    std::barrier started(static_cast<std::ptrdiff_t>(ReaderStripes::kStripes));
    std::vector<std::thread> threads;
    for (std::size_t t = 0; t < ReaderStripes::kStripes; ++t)
        threads.emplace_back([&, t] {
            started.arrive_and_wait();
            stripes[t] = ReaderStripes::ThreadStripe();
            EXPECT_EQ(ReaderStripes::ThreadStripe(), stripes[t]) << "a thread keeps its stripe";
        });
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(std::set<std::size_t>(stripes.begin(), stripes.end()).size(), ReaderStripes::kStripes);
}

TEST(ReaderStripes, ACounterIsIdleOnceItsLastReaderLeaves) {
    ReaderStripes readers;
    const std::size_t first = readers.Enter(5, 2);
    const std::size_t second = readers.Enter(5 + ReaderStripes::kStripes, 2); // the same stripe
    EXPECT_EQ(first, second);
    EXPECT_EQ(first, 5 * ReaderStripes::kSlots + 2);
    const ReaderStripes::CounterSet all = ~ReaderStripes::CounterSet{0};
    EXPECT_EQ(readers.IdleCounters(), all & ~(ReaderStripes::CounterSet{1} << first));
    EXPECT_FALSE(readers.Leave(first));
    EXPECT_TRUE(readers.Leave(second));
    EXPECT_EQ(readers.IdleCounters(), all);
}

TEST(ReaderStripes, CountersOfASlotSpanEveryStripe) {
    EXPECT_EQ(ReaderStripes::CountersOf(0b0001), 0x1111111111111111u);
    EXPECT_EQ(ReaderStripes::CountersOf(0b1010), 0xAAAAAAAAAAAAAAAAu);
    EXPECT_EQ(ReaderStripes::CountersOf(0b1111), ~ReaderStripes::CounterSet{0});
}

} // namespace

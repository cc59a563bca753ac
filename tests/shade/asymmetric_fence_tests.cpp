#include "shade/asymmetric_fence.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

// The pattern the fences exist for, round after round: a reader stores to its slot and loads the shared
// pointer, the writer stores the pointer and looks at the slot. Processors with store buffers let both
// loads miss the other's store unless the fences order them; with them, at least one sees the other.
TEST(AsymmetricFence, AReaderAndTheWriterNeverBothMissTheOthersStore) {
    constexpr int kRounds = 20000;
    struct Round {
        std::atomic<int> slot{0};
        std::atomic<int> pointer{0};
        int readerSaw = -1;
        int writerSaw = -1;
    };
    std::vector<Round> rounds(kRounds);
    std::atomic<int> started{-1};
    std::atomic<int> readerDone{-1};
    const bool available = asymmetric_fence::Available();
    std::thread reader([&] {
        for (int i = 0; i < kRounds; ++i) {
            while (started.load(std::memory_order_acquire) < i)
                std::this_thread::yield();
            Round& round = rounds[static_cast<std::size_t>(i)];
            round.slot.store(1, asymmetric_fence::kHoldOrder);
            asymmetric_fence::Light(available);
            round.readerSaw = round.pointer.load(asymmetric_fence::kCheckOrder);
            readerDone.store(i, std::memory_order_release);
        }
    });
    int bothMissed = 0;
    int firstBothMissed = -1;
    for (int i = 0; i < kRounds; ++i) {
        Round& round = rounds[static_cast<std::size_t>(i)];
        started.store(i, std::memory_order_release);
        round.pointer.store(1, std::memory_order_seq_cst);
        ASSERT_TRUE(asymmetric_fence::Heavy());
        round.writerSaw = round.slot.load(std::memory_order_seq_cst);
        while (readerDone.load(std::memory_order_acquire) < i)
            std::this_thread::yield();
        if (round.readerSaw == 0 && round.writerSaw == 0 && bothMissed++ == 0)
            firstBothMissed = i;
    }
    reader.join();
    EXPECT_EQ(bothMissed, 0) << "rounds where neither saw the other's store, the first " << firstBothMissed
                             << " (process-wide barrier " << (available ? "available" : "missing") << ")";
}

} // namespace

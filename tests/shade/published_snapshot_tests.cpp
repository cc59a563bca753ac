#include "shade/published_snapshot.h"

#include <gtest/gtest.h>

#include "failing_allocation.h"

#include <atomic>
#include <deque>
#include <memory>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

// Where readers put what they read, so that the read is not optimised away.
std::atomic<int> readSink{0};

// A value that counts how many of its kind are alive, so a test sees when a snapshot is freed.
struct Tracked {
    explicit Tracked(int v = 0, std::atomic<int>* alive_ = nullptr) : value(v), alive(alive_) {
        if (alive != nullptr)
            alive->fetch_add(1);
    }
    Tracked(Tracked&& other) noexcept : value(other.value), alive(std::exchange(other.alive, nullptr)) {}
    Tracked(const Tracked&) = delete;
    ~Tracked() {
        if (alive != nullptr)
            alive->fetch_sub(1);
    }
    int value;
    std::atomic<int>* alive;
};

TEST(PublishedSnapshot, APinKeepsOnlyItsOwnSnapshotUntilItLeaves) {
    std::atomic<int> alive{0};
    PublishedSnapshot<Tracked> cell(Tracked(1, &alive));
    {
        auto pin = cell.Read(3);
        cell.Publish(Tracked(2, &alive));
        cell.Publish(Tracked(3, &alive));
        EXPECT_EQ(pin->value, 1) << "a pin sees the snapshot it took, not later ones";
        EXPECT_EQ(cell.Read(3)->value, 3) << "a new reader in the same stripe sees the newest";
        EXPECT_EQ(alive.load(), 2) << "the pinned snapshot waits; the one replaced after it does not";
        EXPECT_EQ(cell.RetiredCount(), 1u);
    }
    EXPECT_EQ(alive.load(), 1) << "the pin that leaves last frees what it held, without a reclaim";
    EXPECT_EQ(cell.RetiredCount(), 0u);
    EXPECT_EQ(cell.Read()->value, 3);
}

TEST(PublishedSnapshot, WithoutReadersAReplacedSnapshotIsFreedAtOnce) {
    std::atomic<int> alive{0};
    PublishedSnapshot<Tracked> cell(Tracked(1, &alive));
    for (int i = 2; i < 50; ++i) {
        cell.Publish(Tracked(i, &alive));
        EXPECT_EQ(alive.load(), 1) << "publication " << i;
    }
    EXPECT_EQ(cell.RetiredCount(), 0u);
}

// A stripe that is never idle, because its thread keeps reading, holds back nothing but what its readers
// took: each replacement sends new readers to another slot, and the old slot drains.
TEST(PublishedSnapshot, ABusyStripeHoldsBackOnlyWhatItsReadersTook) {
    std::atomic<int> alive{0};
    PublishedSnapshot<Tracked> cell(Tracked(1, &alive));
    auto reader = std::make_unique<PublishedSnapshot<Tracked>::Pin>(cell.Read(0));
    for (int i = 2; i <= 20; ++i) {
        cell.Publish(Tracked(i, &alive));
        EXPECT_EQ(alive.load(), 2) << "publication " << i << ": the current one and the one being read";
        auto next = cell.Read(0); // the stripe's next sample, before the last one ends
        EXPECT_EQ(next->value, i);
        reader.reset();
        EXPECT_EQ(alive.load(), 1) << "publication " << i << ": the earlier one went with its reader";
        reader = std::make_unique<PublishedSnapshot<Tracked>::Pin>(std::move(next));
    }
    reader.reset();
    EXPECT_EQ(cell.RetiredCount(), 0u);
}

// The review's case: a pin held through 50,000 replacements. Only the pinned snapshot is kept, in one
// group, so each replacement looks at one group whatever the number of replacements so far.
TEST(PublishedSnapshot, APinHeldThroughManyReplacementsKeepsOneSnapshot) {
    std::atomic<int> alive{0};
    PublishedSnapshot<Tracked> cell(Tracked(0, &alive));
    {
        auto held = cell.Read(7);
        for (int i = 1; i <= 50000; ++i) {
            cell.Publish(Tracked(i, &alive));
            if (i % 5000 == 0) {
                ASSERT_EQ(alive.load(), 2)
                    << "after " << i << " replacements: the pinned one and the current";
                ASSERT_EQ(cell.RetiredCount(), 1u);
                ASSERT_EQ(cell.RetiredGroupCount(), 1u);
            }
        }
        EXPECT_EQ(held->value, 0);
    }
    EXPECT_EQ(alive.load(), 1);
}

// Long pins in every other slot: new readers cannot move to an idle slot, so they stay in the current one,
// and what is replaced meanwhile waits for that slot's readers, however many replacements follow.
TEST(PublishedSnapshot, WithEveryOtherSlotHeldReadersStayInTheirSlot) {
    std::atomic<int> alive{0};
    PublishedSnapshot<Tracked> cell(Tracked(1, &alive));
    std::vector<PublishedSnapshot<Tracked>::Pin> held;
    held.push_back(cell.Read(2)); // holds 1
    for (int i = 2; i <= 4; ++i) {
        cell.Publish(Tracked(i, &alive));
        held.push_back(cell.Read(2)); // holds i, in the slot moved to
    }
    EXPECT_EQ(alive.load(), 4) << "each held snapshot is kept";
    cell.Publish(Tracked(5, &alive)); // no idle slot: readers stay in the slot of the pin of 4
    cell.Publish(Tracked(6, &alive)); // 5 was current in that slot only, so it waits for the same pin
    EXPECT_EQ(alive.load(), 6);
    EXPECT_EQ(cell.RetiredCount(), 5u);
    EXPECT_EQ(cell.RetiredGroupCount(), 4u) << "4 and 5 wait for the same counter: one group";
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(held[static_cast<std::size_t>(i)]->value, i + 1);
    held.pop_back();
    EXPECT_EQ(alive.load(), 4) << "the pin of 4 was the last reader of 4 and of 5";
    held.clear();
    EXPECT_EQ(alive.load(), 1);
    EXPECT_EQ(cell.RetiredCount(), 0u);
}

// Pins held in three slots at a time, in one stripe, each new one taken after a replacement: the one idle
// slot is always the next, and the writer moves readers there, so each pin's counter is its own and a
// released pin frees its snapshot at once. (The slot a snapshot was moved into at its replacement was seen
// idle then, so it holds nothing back.)
TEST(PublishedSnapshot, ReadersMoveOnWhileThreeSlotsAreHeld) {
    std::atomic<int> alive{0};
    PublishedSnapshot<Tracked> cell(Tracked(1, &alive));
    std::deque<PublishedSnapshot<Tracked>::Pin> held;
    held.push_back(cell.Read(0));
    for (int i = 2; i <= 40; ++i) {
        cell.Publish(Tracked(i, &alive));
        held.push_back(cell.Read(0));
        if (held.size() > 3)
            held.pop_front();
        if (i >= 3) {
            ASSERT_EQ(alive.load(), 3) << "after " << i << ": the three held, " << i - 2 << " to " << i;
        }
    }
    held.clear();
    EXPECT_EQ(alive.load(), 1);
}

TEST(PublishedSnapshot, AMovedPinCountsOnce) {
    std::atomic<int> alive{0};
    PublishedSnapshot<Tracked> cell(Tracked(1, &alive));
    {
        auto pin = cell.Read(2);
        auto moved = std::move(pin);
        EXPECT_EQ(pin.get(), nullptr);
        EXPECT_EQ(moved.get(), &*moved);
        EXPECT_EQ(moved->value, 1);
        cell.Publish(Tracked(2, &alive));
        EXPECT_EQ(alive.load(), 2);
    }
    EXPECT_EQ(alive.load(), 1) << "the moved-from pin left the stripe alone";
    EXPECT_EQ(cell.RetiredCount(), 0u);
}

// A replacement whose allocation fails, or whose value cannot be made, changes nothing: readers, new and
// old, find what they found before, and a later replacement works.
TEST(PublishedSnapshot, AFailedReplacementLeavesEveryReaderSafe) {
    std::atomic<int> alive{0};
    PublishedSnapshot<Tracked> cell(Tracked(1, &alive));
    auto pin = cell.Read(1);
    cell.Publish(Tracked(2, &alive)); // 1 waits for the pin
    auto second = cell.Read(4);
    FailAllocationsAfter(0);
    EXPECT_THROW(cell.Publish(Tracked(3, &alive)), std::bad_alloc);
    StopFailingAllocations();
    EXPECT_THROW(cell.Replace([](const Tracked&) -> Tracked { throw std::runtime_error("no value"); }),
                 std::runtime_error);
    EXPECT_EQ(cell.Read(5)->value, 2);
    EXPECT_EQ(pin->value, 1);
    EXPECT_EQ(second->value, 2);
    EXPECT_EQ(cell.RetiredCount(), 1u);
    EXPECT_EQ(alive.load(), 2) << "the values that were never published are gone";
    cell.Publish(Tracked(4, &alive));
    EXPECT_EQ(cell.Read(5)->value, 4);
    EXPECT_EQ(second->value, 2) << "the reader of 2 keeps it";
    EXPECT_EQ(alive.load(), 3);
}

// A long-held pin on one thread, readers coming and going on others, replacements all the while: once the
// other readers are gone, exactly the held snapshot and the current one are left.
TEST(PublishedSnapshot, AHeldPinAmongBusyReadersKeepsOnlyItsSnapshot) {
    std::atomic<int> alive{0};
    PublishedSnapshot<Tracked> cell(Tracked(0, &alive));
    auto held = cell.Read();
    std::atomic<bool> writing{true};
    std::vector<std::thread> readers;
    for (int t = 0; t < 3; ++t)
        readers.emplace_back([&] {
            while (writing.load()) {
                auto pin = cell.Read();
                readSink.store(pin->value, std::memory_order_relaxed);
            }
        });
    for (int i = 1; i <= 20000; ++i)
        cell.Publish(Tracked(i, &alive));
    writing.store(false);
    for (std::thread& reader : readers)
        reader.join();
    EXPECT_EQ(held->value, 0);
    EXPECT_EQ(alive.load(), 2) << "the held snapshot and the current one";
    EXPECT_EQ(cell.RetiredCount(), 1u) << "the readers that left freed what they held back";
}

// Readers on several threads, a writer replacing the value all the while: under the sanitizers a read of a
// freed snapshot or a race is a failure; everywhere a reader must see whole values that only grow.
TEST(PublishedSnapshot, ThreadsReadWhileTheWriterPublishes) {
    std::atomic<int> alive{0};
    PublishedSnapshot<Tracked> cell(Tracked(0, &alive));
    std::atomic<bool> writing{true};
    std::atomic<int> wrong{0};
    std::vector<std::thread> readers;
    for (int t = 0; t < 4; ++t)
        readers.emplace_back([&] {
            int last = 0;
            while (writing.load()) {
                auto pin = cell.Read();
                const int seen = pin->value;
                std::this_thread::yield();
                if (pin->value != seen || seen < last)
                    wrong.fetch_add(1);
                last = seen;
            }
        });
    for (int i = 1; i <= 4000; ++i)
        cell.Publish(Tracked(i, &alive));
    writing.store(false);
    for (std::thread& reader : readers)
        reader.join();
    EXPECT_EQ(wrong.load(), 0);
    EXPECT_EQ(alive.load(), 1) << "every replaced snapshot is freed once the readers are gone";
}

} // namespace

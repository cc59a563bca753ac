#include "snapshot/published_snapshot.h"

#include <gtest/gtest.h>

#include "failing_allocation.h"

#include <atomic>
#include <cstddef>
#include <future>
#include <iterator>
#include <list>
#include <memory>
#include <optional>
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

// A cell holding value 1, its snapshots counted in `alive`.
class PublishedSnapshotCell : public ::testing::Test {
protected:
    Tracked Value(int v) { return Tracked(v, &alive); }
    std::atomic<int> alive{0};
    PublishedSnapshot<Tracked> cell{Tracked(1, &alive)};
};

TEST_F(PublishedSnapshotCell, APinKeepsOnlyItsOwnSnapshotUntilItLeaves) {
    {
        auto pin = cell.Read();
        cell.Publish(Value(2));
        cell.Publish(Value(3));
        EXPECT_EQ(pin->value, 1) << "a pin sees the snapshot it took, not later ones";
        EXPECT_EQ(cell.Read()->value, 3) << "a new reader on the same thread sees the newest";
        EXPECT_EQ(alive.load(), 2) << "the pinned snapshot waits; the one replaced after it does not";
        EXPECT_EQ(cell.RetiredCount(), 1u);
    }
    EXPECT_EQ(alive.load(), 1) << "the pin that leaves last frees what it held, without a reclaim";
    EXPECT_EQ(cell.RetiredCount(), 0u);
    EXPECT_EQ(cell.Read()->value, 3);
}

TEST_F(PublishedSnapshotCell, AMovedPinCountsOnce) {
    {
        auto pin = cell.Read();
        auto moved = std::move(pin);
        EXPECT_EQ(pin.get(), nullptr);
        EXPECT_EQ(moved.get(), &*moved);
        EXPECT_EQ(moved->value, 1);
        cell.Publish(Value(2));
        EXPECT_EQ(alive.load(), 2);
    }
    EXPECT_EQ(alive.load(), 1) << "the moved-from pin left the slot alone";
    EXPECT_EQ(cell.RetiredCount(), 0u);
}

// A thread that reads without pause, each sample pinned before the last one lets go, holds back nothing but
// what its pins hold.
TEST_F(PublishedSnapshotCell, OverlappingPinsHoldBackOnlyWhatTheyHold) {
    auto reader = std::make_unique<PublishedSnapshot<Tracked>::Pin>(cell.Read());
    for (int i = 2; i <= 20; ++i) {
        cell.Publish(Value(i));
        EXPECT_EQ(alive.load(), 2) << "publication " << i << ": the current one and the one being read";
        auto next = cell.Read();
        EXPECT_EQ(next->value, i);
        reader.reset();
        EXPECT_EQ(alive.load(), 1) << "publication " << i << ": the earlier one went with its reader";
        reader = std::make_unique<PublishedSnapshot<Tracked>::Pin>(std::move(next));
    }
    reader.reset();
    EXPECT_EQ(cell.RetiredCount(), 0u);
}

// More pins on one thread than a record has slots: each keeps its own snapshot, and each frees it when it
// lets go, in any order.
TEST_F(PublishedSnapshotCell, ManyPinsOnOneThreadEachKeepTheirOwn) {
    constexpr int kPins = 3 * static_cast<int>(HazardRecord::kSlots) + 1;
    std::list<PublishedSnapshot<Tracked>::Pin> held;
    for (int i = 1; i <= kPins; ++i) {
        held.push_back(cell.Read());
        cell.Publish(Value(i + 1));
    }
    EXPECT_EQ(alive.load(), kPins + 1) << "every pinned snapshot and the current one";
    int expected = 1;
    for (const auto& pin : held)
        ASSERT_EQ(pin->value, expected++);
    int left = kPins;
    while (!held.empty()) {
        // From the middle, so that slots of several records empty in no particular order.
        held.erase(std::next(held.begin(), static_cast<std::ptrdiff_t>(held.size() / 2)));
        --left;
        ASSERT_EQ(alive.load(), left + 1) << "each pin freed its snapshot as it let go";
    }
    EXPECT_EQ(cell.RetiredCount(), 0u);
}

// A pin held on another thread is seen by the writer: its snapshot outlives any number of replacements,
// and that thread frees it when it lets go.
TEST_F(PublishedSnapshotCell, APinOnAnotherThreadKeepsItsSnapshotUntilThatThreadLetsGo) {
    std::promise<void> pinned;
    std::promise<void> replaced;
    std::atomic<int> seen{0};
    std::thread reader([&] {
        auto pin = cell.Read();
        pinned.set_value();
        replaced.get_future().wait();
        seen.store(pin->value);
    });
    pinned.get_future().wait();
    for (int i = 2; i <= 100; ++i)
        cell.Publish(Value(i));
    EXPECT_EQ(alive.load(), 2) << "the other thread's snapshot and the current one";
    EXPECT_EQ(cell.RetiredCount(), 1u);
    replaced.set_value();
    reader.join();
    EXPECT_EQ(seen.load(), 1);
    EXPECT_EQ(alive.load(), 1) << "the reader that let go freed what it held";
    EXPECT_EQ(cell.RetiredCount(), 0u);
}

// A pin may outlive the thread that took it: the thread's slots go to the next thread, which passes the
// one still held by, and the pin keeps its snapshot wherever it is released.
TEST_F(PublishedSnapshotCell, APinOutlivingItsThreadKeepsItsSnapshot) {
    std::optional<PublishedSnapshot<Tracked>::Pin> moved;
    std::thread([&] { moved.emplace(cell.Read()); }).join();
    for (int round = 0; round < 4; ++round)
        std::thread([&] {
            std::vector<PublishedSnapshot<Tracked>::Pin> pins;
            for (std::size_t i = 0; i < HazardRecord::kSlots; ++i)
                pins.push_back(cell.Read());
            cell.Publish(Value(10 + round));
        }).join();
    EXPECT_EQ((*moved)->value, 1);
    EXPECT_EQ(alive.load(), 2) << "the moved pin's snapshot and the current one";
    moved.reset();
    EXPECT_EQ(alive.load(), 1);
}

// Threads that come and go, as render threads do, reuse the slots of the threads that ended: the slots a
// writer looks at do not grow with the number of threads that ever read.
TEST(PublishedSnapshot, EndedThreadsHandTheirSlotsOn) {
    PublishedSnapshot<int> cell(0);
    auto countRecords = [] {
        std::size_t records = 0;
        for (HazardRecord* record = hazard_slots::FirstRecord(); record != nullptr;
             record = record->nextInRegistry)
            ++records;
        return records;
    };
    std::thread([&] { readSink.store(*cell.Read()); }).join();
    const std::size_t before = countRecords();
    for (int i = 0; i < 50; ++i)
        std::thread([&] { readSink.store(*cell.Read()); }).join();
    EXPECT_EQ(countRecords(), before);
}

// A replacement whose allocation fails, or whose value cannot be made, changes nothing: readers, new and
// old, find what they found before, and a later replacement works.
TEST_F(PublishedSnapshotCell, AFailedReplacementLeavesEveryReaderSafe) {
    auto pin = cell.Read();
    cell.Publish(Value(2)); // 1 waits for the pin
    auto second = cell.Read();
    FailAllocationsAfter(0);
    EXPECT_THROW(cell.Publish(Value(3)), std::bad_alloc);
    StopFailingAllocations();
    EXPECT_THROW(cell.Replace([](const Tracked&) -> Tracked { throw std::runtime_error("no value"); }),
                 std::runtime_error);
    EXPECT_EQ(cell.Read()->value, 2);
    EXPECT_EQ(pin->value, 1);
    EXPECT_EQ(second->value, 2);
    EXPECT_EQ(cell.RetiredCount(), 1u);
    EXPECT_EQ(alive.load(), 2) << "the values that were never published are gone";
    cell.Publish(Value(4));
    EXPECT_EQ(cell.Read()->value, 4);
    EXPECT_EQ(second->value, 2) << "the reader of 2 keeps it";
    EXPECT_EQ(alive.load(), 3);
}

// A long-held pin on one thread, readers coming and going on others, replacements all the while: once the
// other readers are gone, exactly the held snapshot and the current one are left.
TEST_F(PublishedSnapshotCell, AHeldPinAmongBusyReadersKeepsOnlyItsSnapshot) {
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
        cell.Publish(Value(i));
    writing.store(false);
    for (std::thread& reader : readers)
        reader.join();
    EXPECT_EQ(held->value, 1);
    EXPECT_EQ(alive.load(), 2) << "the held snapshot and the current one";
    EXPECT_EQ(cell.RetiredCount(), 1u) << "the readers that left freed what they held back";
}

// Readers on several threads, a writer replacing the value all the while: under the sanitizers a read of a
// freed snapshot or a race is a failure; everywhere a reader must see whole values that only grow.
TEST_F(PublishedSnapshotCell, ThreadsReadWhileTheWriterPublishes) {
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
        cell.Publish(Value(i));
    writing.store(false);
    for (std::thread& reader : readers)
        reader.join();
    EXPECT_EQ(wrong.load(), 0);
    EXPECT_EQ(alive.load(), 1) << "every replaced snapshot is freed once the readers are gone";
}

} // namespace

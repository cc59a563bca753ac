#include "shade/published_snapshot.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

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

TEST(PublishedSnapshot, APinKeepsItsSnapshotUntilItIsReleased) {
    std::atomic<int> alive{0};
    PublishedSnapshot<Tracked> cell(Tracked(1, &alive));
    {
        auto pin = cell.Read(3);
        cell.Publish(Tracked(2, &alive));
        cell.Publish(Tracked(3, &alive));
        EXPECT_EQ(pin->value, 1) << "a pin sees the snapshot it took, not later ones";
        EXPECT_EQ(cell.Read(3)->value, 3);
        EXPECT_EQ(alive.load(), 3) << "both replaced snapshots wait for the pinned stripe";
        EXPECT_EQ(cell.RetiredCount(), 2u);
    }
    cell.Reclaim();
    EXPECT_EQ(alive.load(), 1) << "only the current snapshot is left once the pin is gone";
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

// Readers keep coming: the stripes are never all idle at once, yet each is idle at some point, and that is
// enough to free what was replaced before.
TEST(PublishedSnapshot, EachStripeIdleOnceSinceTheReplacementIsEnough) {
    std::atomic<int> alive{0};
    PublishedSnapshot<Tracked> cell(Tracked(1, &alive));
    {
        auto first = cell.Read(0);
        cell.Publish(Tracked(2, &alive)); // 1 waits for stripe 0
        auto second = cell.Read(5);
        EXPECT_EQ(second->value, 2);
        cell.Publish(Tracked(3, &alive)); // 2 waits for stripes 0 and 5
        EXPECT_EQ(alive.load(), 3);
        { auto released = std::move(first); }
        auto third = cell.Read(0); // stripe 0 busy again, but only with a reader of 3
        cell.Reclaim();
        EXPECT_EQ(alive.load(), 3) << "stripe 0 was never seen idle";
        { auto released = std::move(third); }
        cell.Reclaim();
        EXPECT_EQ(alive.load(), 2) << "1 is freed; 2 still waits for stripe 5";
        auto fourth = cell.Read(0);
        EXPECT_EQ(fourth->value, 3);
    }
    cell.Reclaim();
    EXPECT_EQ(alive.load(), 1);
}

TEST(PublishedSnapshot, AMovedPinCountsOnce) {
    std::atomic<int> alive{0};
    PublishedSnapshot<Tracked> cell(Tracked(1, &alive));
    {
        auto pin = cell.Read(2);
        auto moved = std::move(pin);
        EXPECT_EQ(pin.get(), nullptr);
        EXPECT_EQ(moved->value, 1);
        cell.Publish(Tracked(2, &alive));
        EXPECT_EQ(alive.load(), 2);
    }
    cell.Reclaim();
    EXPECT_EQ(alive.load(), 1) << "the moved-from pin left the stripe alone";
}

// Two snapshots with the same readers: a pin of one keeps what the other showed during it, and neither
// keeps anything once the pin is gone.
TEST(PublishedSnapshot, APinOfOneKeepsWhatASharingSnapshotShowedDuringIt) {
    std::atomic<int> alive{0};
    ReaderStripes readers;
    PublishedSnapshot<Tracked> palette(readers, Tracked(1, &alive));
    PublishedSnapshot<Tracked> tables(readers, Tracked(10, &alive));
    {
        auto pin = palette.Read(4);
        const Tracked& shown = tables.ReadDuring(pin);
        tables.Publish(Tracked(11, &alive));
        palette.Publish(Tracked(2, &alive));
        EXPECT_EQ(shown.value, 10) << "the pin's stripe is busy, so the replaced tables wait";
        EXPECT_EQ(alive.load(), 4);
        EXPECT_EQ(tables.RetiredCount(), 1u);
        EXPECT_EQ(tables.ReadDuring(pin).value, 11) << "a later read shows the new tables";
    }
    tables.Reclaim();
    palette.Reclaim();
    EXPECT_EQ(alive.load(), 2);
    EXPECT_EQ(tables.RetiredCount(), 0u);
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
    cell.Reclaim();
    EXPECT_EQ(wrong.load(), 0);
    EXPECT_EQ(alive.load(), 1) << "every replaced snapshot is freed once the readers are gone";
}

} // namespace

#pragma once

// The readers of a published snapshot (published_snapshot.h), counted per stripe and per epoch slot.
//
// Stripes keep render threads off each other's cache lines: each thread gets a stripe of its own, handed
// out in turn when it first reads, so the first kStripes threads never share one. Slots tell old readers
// from new ones: a reader counts itself in the slot of the epoch it entered, and the writer moves new
// readers to another slot when it replaces the snapshot, so the readers of the old one drain from their
// slot while new ones keep coming. A reader that holds on for long keeps only its own slot busy.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>

class ReaderStripes {
public:
    static constexpr std::size_t kStripes = 16;
    static constexpr std::size_t kSlots = 4;
    // A set of counters, one bit each: counter (stripe, slot) is bit stripe * kSlots + slot.
    using CounterSet = std::uint64_t;
    static_assert(kStripes * kSlots <= 64, "one bit per counter");
    // A set of slots, one bit each.
    using SlotSet = std::uint32_t;

    ReaderStripes() : stripes(std::make_unique<Stripe[]>(kStripes)) {}
    ReaderStripes(const ReaderStripes&) = delete;
    ReaderStripes& operator=(const ReaderStripes&) = delete;

    // Counts a reader in; returns its counter. Sequentially consistent, as the reader's loads that follow:
    // a writer that sees the counter idle after publishing knows a later reader finds the new snapshot.
    std::size_t Enter(std::size_t stripe, std::size_t slot) const {
        const std::size_t counter = (stripe % kStripes) * kSlots + slot;
        Count(counter).fetch_add(1, std::memory_order_seq_cst);
        return counter;
    }

    // Counts a reader out; true when its counter is idle now. Sequentially consistent: the writer that
    // later sees the counter idle frees only after this reader's reads.
    bool Leave(std::size_t counter) const {
        return Count(counter).fetch_sub(1, std::memory_order_seq_cst) == 1;
    }

    // The counters with no reader inside at this moment.
    CounterSet IdleCounters() const {
        CounterSet idle = 0;
        for (std::size_t counter = 0; counter < kStripes * kSlots; ++counter)
            if (Count(counter).load(std::memory_order_seq_cst) == 0)
                idle |= CounterSet{1} << counter;
        return idle;
    }

    // Every stripe's counter of each slot in the set.
    static constexpr CounterSet CountersOf(SlotSet slots) {
        CounterSet perStripe = slots & ((SlotSet{1} << kSlots) - 1);
        CounterSet all = 0;
        for (std::size_t stripe = 0; stripe < kStripes; ++stripe)
            all |= perStripe << (stripe * kSlots);
        return all;
    }

    // The calling thread's stripe.
    static std::size_t ThreadStripe() {
        // Constant-initialised, so reading it needs no guard; 0 means not yet assigned.
        thread_local std::size_t stripePlusOne = 0;
        if (stripePlusOne == 0)
            stripePlusOne = NextStripe() + 1;
        return stripePlusOne - 1;
    }

private:
    // One cache line per stripe, so that threads in different stripes never write the same line.
    struct alignas(64) Stripe {
        std::atomic<std::uint32_t> readers[kSlots] = {};
    };

    std::atomic<std::uint32_t>& Count(std::size_t counter) const {
        return stripes[counter / kSlots].readers[counter % kSlots];
    }

    static std::size_t NextStripe() {
        static std::atomic<std::size_t> next{0};
        return next.fetch_add(1, std::memory_order_relaxed) % kStripes;
    }

    std::unique_ptr<Stripe[]> stripes;
};

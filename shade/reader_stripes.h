#pragma once

// The readers of one or more published snapshots (published_snapshot.h), counted in a few stripes picked
// by thread, so that render threads rarely write the same cache line. A reader enters once and may then
// read every snapshot that shares these stripes: a sample of the map reads its palette and its per-render
// tables on one entry, two uncontended atomic additions.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>
#include <utility>

class ReaderStripes {
public:
    static constexpr std::size_t kStripes = 16;
    static constexpr std::uint32_t kAllStripes = (std::uint32_t{1} << kStripes) - 1;
    static_assert(kStripes <= 32, "one bit per stripe");

    // A reader inside the stripes: while the visit lasts, no snapshot it could have read is freed.
    class Visit {
    public:
        Visit(Visit&& other) noexcept
            : owner(std::exchange(other.owner, nullptr)), count(std::exchange(other.count, nullptr)) {}
        Visit(const Visit&) = delete;
        Visit& operator=(const Visit&) = delete;
        Visit& operator=(Visit&&) = delete;
        ~Visit() {
            // Release: the writer that later reads this stripe idle frees only after this reader's reads.
            if (count != nullptr)
                count->fetch_sub(1, std::memory_order_release);
        }

        const ReaderStripes* Stripes() const { return owner; }

    private:
        friend class ReaderStripes;
        Visit(const ReaderStripes* owner_, std::atomic<std::uint32_t>* count_)
            : owner(owner_), count(count_) {}
        const ReaderStripes* owner;
        std::atomic<std::uint32_t>* count;
    };

    ReaderStripes() : stripes(std::make_unique<Stripe[]>(kStripes)) {}
    ReaderStripes(const ReaderStripes&) = delete;
    ReaderStripes& operator=(const ReaderStripes&) = delete;

    // Enters the calling thread's stripe.
    Visit Enter() const { return Enter(ThreadStripe()); }

    // Enters the given stripe (modulo the stripe count).
    Visit Enter(std::size_t stripe) const {
        std::atomic<std::uint32_t>& count = stripes[stripe % kStripes].readers;
        // Sequentially consistent, as the reader's loads of the snapshots that follow: the count must be
        // visible before a pointer is read, so that a writer that publishes and then sees the stripe idle
        // knows this reader will find the new snapshot.
        count.fetch_add(1, std::memory_order_seq_cst);
        return Visit(this, &count);
    }

    // The stripes with no reader inside at this moment, one bit each.
    std::uint32_t IdleStripes() const {
        std::uint32_t idle = 0;
        for (std::size_t i = 0; i < kStripes; ++i)
            if (stripes[i].readers.load(std::memory_order_seq_cst) == 0)
                idle |= std::uint32_t{1} << i;
        return idle;
    }

private:
    // One cache line per stripe, so that threads in different stripes never write the same line.
    struct alignas(64) Stripe {
        std::atomic<std::uint32_t> readers{0};
    };

    static std::size_t ThreadStripe() {
        // Some libraries hash a thread identity to itself, an aligned address: mix it before taking a stripe.
        const auto id = static_cast<std::uint64_t>(std::hash<std::thread::id>()(std::this_thread::get_id()));
        return static_cast<std::size_t>((id * 0x9E3779B97F4A7C15ull) >> 32);
    }

    std::unique_ptr<Stripe[]> stripes;
};

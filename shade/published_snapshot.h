#pragma once

// A value that a writer replaces whole while any thread may read it at any time: the map's palette and
// its per-render tables, read by every render thread, by previews that no render start announces, and (the
// palette) by the user interface.
//
// A reader pins the snapshot it reads for as long as it uses it, by entering its stripe of the readers
// (reader_stripes.h); snapshots may share their readers, and then one entry covers them all. A replaced
// snapshot is freed once every stripe has been seen idle after the replacement: a reader that entered a
// stripe later found the new snapshot already published. Stripes are checked whenever the writer publishes
// or asks for a reclaim, never by readers, so the per-sample cost is two uncontended atomic additions.
//
// Why this scheme: shading evaluates the palette once per sample on all render threads. A reference
// count per snapshot (std::atomic<std::shared_ptr>, or atomic_load on a shared_ptr) makes every thread
// write the same cache line, or take a shared lock, each sample: EvalColor cost 20 ns more on one thread
// and 42 ns more on two with the former, against 14 ns more on one thread and on two with stripes.
// Keeping every replaced snapshot until the map is destroyed costs nothing per sample but grows with every
// edit, without bound for a script that edits in a loop; here only snapshots replaced while a reader of
// some stripe was mid-sample wait, and they go at a later publication or reclaim.
#include "shade/reader_stripes.h"

#include <atomic>
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

template <typename T> class PublishedSnapshot {
public:
    // A snapshot held for reading: it stays valid, unchanged, while the pin lives.
    class Pin : public ReaderStripes::Visit {
    public:
        Pin(Pin&& other) noexcept
            : ReaderStripes::Visit(std::move(other)), value(std::exchange(other.value, nullptr)) {}

        const T& operator*() const { return *value; }
        const T* operator->() const { return value; }
        const T* get() const { return value; }

    private:
        friend class PublishedSnapshot;
        Pin(ReaderStripes::Visit visit, const T* value_)
            : ReaderStripes::Visit(std::move(visit)), value(value_) {}
        const T* value;
    };

    // A snapshot with readers of its own.
    explicit PublishedSnapshot(T initial = T())
        : ownReaders(std::make_unique<ReaderStripes>()), readers(*ownReaders),
          live(std::make_unique<const T>(std::move(initial))) {
        current.store(live.get(), std::memory_order_release);
    }
    // A snapshot whose readers are those of others: one entry lets a reader read them all.
    PublishedSnapshot(const ReaderStripes& shared, T initial)
        : readers(shared), live(std::make_unique<const T>(std::move(initial))) {
        current.store(live.get(), std::memory_order_release);
    }
    PublishedSnapshot(const PublishedSnapshot&) = delete;
    PublishedSnapshot& operator=(const PublishedSnapshot&) = delete;

    // The current snapshot, pinned in the calling thread's stripe.
    Pin Read() const { return PinAfterEntering(readers.Enter()); }

    // The current snapshot, pinned in the given stripe (modulo the stripe count).
    Pin Read(std::size_t stripe) const { return PinAfterEntering(readers.Enter(stripe)); }

    // The current snapshot for a reader already inside this snapshot's readers (a pin of another snapshot
    // that shares them); it stays valid while that visit lasts.
    const T& ReadDuring(const ReaderStripes::Visit& visit) const {
        assert(visit.Stripes() == &readers);
        (void)visit;
        return *current.load(std::memory_order_seq_cst);
    }

    // Makes value the snapshot that readers find from now on, then frees what no reader can hold.
    void Publish(T value) {
        auto fresh = std::make_unique<const T>(std::move(value));
        std::lock_guard<std::mutex> guard(writerLock);
        current.store(fresh.get(), std::memory_order_seq_cst);
        retired.push_back(Retired{std::move(live), ReaderStripes::kAllStripes});
        live = std::move(fresh);
        ReclaimLocked();
    }

    // Frees the replaced snapshots that no reader can hold any longer.
    void Reclaim() {
        std::lock_guard<std::mutex> guard(writerLock);
        ReclaimLocked();
    }

    // The replaced snapshots still waiting for readers to leave.
    std::size_t RetiredCount() const {
        std::lock_guard<std::mutex> guard(writerLock);
        return retired.size();
    }

private:
    struct Retired {
        std::unique_ptr<const T> snapshot;
        std::uint32_t busyStripes; // stripes not yet seen idle since the snapshot was replaced
    };

    // The pointer is read only once the visit has entered its stripe (see ReaderStripes::Enter).
    Pin PinAfterEntering(ReaderStripes::Visit visit) const {
        const T* value = current.load(std::memory_order_seq_cst);
        return Pin(std::move(visit), value);
    }

    void ReclaimLocked() {
        const std::uint32_t idle = readers.IdleStripes();
        std::erase_if(retired, [idle](Retired& r) {
            r.busyStripes &= ~idle;
            return r.busyStripes == 0;
        });
    }

    std::unique_ptr<ReaderStripes> ownReaders; // null when the readers are shared
    const ReaderStripes& readers;
    std::atomic<const T*> current{nullptr};
    mutable std::mutex writerLock;
    std::unique_ptr<const T> live; // the snapshot current points to
    std::vector<Retired> retired;  // replaced snapshots that readers may still hold
};

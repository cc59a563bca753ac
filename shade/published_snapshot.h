#pragma once

// A value that a writer replaces whole while any thread may read it at any time: what the map's samples
// read (its palette and per-render tables), read by every render thread, by previews that no render start
// announces, and by the user interface.
//
// A reader pins the snapshot it reads for as long as it uses it, by counting itself in its stripe and the
// current epoch slot (reader_stripes.h). Every replacement moves new readers to an idle slot, so a
// replaced snapshot can be held only by readers counted in the slots that were current while it was, and
// it is freed once each of those counters has been seen idle since: whoever looks last frees it, the
// writer at its next replacement or the reader whose leaving idles the last such counter. A reader
// that holds on for long therefore keeps only the snapshots current in its own slot; the writer never
// moves readers into a slot still busy, and never waits for readers.
//
// Why this scheme: shading evaluates the palette once per sample on all render threads. A reference
// count per snapshot (std::atomic<std::shared_ptr>, or atomic_load on a shared_ptr) makes every thread
// write the same cache line, or take a shared lock, each sample: EvalColor cost 20 ns more on one thread
// and 42 ns more on two with the former, against 14 ns more on one thread and on two with stripes.
// Keeping every replaced snapshot until the owner is destroyed costs nothing per sample but grows with
// every edit, without bound for a script that edits in a loop.
#include "shade/reader_stripes.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <utility>

template <typename T> class PublishedSnapshot {
    struct Node;

public:
    // A snapshot held for reading: it stays valid, unchanged, while the pin lives.
    class Pin {
    public:
        Pin(Pin&& other) noexcept
            : owner(std::exchange(other.owner, nullptr)), counter(other.counter),
              node(std::exchange(other.node, nullptr)) {}
        Pin(const Pin&) = delete;
        Pin& operator=(const Pin&) = delete;
        Pin& operator=(Pin&&) = delete;
        ~Pin() {
            if (owner != nullptr)
                owner->Leave(counter);
        }

        const T& operator*() const { return node->value; }
        const T* operator->() const { return &node->value; }
        const T* get() const { return node != nullptr ? &node->value : nullptr; }

    private:
        friend class PublishedSnapshot;
        Pin(const PublishedSnapshot* owner_, std::size_t counter_, const Node* node_)
            : owner(owner_), counter(counter_), node(node_) {}
        const PublishedSnapshot* owner;
        std::size_t counter;
        const Node* node;
    };

    explicit PublishedSnapshot(T initial = T()) : live(new Node(std::move(initial))) {
        live->slots = SlotBit(0);
        current.store(live, std::memory_order_release);
    }
    PublishedSnapshot(const PublishedSnapshot&) = delete;
    PublishedSnapshot& operator=(const PublishedSnapshot&) = delete;
    ~PublishedSnapshot() {
        delete live;
        while (oldestRun != nullptr)
            FreeRun(std::exchange(oldestRun, oldestRun->nextRun));
    }

    // The current snapshot, pinned in the calling thread's stripe.
    Pin Read() const { return Read(ReaderStripes::ThreadStripe()); }

    // The current snapshot, pinned in the given stripe (modulo the stripe count).
    Pin Read(std::size_t stripe) const {
        for (;;) {
            const std::size_t slot = epochSlot.load(std::memory_order_seq_cst);
            const std::size_t counter = readers.Enter(stripe, slot);
            const Node* node = current.load(std::memory_order_seq_cst);
            // Still the same slot: it has been current since before the entry (a writer moves readers only
            // into an idle slot), so the node was current during that slot's epoch and is counted there.
            if (epochSlot.load(std::memory_order_seq_cst) == slot)
                return Pin(this, counter, node);
            Leave(counter);
        }
    }

    // Makes value the snapshot that readers find from now on, then frees what no reader can hold.
    void Publish(T value) {
        Replace([&value](const T&) -> T { return std::move(value); });
    }

    // The same with next(current value) as the new value, computed while no other writer can replace it.
    // If next or the allocation throws, nothing has changed. next must not release a pin of this snapshot:
    // a leaving reader may try the lock this call holds.
    template <typename Next> void Replace(Next&& next) {
        Locked locked(*this);
        auto fresh = std::make_unique<Node>(next(live->value));
        // From here on nothing allocates or throws: readers never see a half-made replacement.
        AdvanceEpoch();
        fresh->slots = SlotBit(epochSlot.load(std::memory_order_relaxed));
        Node* replaced = live;
        current.store(fresh.get(), std::memory_order_seq_cst);
        live = fresh.release();
        Retire(replaced);
        ReclaimLocked();
    }

    // The replaced snapshots still waiting for readers to leave.
    std::size_t RetiredCount() const {
        Locked locked(*this);
        return retiredCount;
    }

    // The groups the waiting snapshots form: a reclaim looks at each group once, and at each snapshot only
    // to free it.
    std::size_t RetiredGroupCount() const {
        Locked locked(*this);
        std::size_t groups = 0;
        for (const Node* run = oldestRun; run != nullptr; run = run->nextRun)
            ++groups;
        return groups;
    }

private:
    using CounterSet = ReaderStripes::CounterSet;
    using SlotSet = ReaderStripes::SlotSet;

    struct Node {
        template <typename... Args> explicit Node(Args&&... args) : value(std::forward<Args>(args)...) {}
        const T value;
        SlotSet slots = 0; // the epoch slots that were current while this node was
        // Once replaced, the node waits in a group of nodes whose busy counters are the same; the group's
        // first node holds the set, the chain and the link to the next group.
        CounterSet busy = 0; // counters not yet seen idle since the replacement
        Node* next = nullptr;
        Node* runLast = nullptr;
        Node* nextRun = nullptr;
    };

    // The writer lock; readers that leave take it only if it is free. Whoever unlocks then serves the
    // reclaims that readers asked for meanwhile, so no such request is lost.
    class Locked {
    public:
        explicit Locked(const PublishedSnapshot& owner_) : owner(owner_) { owner.lock.lock(); }
        Locked(const Locked&) = delete;
        Locked& operator=(const Locked&) = delete;
        ~Locked() {
            owner.lock.unlock();
            owner.ServeReclaimRequests();
        }

    private:
        const PublishedSnapshot& owner;
    };

    static constexpr SlotSet SlotBit(std::size_t slot) { return SlotSet{1} << slot; }

    // Moves new readers to the next slot whose counters are all idle, so that the readers of the snapshot
    // about to be replaced drain from theirs. The live node was current in that slot too.
    void AdvanceEpoch() {
        const std::size_t from = epochSlot.load(std::memory_order_relaxed);
        const CounterSet idle = readers.IdleCounters();
        for (std::size_t step = 1; step < ReaderStripes::kSlots; ++step) {
            const std::size_t slot = (from + step) % ReaderStripes::kSlots;
            const CounterSet counters = ReaderStripes::CountersOf(SlotBit(slot));
            if ((idle & counters) == counters) {
                live->slots |= SlotBit(slot);
                epochSlot.store(slot, std::memory_order_seq_cst);
                return;
            }
        }
        // Every other slot still holds readers of older snapshots: new readers stay where they are.
    }

    void Retire(Node* node) {
        node->busy = ReaderStripes::CountersOf(node->slots);
        node->runLast = node;
        ++retiredCount;
        blocking |= node->busy;
        if (newestRun != nullptr && newestRun->busy == node->busy) {
            newestRun->runLast->next = node;
            newestRun->runLast = node;
        } else {
            (newestRun != nullptr ? newestRun->nextRun : oldestRun) = node;
            newestRun = node;
        }
    }

    void ReclaimLocked() const {
        // Announce the counters that hold snapshots back before looking at them: a reader idling one
        // meanwhile either sees the announcement and asks for a reclaim, or left before the look.
        wanted.store(blocking, std::memory_order_seq_cst);
        const CounterSet idle = readers.IdleCounters();
        blocking = 0;
        newestRun = nullptr;
        Node** link = &oldestRun;
        while (Node* run = *link) {
            run->busy &= ~idle;
            if (run->busy == 0) {
                *link = run->nextRun;
                FreeRun(run);
            } else if (newestRun != nullptr && newestRun->busy == run->busy) {
                // Equal sets stay equal: the two groups are freed together.
                newestRun->runLast->next = run;
                newestRun->runLast = run->runLast;
                *link = run->nextRun;
            } else {
                blocking |= run->busy;
                newestRun = run;
                link = &run->nextRun;
            }
        }
        wanted.store(blocking, std::memory_order_seq_cst);
    }

    void FreeRun(Node* run) const {
        while (run != nullptr) {
            --retiredCount;
            delete std::exchange(run, run->next);
        }
    }

    // A reader leaving: when it idles a counter that holds snapshots back, those may be free now.
    void Leave(std::size_t counter) const {
        if (readers.Leave(counter) &&
            (wanted.load(std::memory_order_seq_cst) & (CounterSet{1} << counter)) != 0) {
            reclaimRequested.store(true, std::memory_order_seq_cst);
            ServeReclaimRequests();
        }
    }

    // Serves reclaim requests while the lock is free; a holder serves them when it unlocks.
    void ServeReclaimRequests() const {
        while (reclaimRequested.load(std::memory_order_seq_cst) && lock.try_lock()) {
            reclaimRequested.store(false, std::memory_order_seq_cst);
            ReclaimLocked();
            lock.unlock();
        }
    }

    ReaderStripes readers;
    std::atomic<std::size_t> epochSlot{0};
    std::atomic<const Node*> current{nullptr};
    Node* live; // the node current points to, owned

    // Reclamation state, under the lock. Readers leaving may reclaim, so it is mutable.
    mutable std::mutex lock;
    mutable Node* oldestRun = nullptr; // groups of replaced nodes, each a chain
    mutable Node* newestRun = nullptr;
    mutable std::size_t retiredCount = 0;
    mutable CounterSet blocking = 0;                   // the counters some group waits for
    mutable std::atomic<CounterSet> wanted{0};         // the same, as readers see it
    mutable std::atomic<bool> reclaimRequested{false}; // a reader idled a wanted counter
};

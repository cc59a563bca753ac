#pragma once

// A value that a writer replaces whole while any thread may read it at any time: what the map's samples
// read (its palette and per-render tables), read by every render thread, by previews that no render start
// announces, and by the user interface.
//
// A reader pins the snapshot it reads by storing its address in a hazard slot of its own thread
// (hazard_slots.h) and checking that the snapshot is still the current one; a replaced snapshot is freed
// once no slot holds it (retired_snapshots.h), by the writer or by the reader that lets go of it last. A
// pin held for long keeps its own snapshot alone, and the writer never waits for readers.
//
// Why this scheme: shading pins the palette once per sample on every render thread, so the pin must cost
// next to nothing. Counting readers makes each sample write a shared counter with a locked instruction
// twice (a reference count per snapshot, or counters per thread stripe and epoch: 15 ns a read, 14 ns more
// per sample). Here a reader only stores to and loads from its own thread's cache line and the snapshot
// pointer, ordered by a compiler barrier: the writer, which replaces the palette only on an edit or a
// render start, pays for the ordering instead with a process-wide barrier (asymmetric_fence.h) before it
// looks at the slots. Pinning once per render and checking a generation per sample would cost as much
// (a load and a compare) yet the host gives the map no call at a bucket's or render's end, and a render
// thread left idle in a pool would keep its last palette alive; so every sample pins.
#include "snapshot/asymmetric_fence.h"
#include "snapshot/hazard_slots.h"
#include "snapshot/retired_snapshots.h"

#include <atomic>
#include <cstddef>
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
            : slot(std::exchange(other.slot, HazardSlot{nullptr, 0})),
              node(std::exchange(other.node, nullptr)) {}
        Pin(const Pin&) = delete;
        Pin& operator=(const Pin&) = delete;
        Pin& operator=(Pin&&) = delete;
        ~Pin() {
            if (slot.record != nullptr)
                Leave(slot);
        }

        const T& operator*() const { return node->value; }
        const T* operator->() const { return &node->value; }
        const T* get() const { return node != nullptr ? &node->value : nullptr; }

    private:
        friend class PublishedSnapshot;
        Pin(HazardSlot slot_, const Node* node_) : slot(slot_), node(node_) {}
        HazardSlot slot;
        const Node* node;
    };

    explicit PublishedSnapshot(T initial = T()) : live(new Node(this, std::move(initial))) {
        current.store(live, std::memory_order_release);
    }
    PublishedSnapshot(const PublishedSnapshot&) = delete;
    PublishedSnapshot& operator=(const PublishedSnapshot&) = delete;
    // No pin of this snapshot may outlive it.
    ~PublishedSnapshot() {
        retired_snapshots::FreeAllOf(this);
        delete live;
    }

    // The current snapshot, pinned in a hazard slot of the calling thread.
    Pin Read() const {
        const HazardSlot slot = hazard_slots::FreeSlot();
        std::atomic<const void*>& held = slot.Value();
        const Node* node = current.load(std::memory_order_relaxed);
        for (;;) {
            held.store(AsHeld(node), asymmetric_fence::kHoldOrder);
            // The store above is seen by a writer's look at the slots, or this load finds its replacement.
            asymmetric_fence::Light(slot.record->asymmetric);
            const Node* again = current.load(asymmetric_fence::kCheckOrder);
            if (again == node)
                return Pin(slot, node);
            node = again;
        }
    }

    // Makes value the snapshot that readers find from now on, then frees what no reader can hold.
    void Publish(T value) {
        Replace([&value](const T&) -> T { return std::move(value); });
    }

    // The same with next(current value) as the new value, computed while no other writer can replace it.
    // If next or the allocation throws, nothing has changed.
    template <typename Next> void Replace(Next&& next) {
        std::lock_guard<std::mutex> guard(writerLock);
        auto fresh = std::make_unique<Node>(this, next(live->value));
        // From here on nothing allocates or throws: readers never see a half-made replacement.
        Node* replaced = live;
        current.store(fresh.get(), std::memory_order_seq_cst);
        live = fresh.release();
        retired_snapshots::Retire(replaced);
    }

    // The replaced snapshots still waiting for readers to leave.
    std::size_t RetiredCount() const { return retired_snapshots::WaitingCount(this); }

private:
    struct Node : RetiredNode {
        template <typename... Args>
        explicit Node(const PublishedSnapshot* owner_, Args&&... args) : value(std::forward<Args>(args)...) {
            owner = owner_;
            destroy = &Destroy;
        }
        const T value;
    };

    // What a slot holds for a node: the address of its list part, as the reclaim compares it.
    static const void* AsHeld(const Node* node) { return static_cast<const RetiredNode*>(node); }

    static void Destroy(RetiredNode* node) { delete static_cast<Node*>(node); }

    // A reader letting go: when a writer waits for this slot, the snapshot it held may be free now.
    static void Leave(HazardSlot slot) {
        slot.Value().store(nullptr, asymmetric_fence::kReleaseOrder);
        asymmetric_fence::Light(slot.record->asymmetric);
        std::atomic<bool>& wanted = slot.record->wanted[slot.index];
        if (wanted.load(asymmetric_fence::kHoldOrder)) {
            wanted.store(false, asymmetric_fence::kHoldOrder);
            retired_snapshots::RequestReclaim();
        }
    }

    std::atomic<const Node*> current{nullptr};
    Node* live; // the node current points to, owned
    std::mutex writerLock;
};

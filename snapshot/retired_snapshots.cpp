#include "snapshot/retired_snapshots.h"

#include "snapshot/asymmetric_fence.h"
#include "snapshot/hazard_slots.h"

#include <atomic>
#include <mutex>
#include <new>
#include <utility>

namespace retired_snapshots {
namespace {

// Never destroyed: published snapshots with static storage may retire nodes while the process exits. It
// lives in static storage rather than on the heap, so that a plug-in module holding this code leaves
// nothing behind when it is unloaded.
struct Waiting {
    std::mutex lock;
    RetiredNode* first = nullptr; // under the lock
    std::atomic<bool> reclaimRequested{false};
};

Waiting& TheWaiting() {
    alignas(Waiting) static unsigned char storage[sizeof(Waiting)];
    static Waiting* waiting = new (storage) Waiting;
    return *waiting;
}

// Marks the waiting nodes that some slot holds; marks the slots that hold one wanted when wanting is set.
// True when a slot was newly marked.
bool MarkHeld(RetiredNode* first, bool wanting) {
    for (RetiredNode* node = first; node != nullptr; node = node->nextRetired)
        node->held = false;
    bool newlyWanted = false;
    for (HazardRecord* record = hazard_slots::FirstRecord(); record != nullptr;
         record = record->nextInRegistry)
        for (std::size_t i = 0; i < HazardRecord::kSlots; ++i) {
            const void* held = record->slots[i].load(std::memory_order_seq_cst);
            if (held == nullptr)
                continue;
            for (RetiredNode* node = first; node != nullptr; node = node->nextRetired)
                if (static_cast<const void*>(node) == held) {
                    node->held = true;
                    if (wanting && !record->wanted[i].load(std::memory_order_seq_cst)) {
                        record->wanted[i].store(true, std::memory_order_seq_cst);
                        newlyWanted = true;
                    }
                    break;
                }
        }
    return newlyWanted;
}

// Moves the nodes no slot holds from the waiting list to the freed one.
void TakeUnheld(RetiredNode*& waiting, RetiredNode*& freed) {
    RetiredNode** link = &waiting;
    while (RetiredNode* node = *link) {
        if (node->held) {
            link = &node->nextRetired;
        } else {
            *link = node->nextRetired;
            node->nextRetired = std::exchange(freed, node);
        }
    }
}

// Under the lock: returns the nodes to free once it is released.
RetiredNode* ReclaimLocked(Waiting& waiting) {
    RetiredNode* freed = nullptr;
    if (waiting.first == nullptr || !asymmetric_fence::Heavy())
        return freed;
    const bool newlyWanted = MarkHeld(waiting.first, true);
    TakeUnheld(waiting.first, freed);
    if (newlyWanted && waiting.first != nullptr && asymmetric_fence::Heavy()) {
        MarkHeld(waiting.first, false);
        TakeUnheld(waiting.first, freed);
    }
    return freed;
}

void Free(RetiredNode* node) {
    while (node != nullptr) {
        RetiredNode* next = node->nextRetired;
        node->destroy(node);
        node = next;
    }
}

// Serves reclaim requests while the lock is free; a holder serves them when it has released it.
void ServeRequests(Waiting& waiting) {
    while (waiting.reclaimRequested.load(std::memory_order_seq_cst) && waiting.lock.try_lock()) {
        waiting.reclaimRequested.store(false, std::memory_order_seq_cst);
        RetiredNode* freed = ReclaimLocked(waiting);
        waiting.lock.unlock();
        Free(freed);
    }
}

} // namespace

void Retire(RetiredNode* node) {
    Waiting& waiting = TheWaiting();
    RetiredNode* freed = nullptr;
    {
        std::lock_guard<std::mutex> guard(waiting.lock);
        node->nextRetired = waiting.first;
        waiting.first = node;
        freed = ReclaimLocked(waiting);
    }
    // Snapshots are freed outside the lock: their values' destructors may read published snapshots.
    Free(freed);
    ServeRequests(waiting);
}

void RequestReclaim() {
    Waiting& waiting = TheWaiting();
    waiting.reclaimRequested.store(true, std::memory_order_seq_cst);
    ServeRequests(waiting);
}

std::size_t WaitingCount(const void* owner) {
    Waiting& waiting = TheWaiting();
    std::lock_guard<std::mutex> guard(waiting.lock);
    std::size_t count = 0;
    for (const RetiredNode* node = waiting.first; node != nullptr; node = node->nextRetired)
        count += node->owner == owner ? 1 : 0;
    return count;
}

void FreeAllOf(const void* owner) {
    Waiting& waiting = TheWaiting();
    RetiredNode* freed = nullptr;
    {
        std::lock_guard<std::mutex> guard(waiting.lock);
        RetiredNode** link = &waiting.first;
        while (RetiredNode* node = *link) {
            if (node->owner == owner) {
                *link = node->nextRetired;
                node->nextRetired = std::exchange(freed, node);
            } else {
                link = &node->nextRetired;
            }
        }
    }
    Free(freed);
    ServeRequests(waiting);
}

} // namespace retired_snapshots

#pragma once

// Where readers say what they hold: each thread owns records of a few slots, and a reader stores the
// address of the snapshot it pins in a free slot of its thread's records. A writer frees a replaced
// snapshot only once no slot holds it (retired_snapshots.h). Only the owning thread fills a slot; any
// thread may empty one (a pin may be released elsewhere), so an empty slot is a free one.
//
// Records are handed out once per thread and taken back when the thread ends, for the next thread to
// reuse; they are never freed, so a writer may walk them at any time without a lock.
#include <atomic>
#include <cstddef>

struct alignas(64) HazardRecord {
    static constexpr std::size_t kSlots = 4;
    std::atomic<const void*> slots[kSlots] = {};
    // A writer waits for the slot to be emptied: whoever empties it asks for a reclaim.
    std::atomic<bool> wanted[kSlots] = {};
    // Whether readers order with a compiler barrier only (asymmetric_fence::Available()), kept here to be
    // read with the slots.
    bool asymmetric = false;
    std::atomic<bool> owned{false};
    HazardRecord* nextInRegistry = nullptr; // set before the record is published, then fixed
    HazardRecord* nextOfThread = nullptr;   // the owning thread's further records, touched by it only
};

// A slot of a record.
struct HazardSlot {
    HazardRecord* record;
    std::size_t index;
    std::atomic<const void*>& Value() const { return record->slots[index]; }
};

namespace hazard_slots {

// The calling thread's first record (constant-initialised, so reading it needs no guard).
extern constinit thread_local HazardRecord* threadRecord;

// Gives the calling thread its first record; taken back when the thread ends.
HazardRecord& AcquireThreadRecord();
// A free slot in a further record of the calling thread, taking another record if all are full.
HazardSlot FreeSlotBeyond(HazardRecord& first);

// A free slot of the calling thread.
inline HazardSlot FreeSlot() {
    HazardRecord* record = threadRecord;
    if (record == nullptr)
        record = &AcquireThreadRecord();
    for (std::size_t i = 0; i < HazardRecord::kSlots; ++i)
        if (record->slots[i].load(std::memory_order_relaxed) == nullptr)
            return HazardSlot{record, i};
    return FreeSlotBeyond(*record);
}

// The first record of the registry, for a writer's walk along nextInRegistry.
HazardRecord* FirstRecord();

} // namespace hazard_slots

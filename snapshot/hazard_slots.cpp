#include "snapshot/hazard_slots.h"

#include "snapshot/asymmetric_fence.h"
#include "snapshot/hazard_slots_thread_end.h"

#include <utility>

namespace hazard_slots {

constinit thread_local HazardRecord* threadRecord = nullptr;

namespace {

std::atomic<HazardRecord*> registry{nullptr};

HazardRecord* AcquireRecord() {
    for (HazardRecord* record = registry.load(std::memory_order_acquire); record != nullptr;
         record = record->nextInRegistry) {
        bool free = false;
        if (!record->owned.load(std::memory_order_relaxed) &&
            record->owned.compare_exchange_strong(free, true, std::memory_order_acquire))
            return record;
    }
    auto* record = new HazardRecord;
    record->owned.store(true, std::memory_order_relaxed);
    record->asymmetric = asymmetric_fence::Available();
    HazardRecord* head = registry.load(std::memory_order_relaxed);
    do
        record->nextInRegistry = head;
    while (
        !registry.compare_exchange_weak(head, record, std::memory_order_release, std::memory_order_relaxed));
    return record;
}

// Frees the records no thread owns when this module's statics go (at exit, or when a plug-in module that
// holds this code is unloaded): by then every thread that ended has handed its records back, and no
// snapshot of the module is left to be read. Records of threads still running stay in the registry.
struct RecordsAtUnload {
    ~RecordsAtUnload() {
        HazardRecord* record = registry.exchange(nullptr, std::memory_order_acq_rel);
        HazardRecord* kept = nullptr;
        while (record != nullptr) {
            HazardRecord* next = record->nextInRegistry;
            if (record->owned.load(std::memory_order_acquire)) {
                record->nextInRegistry = kept;
                kept = record;
            } else {
                delete record;
            }
            record = next;
        }
        registry.store(kept, std::memory_order_release);
    }
};
RecordsAtUnload recordsAtUnload;

} // namespace

HazardRecord& AcquireThreadRecord() {
    HazardRecord* record = AcquireRecord();
    threadRecord = record;
    HandBackAtThreadEnd(record);
    return *record;
}

void HandBack(HazardRecord* first) {
    HazardRecord* record = first;
    while (record != nullptr) {
        HazardRecord* next = std::exchange(record->nextOfThread, nullptr);
        record->owned.store(false, std::memory_order_release);
        record = next;
    }
}

HazardSlot FreeSlotBeyond(HazardRecord& first) {
    HazardRecord* last = &first;
    for (HazardRecord* record = first.nextOfThread; record != nullptr; record = record->nextOfThread) {
        for (std::size_t i = 0; i < HazardRecord::kSlots; ++i)
            if (record->slots[i].load(std::memory_order_relaxed) == nullptr)
                return HazardSlot{record, i};
        last = record;
    }
    // Every slot is full: a thread holding many pins at once (an editor, a test), never a render's sample.
    HazardRecord* record = AcquireRecord();
    last->nextOfThread = record;
    for (std::size_t i = 0; i < HazardRecord::kSlots; ++i)
        if (record->slots[i].load(std::memory_order_relaxed) == nullptr)
            return HazardSlot{record, i};
    return FreeSlotBeyond(*record);
}

HazardRecord* FirstRecord() {
    return registry.load(std::memory_order_acquire);
}

} // namespace hazard_slots

// mingw emulates thread-local storage in blocks that the threads library frees when a thread ends, in an
// order of its own: a thread-local object's destructor may run after its block was freed and read what the
// heap wrote there since. So the records go back through a fiber-local slot, whose callback is given the
// records themselves and touches no thread-local storage.
#include "snapshot/hazard_slots_thread_end.h"

#include <windows.h>

namespace hazard_slots {
namespace {

void WINAPI ThreadEnded(void* first) {
    HandBack(static_cast<HazardRecord*>(first));
}

// Freed when this module's statics go: the callback must not outlive the code it points to. Freeing runs it
// for every thread that still has records, which is safe then: no snapshot of the module is left to read.
struct FiberSlot {
    DWORD index = FlsAlloc(&ThreadEnded);
    FiberSlot() = default;
    FiberSlot(const FiberSlot&) = delete;
    FiberSlot& operator=(const FiberSlot&) = delete;
    ~FiberSlot() {
        if (index == FLS_OUT_OF_INDEXES)
            return;
        FlsFree(index);
        // The records of this thread went back with the others.
        threadRecord = nullptr;
    }
};

} // namespace

void HandBackAtThreadEnd(HazardRecord* first) {
    static FiberSlot slot;
    if (slot.index != FLS_OUT_OF_INDEXES)
        FlsSetValue(slot.index, first);
}

} // namespace hazard_slots

// Thread-local storage is native here: a thread-local object lives until its destructor has run, so the
// destructor may both hand the records back and clear the thread's pointer to them, for a reader in a
// later thread-local destructor to take a record afresh.
#include "snapshot/hazard_slots_thread_end.h"

namespace hazard_slots {
namespace {

struct ThreadRecords {
    HazardRecord* first = nullptr;
    ~ThreadRecords() {
        threadRecord = nullptr;
        HandBack(first);
    }
};

} // namespace

void HandBackAtThreadEnd(HazardRecord* first) {
    thread_local ThreadRecords records;
    records.first = first;
}

} // namespace hazard_slots

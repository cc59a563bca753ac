#pragma once

// How a thread's hazard records go back when the thread ends, for the next thread to reuse. Slots still
// filled by pins that outlive the thread stay filled, and the next owner passes them by.
#include "snapshot/hazard_slots.h"

namespace hazard_slots {

// Arranges for the calling thread's records, from first along nextOfThread, to be handed back when the
// thread ends.
void HandBackAtThreadEnd(HazardRecord* first);

// Makes first and the records after it free for any thread to take.
void HandBack(HazardRecord* first);

} // namespace hazard_slots

#include "snapshot/asymmetric_fence.h"

namespace asymmetric_fence {

namespace {

std::atomic<bool> fullFencesForced{false};

} // namespace

bool Available() {
    static const bool available = !fullFencesForced.load() && RegisterProcessBarrier();
    return available;
}

void ForceFullFences() {
    fullFencesForced.store(true);
}

bool Heavy() {
    if (Available())
        return ProcessBarrier();
    FullFence();
    return true;
}

} // namespace asymmetric_fence

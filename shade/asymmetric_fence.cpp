#include "shade/asymmetric_fence.h"

namespace asymmetric_fence {

bool Available() {
    static const bool available = RegisterProcessBarrier();
    return available;
}

bool Heavy() {
    if (Available())
        return ProcessBarrier();
    FullFence();
    return true;
}

} // namespace asymmetric_fence

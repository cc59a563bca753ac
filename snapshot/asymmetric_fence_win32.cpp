// Windows has no process-wide barrier here: readers and writers take full fences (asymmetric_fence.h).
#include "snapshot/asymmetric_fence.h"

namespace asymmetric_fence {

bool RegisterProcessBarrier() {
    return false;
}

bool ProcessBarrier() {
    return false;
}

} // namespace asymmetric_fence

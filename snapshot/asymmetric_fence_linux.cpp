// The process-wide barrier on Linux: membarrier's private expedited command, which interrupts only the
// processors running this process's threads and needs a registration first (kernel 4.14 on; a seccomp
// filter may refuse it, and then readers fall back to full fences).
#include "snapshot/asymmetric_fence.h"

#include <linux/membarrier.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace asymmetric_fence {
namespace {

long Membarrier(int command) {
    return syscall(SYS_membarrier, command, 0, 0);
}

} // namespace

bool RegisterProcessBarrier() {
    const long supported = Membarrier(MEMBARRIER_CMD_QUERY);
    if (supported < 0 || (supported & MEMBARRIER_CMD_PRIVATE_EXPEDITED) == 0)
        return false;
    return Membarrier(MEMBARRIER_CMD_REGISTER_PRIVATE_EXPEDITED) == 0;
}

bool ProcessBarrier() {
    return Membarrier(MEMBARRIER_CMD_PRIVATE_EXPEDITED) == 0;
}

} // namespace asymmetric_fence

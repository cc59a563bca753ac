// With CHROMASIFT_FULL_FENCES=1 in the environment, a benchmark program's snapshot readers and writers take
// the full fences (the path of Windows builds and of kernels without the process-wide barrier), so that
// both paths can be timed on one machine.
#include "snapshot/asymmetric_fence.h"

#include <cstdlib>
#include <cstring>

namespace {

const bool fullFences = [] {
    const char* setting = std::getenv("CHROMASIFT_FULL_FENCES");
    const bool wanted = setting != nullptr && std::strcmp(setting, "1") == 0;
    if (wanted)
        asymmetric_fence::ForceFullFences();
    return wanted;
}();

} // namespace

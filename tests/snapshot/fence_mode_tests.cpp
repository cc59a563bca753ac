#include "snapshot/asymmetric_fence.h"

#include <gtest/gtest.h>

namespace {

#if defined(CHROMASIFT_FULL_FENCES)
// Before any test reads a snapshot.
const bool forced = (asymmetric_fence::ForceFullFences(), true);
#endif

} // namespace

// Which path the tests of this program take: the full fences when forced or on Windows, otherwise the
// kernel's barrier, unless this kernel refuses it (a seccomp filter may), which the skip says.
TEST(FenceMode, TheTestsRunThePathTheyAreBuiltFor) {
#if defined(CHROMASIFT_FULL_FENCES) || defined(_WIN32)
    EXPECT_FALSE(asymmetric_fence::Available());
#else
    if (!asymmetric_fence::Available())
        GTEST_SKIP() << "this kernel gives no process-wide barrier: the full fences ran instead";
    EXPECT_TRUE(asymmetric_fence::Heavy());
#endif
}

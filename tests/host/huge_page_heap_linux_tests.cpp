#include "host/base/huge_page_heap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

// The size in KiB of the heap's largest stretch advised onto huge pages, or 0 when none is.
long AdvisedHeapKiB() {
    std::ifstream maps("/proc/self/smaps");
    long largest = 0, size = 0;
    bool inHeap = false;
    for (std::string line; std::getline(maps, line);) {
        // A mapping's first line starts with its address range; the lines of its figures follow.
        if (line.find('-') < line.find(' '))
            inHeap = line.find(" [heap]") != std::string::npos;
        else if (inHeap && line.rfind("Size:", 0) == 0)
            std::istringstream(line.substr(5)) >> size;
        else if (inHeap && line.rfind("VmFlags:", 0) == 0 && line.find(" hg") != std::string::npos)
            largest = std::max(largest, size);
    }
    return largest;
}

} // namespace

TEST(HugePageHeap, TheHeapReservesAStretchAdvisedOntoHugePages) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "a sanitizer's allocator does not use the heap";
#endif
    // In a fresh process, as the tool calls it first thing: after other tests' allocations the heap's free
    // space, not its growth, would serve the probing blocks.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            host::PlaceHeapOnHugePages();
            // All but the ends of the reserve, which the advice leaves out where they are not whole huge
            // pages.
            std::exit(AdvisedHeapKiB() >= (1L << 20) - 4096 ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}

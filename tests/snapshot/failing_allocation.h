#pragma once

// Makes the calling thread's next allocations through operator new fail with std::bad_alloc, so a test can
// check what a failed allocation leaves behind. The test executable replaces the global operator new.
void FailAllocationsAfter(int successfulAllocations);
// Lets every allocation succeed again.
void StopFailingAllocations();

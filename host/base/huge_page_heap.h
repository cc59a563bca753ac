#pragma once

// On a virtual machine a fresh page costs more than filling it, and the system gives huge pages only where
// a program asks for them. The model reader, a child that fills millions of small blocks, is started with
// the C library's own setting for it (the tunable glibc.malloc.hugetlb=1, read when a program starts); the
// tool places its heap itself, once, before its work begins.
#include <string>

namespace host {

// The value of GLIBC_TUNABLES that adds the huge-page setting to `tunables` (the current value, or null).
// A value that already says how to use huge pages is kept as it is, so that a user's own choice holds.
std::string TunablesWithHugePages(const char* tunables);

#ifdef _WIN32
// Large pages on Windows need a privilege that users seldom hold.
inline void PlaceHeapOnHugePages() {}
#else
// Makes the heap reserve a large stretch at once, and keep it, and advises huge pages for it: the meshes of
// a model of a thousand objects, each a few arrays of some tens of kilobytes, are then filled with a few
// hundred page faults instead of tens of thousands. Only the pages written become memory. Where the heap
// is not the C library's own (under a sanitizer or valgrind) nothing changes.
void PlaceHeapOnHugePages();
#endif

} // namespace host

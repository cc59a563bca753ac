#pragma once

// The C library's allocator on Linux places its heap on huge pages only with a setting that it reads when a
// program starts (the tunable glibc.malloc.hugetlb=1). With it, the meshes of a model of a thousand objects
// are filled with a few hundred page faults instead of tens of thousands; on a virtual machine a page
// fault costs more than filling the page.
#include <string>

namespace host {

// The value of GLIBC_TUNABLES that adds the huge-page setting to `tunables` (the current value, or null).
// A value that already says how to use huge pages is kept as it is, so that a user's own choice holds.
std::string TunablesWithHugePages(const char* tunables);

#ifdef _WIN32
// Windows has no such setting.
inline void RunWithHugePageHeap(char**) {}
#else
// Starts this program again, with the same arguments, with the huge-page setting added to its environment.
// Returns, and the program carries on as it is, when the setting is there already, when the allocator is a
// sanitizer's own (the setting would change nothing), under valgrind (the program started again would run
// outside it), in secure mode (the setting would be taken away again), or when the program cannot be
// started again.
void RunWithHugePageHeap(char** argv);
#endif

} // namespace host

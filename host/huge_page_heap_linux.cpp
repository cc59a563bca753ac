#include "host/huge_page_heap.h"

#include "host/platform.h"

#include <sys/auxv.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>

namespace host {
namespace {

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kSanitizerAllocator = true;
#else
constexpr bool kSanitizerAllocator = false;
#endif

bool UnderValgrind() {
    const char* preload = std::getenv("LD_PRELOAD");
    return preload != nullptr && std::strstr(preload, "vgpreload") != nullptr;
}

} // namespace

void RunWithHugePageHeap(char** argv) {
    // A program started in secure mode (set-user-ID, file capabilities) has its tunables taken away by the
    // loader, and would start itself again for ever.
    if (kSanitizerAllocator || UnderValgrind() || getauxval(AT_SECURE) != 0)
        return;
    const char* tunables = std::getenv("GLIBC_TUNABLES");
    const std::string wanted = TunablesWithHugePages(tunables);
    if (tunables != nullptr && wanted == tunables)
        return;
    const std::filesystem::path self = ExecutableFile();
    if (self.empty())
        return;
    const std::optional<std::string> previous =
        tunables != nullptr ? std::optional<std::string>(tunables) : std::nullopt;
    if (setenv("GLIBC_TUNABLES", wanted.c_str(), 1) != 0)
        return;
    execv(self.c_str(), argv);
    // Not started again: the program carries on without the setting, in the environment it was given.
    if (previous)
        setenv("GLIBC_TUNABLES", previous->c_str(), 1);
    else
        unsetenv("GLIBC_TUNABLES");
}

} // namespace host

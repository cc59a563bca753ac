#include "host/import/model_reader_limits.h"

#include "host/import/model_reader_protocol.h"

#include <new>

#include <sys/resource.h>
#include <unistd.h>

namespace host {

std::uint64_t DefaultModelReaderMemoryLimit() {
    constexpr std::uint64_t kGiB = std::uint64_t(1) << 30;
    const long pages = sysconf(_SC_PHYS_PAGES), pageSize = sysconf(_SC_PAGESIZE);
    if (pages <= 0 || pageSize <= 0)
        return 4 * kGiB;
    const std::uint64_t half = static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(pageSize) / 2;
    return half < kGiB ? kGiB : half;
}

bool AddressSpaceLimitWorks() {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    return false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
    return false;
#else
    return true;
#endif
#else
    return true;
#endif
}

void ApplyModelReaderMemoryLimit(std::uint64_t bytes) {
    std::set_new_handler([] { _exit(kModelReaderOutOfMemoryStatus); });
    if (bytes == 0 || !AddressSpaceLimitWorks())
        return;
    const rlimit limit{static_cast<rlim_t>(bytes), static_cast<rlim_t>(bytes)};
    setrlimit(RLIMIT_AS, &limit);
}

} // namespace host

#include "host/base/huge_page_heap.h"

namespace host {

std::string TunablesWithHugePages(const char* tunables) {
    const std::string own = tunables != nullptr ? tunables : "";
    if (own.find("glibc.malloc.hugetlb=") != std::string::npos)
        return own;
    return own + (own.empty() ? "" : ":") + "glibc.malloc.hugetlb=1";
}

} // namespace host

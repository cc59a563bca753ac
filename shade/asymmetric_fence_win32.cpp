// The process-wide barrier on Windows: FlushProcessWriteBuffers, which makes every processor running a
// thread of the process flush its write queue. Wine (8.0 at least) implements it as a stub that does
// nothing, so under Wine readers keep their full fences.
#include "shade/asymmetric_fence.h"

#include <windows.h>

namespace asymmetric_fence {
namespace {

bool UnderWine() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

} // namespace

bool RegisterProcessBarrier() {
    return !UnderWine();
}

bool ProcessBarrier() {
    FlushProcessWriteBuffers();
    return true;
}

} // namespace asymmetric_fence

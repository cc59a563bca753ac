#include "plugin/plugin_main.h"

#include <cstdlib>

HINSTANCE hInstance = nullptr;

namespace {

constexpr int kStringBufferSize = 16384;
MCHAR stringBuffer[kStringBufferSize];

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, ULONG, LPVOID) {
    hInstance = instance;
    // Kept from the first release, whose callers may rely on the runtime's generator being seeded; the
    // map itself draws only from its own generators.
    std::srand(15322);
    return TRUE;
}

const MCHAR* GetString(int id) {
    if (hInstance == nullptr)
        return nullptr;
    if (LoadStringW(hInstance, static_cast<UINT>(id), stringBuffer, kStringBufferSize) <= 0)
        return nullptr;
    return stringBuffer;
}

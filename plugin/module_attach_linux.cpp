// Attaches the library when the host loads it, as the Windows loader does with DllMain: records the
// module handle (the image's base address) and makes the string table available to the resource loader.
#include "plugin/plugin_main.h"
#include "plugin/string_table.h"

#include <dlfcn.h>

namespace {

__attribute__((constructor)) void AttachModule() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&AttachModule), &info) == 0)
        return;
    auto* module = static_cast<HINSTANCE>(info.dli_fbase);
    RegisterModuleStrings(module, kStringTable, kStringTableSize);
    DllMain(module, DLL_PROCESS_ATTACH, nullptr);
}

__attribute__((destructor)) void DetachModule() {
    DllMain(hInstance, DLL_PROCESS_DETACH, nullptr);
    UnregisterModuleStrings(hInstance);
}

} // namespace

#include "linked_plugin.h"

#include "plugin/plugin_main.h"
#include "plugin/string_table.h"

void AttachLinkedPlugin() {
    static const bool attached = [] {
        static int moduleAnchor;
        auto* module = reinterpret_cast<HINSTANCE>(&moduleAnchor);
        RegisterModuleStrings(module, kStringTable, kStringTableSize);
        DllMain(module, DLL_PROCESS_ATTACH, nullptr);
        GetCOREInterface()->SetQuietMode(TRUE);
        return true;
    }();
    (void)attached;
}

MapPtr NewMap() {
    return MapPtr(static_cast<Chromasift*>(GetChromasiftDesc()->Create(FALSE)));
}

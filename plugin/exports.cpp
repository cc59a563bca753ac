// The four functions through which the host discovers the library.
#include "plugin/exports.h"

#include "plugin/plugin_main.h"
#include "plugin/string_ids.h"

#include <iterator>

namespace {

// Every class the library exports; the class count and the lookup both read this list.
ClassDesc* (*const kClassDescs[])() = {
    [] { return static_cast<ClassDesc*>(GetChromasiftDesc()); },
};

} // namespace

PLUGIN_EXPORT const MCHAR* LibDescription() {
    return GetString(IDS_LIB_DESCRIPTION);
}

PLUGIN_EXPORT int LibNumberClasses() {
    return static_cast<int>(std::size(kClassDescs));
}

PLUGIN_EXPORT ClassDesc* LibClassDesc(int i) {
    if (i < 0 || i >= LibNumberClasses())
        return nullptr;
    return kClassDescs[i]();
}

PLUGIN_EXPORT ULONG LibVersion() {
    return HOST_SDK_VERSION;
}

#pragma once

#include "host/base/plugin_library.h"

#include <ostream>

namespace host {

// Lists every loaded plug-in file with its description, version and classes on `out`, the way a plug-in
// manager shows them, and every file or folder that failed to load on `err`.
void PrintPlugins(const PluginManager& plugins, std::ostream& out, std::ostream& err);

} // namespace host

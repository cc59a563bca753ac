#pragma once

#include "host/plugin_library.h"

#include <ostream>

namespace host {

// Lists every loaded plug-in file with its description, version and classes, and every file that failed
// to load, the way a plug-in manager shows them.
void PrintPlugins(const PluginManager& plugins, std::ostream& out);

} // namespace host

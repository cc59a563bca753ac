#pragma once

// The "render" command: a scene (a file, or the built-in scene) rendered with the map configured from the
// command line, written as a PNG file.
#include "host/base/plugin_library.h"
#include "host/job/render_options.h"

#include <ostream>

namespace host {

// Runs the command: messages go to `err` (progress too, when `showProgress`), the summary to `out`.
// Returns 0 on success and 1 when the scene cannot be read, rendered or written.
int RunRenderCommand(const RenderOptions& options, const PluginManager& plugins, std::ostream& out,
                     std::ostream& err, bool showProgress);

} // namespace host

#pragma once

// The "sheet" command: a scene rendered in every distribution mode, as one labelled picture beside the
// palette the map holds.
#include "host/plugin_library.h"
#include "host/render/render_command.h"

#include <ostream>
#include <string>

namespace host {

// The command's help: usage, options and an example.
const char* SheetUsage();

// Parses the arguments after "sheet": the render command's options except --mode, with a cell size of
// 320 x 240 pixels unless --size gives another. Returns an error message, empty on success.
std::string ParseSheetOptions(int argc, char** argv, int first, RenderOptions& options);

// Renders the sheet and writes it as a PNG file. Returns 0 on success and 1 when the scene cannot be
// read, rendered or written; messages go to `err`, with one progress line when `showProgress`.
int RunSheetCommand(const RenderOptions& options, const PluginManager& plugins, std::ostream& out,
                    std::ostream& err, bool showProgress);

} // namespace host

#pragma once

// The "sheet" command: a scene rendered in every distribution mode, as one labelled picture beside the
// palette the map holds.
#include "host/base/plugin_library.h"
#include "host/job/render_options.h"

#include <ostream>
#include <string>

namespace host {

struct SheetOptions {
    // The size is each cell's, 320 x 240 pixels unless --size gives another.
    RenderOptions render = [] {
        RenderOptions cell;
        cell.width = 320;
        cell.height = 240;
        return cell;
    }();
    // --scene-coordinates: the coordinate modes read the scene's own coordinates, instead of coordinates
    // fitted to the model's bounds.
    bool sceneCoordinates = false;
};

// The command's help: usage, options and an example.
const char* SheetUsage();

// The render command's options but those a sheet cannot show (--mode, --print-shader, --frames,
// --skip-existing), and --scene-coordinates.
OptionTable SheetOptionTable(SheetOptions& options);

// Parses the arguments after "sheet" as its table says. Returns an error message, empty on success.
std::string ParseSheetOptions(int argc, char** argv, int first, SheetOptions& options);

// Renders the sheet and writes it as a PNG file. Returns 0 on success and 1 when the scene cannot be
// read, rendered or written; messages go to `err`, with one progress line when `showProgress`. The
// summary line goes to `out`, followed by a line for each mode that shows one colour by the model's
// nature: its label and the note drawn under it.
int RunSheetCommand(const SheetOptions& options, const PluginManager& plugins, std::ostream& out,
                    std::ostream& err, bool showProgress);

} // namespace host

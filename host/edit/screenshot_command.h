#pragma once

// The "screenshot" command: PNG pictures of a map's rollouts in the material editor and of its reorder
// dialog, for the documentation.
#include "host/base/plugin_library.h"

#include <ostream>
#include <string>

namespace host {

struct ScreenshotOptions {
    std::string scene;     // empty: a new map with the built-in picture
    std::string directory; // where the pictures go
};

const char* ScreenshotUsage();

// Parses the arguments after "screenshot"; returns an error message, empty on success.
std::string ParseScreenshotOptions(int argc, char** argv, int first, ScreenshotOptions& options);

int RunScreenshotCommand(const ScreenshotOptions& options, const PluginManager& plugins, std::ostream& out,
                         std::ostream& err);

} // namespace host

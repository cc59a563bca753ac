#pragma once

// chromasift export: the scene's dressed meshes as glTF, with the colours an unlit render shows.
#include "host/base/plugin_library.h"
#include "host/gltf/gltf_file.h"
#include "host/job/render_options.h"

#include <ostream>
#include <string>

namespace host {

struct ExportOptions {
    RenderOptions render;
    ExportFormat format = ExportFormat::Glb;
    int textureSize = 1024;
    int margin = 16;
};

OptionTable ExportOptionTable(ExportOptions& options);
const char* ExportUsage();
// Returns a usage error, empty on success.
std::string ParseExportOptions(int argc, char** argv, int first, ExportOptions& options);
// Exit status 0, or 1 with the reason on `err`.
int RunExportCommand(const ExportOptions& options, const PluginManager& plugins, std::ostream& out,
                     std::ostream& err, bool showProgress);

} // namespace host

// chromasift: the stand-in host's command-line tool.
#include "host/palette_command.h"
#include "host/platform.h"
#include "host/plugins_command.h"
#include "host/render/progress_display.h"
#include "host/render/render_command.h"
#include "host/text.h"

#include "hostsdk/core_interface.h"
#include "hostsdk/path_config.h"

#include <cstring>
#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

const char* const kUsage = R"usage(Usage: chromasift [OPTIONS] COMMAND [ARGS]

A stand-in 3D host for the KR Chromasift texture map: it loads the map's plug-in the way the
host application does and runs it on your files.

Commands:
  plugins            List the plug-ins found in the plug-in directories: for each file its
                     description, its SDK version word, and every class it exports (name,
                     category, class ID, super class ID).
  palette [IMAGE] [--colors N] [--skip N] [--harmony none|i|V|L|I|T|Y|X]
          [--sort count|hue|value|hue-desc|value-desc] [--json]
                     Print the palette that a map with these settings holds: extraction
                     ("# colors" N, 1-100, default 10; "# colors skip" N, 0-30, default 0),
                     then the colour harmony when asked, then the autosort when asked. A table
                     with colour swatches, or with --json one JSON object (image and grid size,
                     k-means passes, and every entry's fields).
  render [SCENE.json] [--bitmap IMAGE] [--mode LABEL] [--colors N] [--skip N]
         [--gamma G] [--hue H] [--saturation S] [--value V]
         [--renderer scanline|vray|mentalray] [--print-shader] [--size WxH]
         [--threads N] [--unlit] -o OUT.png
                     Render a scene with the map and write the picture as a PNG file. Without
                     SCENE.json the built-in scene is rendered: a box, a sphere, a cylinder and a
                     polygon box on a ground plane, all wearing one material whose diffuse map is
                     a Chromasift map. The options set every Chromasift map of the scene, as a
                     saved scene would: --bitmap the source picture (default: the scene's own,
                     else a built-in striped picture), --mode the distribution mode by its label
                     in the map's rollout ("Random", "Linear", "Mirror", "Object (linear)",
                     "Object (random)", "Per Element", "Object ID", "Material ID", "Per Face",
                     "VRay Instance (rnd)", "1D Mapping", "2D Mapping", "3D Mapping",
                     "As Tiles", "Input map", "BerconTile(Lin)", "BerconTile(Rnd)"), --colors
                     "# colors" (1-100), --skip "# colors skip" (0-30), --gamma "Gamma"
                     (0.1-10), --hue, --saturation, --value the alterations in percent (1-100).
                     --renderer picks the host's scanline renderer (default), the V-Ray
                     stand-in or the mental ray stand-in, which shades each map with the
                     host's "Chromasift" mental ray shader from the parameters the map
                     translates into it; --print-shader (mental ray only) prints every
                     translated shader instance with all its parameters; --size the picture
                     size (default 640x480); --threads the render threads (default: one per
                     core); --unlit writes each surface's map colour
                     as it is, without lighting, so that colours can be checked exactly.
  help               Show this help.

Options:
  --plugin-dir DIR   Load plug-ins from DIR. May be given several times; the directories are
                     searched in order. Default: the "plugins" directory beside this program.
  --quiet            Quiet mode: plug-ins show no message boxes.
  -h, --help         Show this help.
  --version          Show the host's version.

Exit status: 0 on success, 1 when the command failed, 2 for a usage error.
)usage";

int UsageError(const std::string& message) {
    std::cerr << "chromasift: " << message << "\nTry 'chromasift --help'.\n";
    return kExitUsage;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> pluginDirs;
    std::vector<std::string> positional;
    std::vector<char*> commandArgs;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "-h" || arg == "--help") {
            std::cout << kUsage;
            return kExitOk;
        }
        if (arg == "--version") {
            std::cout << "chromasift host 1.1.9\n";
            return kExitOk;
        }
        if (arg == "--quiet") {
            GetCOREInterface()->SetQuietMode(TRUE);
        } else if (arg == "--plugin-dir") {
            if (i + 1 >= argc)
                return UsageError("--plugin-dir needs a directory");
            pluginDirs.push_back(argv[++i]);
        } else if (arg.rfind("--", 0) == 0 && positional.empty()) {
            return UsageError("unknown option '" + arg + "'");
        } else {
            // Everything from the command on belongs to the command.
            for (int j = i; j < argc; ++j) {
                positional.push_back(argv[j]);
                commandArgs.push_back(argv[j]);
            }
            break;
        }
    }
    if (positional.empty())
        return UsageError("no command given");

    IPathConfigMgr* paths = IPathConfigMgr::GetPathConfigMgr();
    if (pluginDirs.empty())
        paths->AddPlugInEntry(L"Plug-ins", (host::ExecutableDirectory() / "plugins").wstring());
    for (const std::string& dir : pluginDirs)
        paths->AddPlugInEntry(L"Plug-ins", std::filesystem::path(host::FromUtf8(dir)).wstring());

    const std::string& command = positional.front();
    if (command == "help") {
        std::cout << kUsage;
        return kExitOk;
    }
    if (command == "palette") {
        host::PaletteOptions options;
        options.colour = host::StdoutSupportsColour();
        const std::string error =
            host::ParsePaletteOptions(static_cast<int>(commandArgs.size()), commandArgs.data(), 1, options);
        if (!error.empty())
            return UsageError(error);
        return host::RunPaletteCommand(options, std::cout, std::cerr);
    }
    if (command == "render") {
        host::RenderOptions options;
        const std::string error =
            host::ParseRenderOptions(static_cast<int>(commandArgs.size()), commandArgs.data(), 1, options);
        if (!error.empty())
            return UsageError(error);
        host::PluginManager plugins;
        plugins.LoadAll();
        return host::RunRenderCommand(options, plugins, std::cout, std::cerr, host::StderrIsTerminal());
    }
    if (command == "plugins") {
        if (positional.size() > 1)
            return UsageError("'plugins' takes no arguments");
        host::PluginManager plugins;
        plugins.LoadAll();
        host::PrintPlugins(plugins, std::cout);
        return plugins.Failures().empty() && !plugins.Libraries().empty() ? kExitOk : kExitFailure;
    }
    return UsageError("unknown command '" + command + "'");
}

// chromasift: the stand-in host's command-line tool.
#include "host/palette_command.h"
#include "host/platform.h"
#include "host/plugins_command.h"
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

const char* const kUsage = R"(Usage: chromasift [OPTIONS] COMMAND [ARGS]

A stand-in 3D host for the KR Chromasift texture map: it loads the map's plug-in the way the
host application does and runs it on your files.

Commands:
  plugins            List the plug-ins found in the plug-in directories: for each file its
                     description, its SDK version word, and every class it exports (name,
                     category, class ID, super class ID).
  palette IMAGE [--colors N] [--skip N] [--harmony none|i|V|L|I|T|Y|X]
          [--sort count|hue|value|hue-desc|value-desc] [--json]
                     Print the palette that a map with these settings holds: extraction
                     ("# colors" N, 1-100, default 10; "# colors skip" N, 0-30, default 0),
                     then the colour harmony when asked, then the autosort when asked. A table
                     with colour swatches, or with --json one JSON object (image and grid size,
                     k-means passes, and every entry's fields).
  help               Show this help.

Options:
  --plugin-dir DIR   Load plug-ins from DIR. May be given several times; the directories are
                     searched in order. Default: the "plugins" directory beside this program.
  --quiet            Quiet mode: plug-ins show no message boxes.
  -h, --help         Show this help.
  --version          Show the host's version.

Exit status: 0 on success, 1 when the command failed, 2 for a usage error.
)";

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

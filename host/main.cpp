// chromasift: the stand-in host's command-line tool.
#include "host/base/atomic_file.h"
#include "host/base/huge_page_heap.h"
#include "host/base/platform.h"
#include "host/base/progress_display.h"
#include "host/base/text.h"
#include "host/commands/palette_command.h"
#include "host/commands/plugins_command.h"
#include "host/commands/render_command.h"
#include "host/commands/version_text.h"
#include "host/edit/edit_command.h"
#include "host/edit/screenshot_command.h"
#include "host/farm/submit_command.h"
#include "host/gltf/export_command.h"
#include "host/job/render_options.h"
#include "host/job/render_source.h"
#include "host/sheet/sheet_command.h"

#include "hostsdk/core_interface.h"
#include "hostsdk/path_config.h"

#include <cstring>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace {

// The tool's own options, which `submit` passes on to the tasks it submits.
std::vector<std::string> pluginDirs;
bool quiet = false;

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

const char* const kUsage = R"usage(Usage: chromasift [OPTIONS] COMMAND [ARGS]

A stand-in 3D host for the KR Chromasift texture map: it loads the map's plug-in the way the
host application does and runs it on your files.

Commands:
  plugins    List the plug-ins found in the plug-in directories, with their classes.
  palette    Extract the palette a map holds from an image; print it or export it.
  render     Render a scene file, a model file or the built-in scene with the map, to PNG.
  sheet      Render a scene in all seventeen distribution modes as one labelled contact sheet.
  export     Write a scene's meshes in the map's colours as glTF, or as a page that shows them.
  submit     Render a sequence on a Slurm render farm, in chunks of frames, and follow it.
  edit       Edit a scene's map in a material-editor window, or replay a script of edits.
  screenshot Write PNG pictures of the map's rollouts and reorder dialog (Windows build).
  help       Show this help, or with a command's name that command's help.

'chromasift COMMAND --help' explains a command's options, with an example.

Options:
  --plugin-dir DIR   Load plug-ins from DIR. May be given several times; the directories are
                     searched in order. Default: the "plugins" directory beside this program.
  --quiet            Quiet mode: plug-ins show no message boxes.
  -h, --help         Show this help.
  --version          Show the version, and those of the libraries it was built with.

--plugin-dir and --quiet may also follow the command's name. A value may follow its option's name
after '=', as in --plugin-dir=DIR, for the commands' options too.

Exit status: 0 on success, 1 when the command failed, 2 for a usage error.
)usage";

// A command's name, its help text, how to run it with the arguments after its name, and which of its
// options take a value (null: none does, as far as the tool's own options after its name are concerned).
struct Command {
    const char* name;
    const char* (*usage)();
    int (*run)(int argc, char** argv);
    bool (*takesValue)(const std::string& option);
};

// Whether an option of the command whose table `Table` builds takes a value.
template <class Options, host::OptionTable (*Table)(Options&)>
bool TableTakesValue(const std::string& option) {
    Options unused;
    return host::OptionTakesValue(Table(unused), option);
}

int UsageError(const std::string& message, const std::string& command = std::string()) {
    std::cerr << "chromasift: " << message << "\nTry 'chromasift " << (command.empty() ? "" : command + " ")
              << "--help'.\n";
    return kExitUsage;
}

bool AsksForHelp(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "-h") == 0 || std::strcmp(argv[i], "--help") == 0)
            return true;
    return false;
}

// The first argument that looks like an option, for commands that take none; null when there is none.
const char* FirstOption(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (argv[i][0] == '-' && argv[i][1] != 0)
            return argv[i];
    return nullptr;
}

int RunPlugins(int argc, char** argv) {
    if (const char* option = FirstOption(argc, argv))
        return UsageError("unknown option '" + std::string(option) + "' for 'plugins'", "plugins");
    if (argc > 1)
        return UsageError("'plugins' takes no arguments", "plugins");
    host::PluginManager plugins;
    plugins.LoadAll();
    host::PrintPlugins(plugins, std::cout, std::cerr);
    return plugins.Failures().empty() && !plugins.Libraries().empty() ? kExitOk : kExitFailure;
}

int RunPalette(int argc, char** argv) {
    host::PaletteOptions options;
    options.colour = host::StdoutSupportsColour();
    options.terminalOutput = host::StdoutIsTerminal();
    const std::string error = host::ParsePaletteOptions(argc, argv, 1, options);
    if (!error.empty())
        return UsageError(error, "palette");
    // The palette is the map's: without the map the tool cannot say what it would hold.
    host::PluginManager plugins;
    plugins.LoadAll();
    if (const std::string missing = host::MapNotInstalled(plugins); !missing.empty()) {
        std::cerr << "chromasift: " << missing << "\n";
        return kExitFailure;
    }
    return host::RunPaletteCommand(options, std::cout, std::cerr);
}

int RunRender(int argc, char** argv) {
    host::RenderOptions options;
    options.terminalOutput = host::StdoutIsTerminal();
    const std::string error = host::ParseRenderOptions(argc, argv, 1, options);
    if (!error.empty())
        return UsageError(error, "render");
    host::PluginManager plugins;
    plugins.LoadAll();
    return host::RunRenderCommand(options, plugins, std::cout, std::cerr, host::StderrIsTerminal());
}

int RunSubmit(int argc, char** argv) {
    host::SubmitOptions options;
    const std::string error = host::ParseSubmitOptions(argc, argv, 1, options);
    if (!error.empty())
        return UsageError(error, "submit");
    options.pluginDirs = pluginDirs;
    options.quiet = quiet;
    const std::unique_ptr<host::SlurmClient> slurm = host::SystemSlurmClient();
    return host::RunSubmitCommand(options, *slurm, std::cout, std::cerr, host::StderrIsTerminal());
}

int RunSheet(int argc, char** argv) {
    host::SheetOptions options;
    options.render.terminalOutput = host::StdoutIsTerminal();
    const std::string error = host::ParseSheetOptions(argc, argv, 1, options);
    if (!error.empty())
        return UsageError(error, "sheet");
    host::PluginManager plugins;
    plugins.LoadAll();
    return host::RunSheetCommand(options, plugins, std::cout, std::cerr, host::StderrIsTerminal());
}

int RunExport(int argc, char** argv) {
    host::ExportOptions options;
    options.render.terminalOutput = host::StdoutIsTerminal();
    const std::string error = host::ParseExportOptions(argc, argv, 1, options);
    if (!error.empty())
        return UsageError(error, "export");
    host::PluginManager plugins;
    plugins.LoadAll();
    return host::RunExportCommand(options, plugins, std::cout, std::cerr, host::StderrIsTerminal());
}

int RunEdit(int argc, char** argv) {
    host::EditOptions options;
    const std::string error = host::ParseEditOptions(argc, argv, 1, options);
    if (!error.empty())
        return UsageError(error, "edit");
    host::PluginManager plugins;
    plugins.LoadAll();
    return host::RunEditCommand(options, plugins, std::cout, std::cerr);
}

int RunScreenshot(int argc, char** argv) {
    host::ScreenshotOptions options;
    const std::string error = host::ParseScreenshotOptions(argc, argv, 1, options);
    if (!error.empty())
        return UsageError(error, "screenshot");
    host::PluginManager plugins;
    plugins.LoadAll();
    return host::RunScreenshotCommand(options, plugins, std::cout, std::cerr);
}

int RunHelp(int argc, char** argv);

const char* HelpUsage() {
    return "Usage: chromasift help [COMMAND]\n\n"
           "Shows the tool's help, or the help of COMMAND (plugins, palette, render, sheet, export,\n"
           "submit, edit, screenshot).\n\n"
           "Example:\n  chromasift help render\n";
}

const char* PluginsUsage() {
    return "Usage: chromasift [--plugin-dir DIR]... plugins\n\n"
           "Loads every *.dlt file in the plug-in directories the way the host does at start-up and\n"
           "lists each file's description, its SDK version word and every class it exports (name,\n"
           "category, class ID, super class ID), then the files that failed to load and why.\n"
           "Exit status 1 when no plug-in was found or one failed to load.\n\n"
           "Example:\n  chromasift --plugin-dir build/linux/bin/plugins plugins\n";
}

const Command kCommands[] = {
    {"plugins", PluginsUsage, RunPlugins, nullptr},
    {"palette", host::PaletteUsage, RunPalette,
     TableTakesValue<host::PaletteOptions, host::PaletteOptionTable>},
    {"render", host::RenderUsage, RunRender, TableTakesValue<host::RenderOptions, host::RenderOptionTable>},
    {"sheet", host::SheetUsage, RunSheet, TableTakesValue<host::SheetOptions, host::SheetOptionTable>},
    {"export", host::ExportUsage, RunExport, TableTakesValue<host::ExportOptions, host::ExportOptionTable>},
    {"submit", host::SubmitUsage, RunSubmit, TableTakesValue<host::SubmitOptions, host::SubmitOptionTable>},
    {"edit", host::EditUsage, RunEdit, nullptr},
    {"screenshot", host::ScreenshotUsage, RunScreenshot, nullptr},
    {"help", HelpUsage, RunHelp, nullptr},
};

const Command* FindCommand(const std::string& name) {
    for (const Command& command : kCommands)
        if (name == command.name)
            return &command;
    return nullptr;
}

int RunHelp(int argc, char** argv) {
    if (const char* option = FirstOption(argc, argv))
        return UsageError("unknown option '" + std::string(option) + "' for 'help'", "help");
    if (argc == 1) {
        std::cout << kUsage;
        return kExitOk;
    }
    const Command* command = argc == 2 ? FindCommand(argv[1]) : nullptr;
    if (command == nullptr) {
        std::string names;
        for (const Command& each : kCommands)
            if (std::string(each.name) != "help")
                names += (names.empty() ? "" : ", ") + std::string(each.name);
        return UsageError("'help' takes one command's name: " + names, "help");
    }
    std::cout << command->usage();
    return kExitOk;
}

// Takes the tool's own option at argv[i], before or after the command's name, moving `i` past its value:
// false when argv[i] is none. `error` says what is wrong with one.
bool TakeToolOption(int argc, char** argv, int& i, std::string& error) {
    const std::string arg = argv[i];
    const std::string dirOption = "--plugin-dir";
    if (arg == "--quiet") {
        GetCOREInterface()->SetQuietMode(TRUE);
        quiet = true;
    } else if (arg.rfind("--quiet=", 0) == 0) {
        error = "--quiet takes no value, not '" + arg.substr(8) + "'";
    } else if (arg == dirOption) {
        if (i + 1 >= argc)
            error = "--plugin-dir needs a directory";
        else
            pluginDirs.push_back(argv[++i]);
    } else if (arg.rfind(dirOption + "=", 0) == 0) {
        pluginDirs.push_back(arg.substr(dirOption.size() + 1));
    } else {
        return false;
    }
    return true;
}

// The command's arguments, its name first, without the tool's own options given among them; the value of
// an option of the command's is left alone whatever it looks like.
std::vector<char*> CommandArguments(const Command& command, int argc, char** argv, int first,
                                    std::string& error) {
    std::vector<char*> kept{argv[first]};
    for (int i = first + 1; i < argc && error.empty(); ++i) {
        if (TakeToolOption(argc, argv, i, error))
            continue;
        kept.push_back(argv[i]);
        const std::string arg = argv[i];
        const bool option = arg.size() > 1 && arg[0] == '-' && arg.find('=') == std::string::npos;
        if (option && command.takesValue != nullptr && command.takesValue(arg) && i + 1 < argc)
            kept.push_back(argv[++i]);
    }
    return kept;
}

// Runs the tool with its arguments; returns the exit status.
int RunTool(int argc, char** argv) {
    int first = argc; // the command's name
    for (int i = 1; i < argc && first == argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "-h" || arg == "--help") {
            std::cout << kUsage;
            return kExitOk;
        }
        if (arg == "--version") {
            std::cout << host::VersionText();
            return kExitOk;
        }
        std::string error;
        if (TakeToolOption(argc, argv, i, error)) {
            if (!error.empty())
                return UsageError(error);
        } else if (arg.rfind("--", 0) == 0) {
            return UsageError("unknown option '" + arg + "'");
        } else {
            first = i;
        }
    }
    if (first == argc)
        return UsageError("no command given");
    const Command* command = FindCommand(argv[first]);
    if (command == nullptr)
        return UsageError("unknown command '" + std::string(argv[first]) + "'");
    std::string error;
    std::vector<char*> arguments = CommandArguments(*command, argc, argv, first, error);
    if (!error.empty())
        return UsageError(error, command->name);
    const int commandArgc = static_cast<int>(arguments.size());
    arguments.push_back(nullptr); // as argv ends
    char** commandArgv = arguments.data();
    if (AsksForHelp(commandArgc, commandArgv)) {
        std::cout << command->usage();
        return kExitOk;
    }

    IPathConfigMgr* paths = IPathConfigMgr::GetPathConfigMgr();
    if (pluginDirs.empty())
        paths->AddPlugInEntry(L"Plug-ins", (host::ExecutableDirectory() / "plugins").wstring());
    for (const std::string& dir : pluginDirs)
        paths->AddPlugInEntry(L"Plug-ins", std::filesystem::path(host::FromUtf8(dir)).wstring());
    return command->run(commandArgc, commandArgv);
}

} // namespace

int main(int argc, char** argv) {
    host::PlaceHeapOnHugePages();
    host::WriteStdoutAsBytes();
    const int status = RunTool(argc, argv);
    // What a command printed may still wait in the buffers: output lost to a full disk fails the command,
    // as it fails cat. A command that failed has said why already (perhaps this very reason).
    if (const std::string failure = host::FlushStandardOutput(); !failure.empty() && status == kExitOk) {
        std::cerr << "chromasift: " << failure << "\n";
        return kExitFailure;
    }
    return status;
}

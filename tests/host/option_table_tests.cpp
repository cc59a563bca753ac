// The option tables of the commands that render and of palette: every option as its table declares it, in
// the parser and in the help.
#include "host/base/option_table.h"
#include "host/commands/palette_command.h"
#include "host/farm/submit_command.h"
#include "host/job/render_options.h"
#include "host/sheet/sheet_command.h"

#include "command_line.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

// A command's table (built on options of its own), its parser on fresh options, and its help.
struct TableCommand {
    const char* name;
    host::OptionTable (*table)();
    std::string (*parse)(std::vector<std::string> args);
    const char* (*usage)();
};

template <class Options, host::OptionTable (*Build)(Options&)> host::OptionTable Table() {
    static Options options; // the table's setters hold on to it
    return Build(options);
}

template <class Options, std::string (*Parser)(int, char**, int, Options&)>
std::string Parse(std::vector<std::string> args) {
    Options options;
    return ParseCommandLine(Parser, std::move(args), options);
}

std::string ParseRender(int argc, char** argv, int first, host::RenderOptions& options) {
    return host::ParseRenderOptions(argc, argv, first, options);
}

const TableCommand kCommands[] = {
    {"render", Table<host::RenderOptions, host::RenderOptionTable>, Parse<host::RenderOptions, ParseRender>,
     host::RenderUsage},
    {"sheet", Table<host::SheetOptions, host::SheetOptionTable>,
     Parse<host::SheetOptions, host::ParseSheetOptions>, host::SheetUsage},
    {"submit", Table<host::SubmitOptions, host::SubmitOptionTable>,
     Parse<host::SubmitOptions, host::ParseSubmitOptions>, host::SubmitUsage},
    {"palette", Table<host::PaletteOptions, host::PaletteOptionTable>,
     Parse<host::PaletteOptions, host::ParsePaletteOptions>, host::PaletteUsage},
};

TEST(OptionTable, EveryLongOptionTakesItsValueAfterAnEqualsSignAndNoSwitchTakesOne) {
    for (const TableCommand& command : kCommands)
        for (const host::CommandOption& option : command.table())
            for (const std::string& name : option.names) {
                if (name.rfind("--", 0) != 0 || name == "--help")
                    continue;
                SCOPED_TRACE(std::string(command.name) + " " + name);
                if (option.value.empty()) {
                    EXPECT_NE(command.parse({name + "=x"}).find(name + " takes no value, not 'x'"),
                              std::string::npos);
                    continue;
                }
                // Whatever the value makes of it (taken, or refused in the option's words), it does the
                // same given either way.
                for (const char* value : {"x", "", "7"})
                    EXPECT_EQ(command.parse({name + "=" + value}), command.parse({name, value}));
            }
}

TEST(OptionTable, TheHelpShowsEveryOptionItDescribesWithinAHundredColumns) {
    for (const TableCommand& command : kCommands) {
        const std::string usage = command.usage();
        std::istringstream lines(usage);
        for (std::string line; std::getline(lines, line);)
            EXPECT_LE(line.size(), 100u) << command.name << ": " << line;
        for (const host::CommandOption& option : command.table())
            if (!option.help.empty())
                EXPECT_TRUE(usage.find("  " + option.names.front()) != std::string::npos ||
                            usage.find(", " + option.names.front() + " ") != std::string::npos)
                    << command.name << " " << option.names.front();
            else
                EXPECT_EQ(usage.find("  " + option.names.front() + " "), std::string::npos)
                    << command.name << " shows " << option.names.front();
    }
    const std::string render = host::RenderUsage();
    for (const char* section : {"\n\nMap settings", "\n\nRendering:\n", "\n\nAnimation", "\n\nExample:\n"})
        EXPECT_NE(render.find(section), std::string::npos) << "a blank line before " << section;
    EXPECT_NE(render.find("  --hue H, --saturation S, --value V\n"), std::string::npos)
        << "options with the same help share one entry";
}

// The sheet and submit take the render options through their own tables; what submit passes on to its
// tasks is each option by its first name, with its value apart.
TEST(OptionTable, SubmitPassesTheRenderOptionsOnAsDeclared) {
    host::SubmitOptions options;
    ASSERT_EQ(ParseCommandLine(
                  host::ParseSubmitOptions,
                  {"--frames=0-3", "--mode=Per Face", "--output=s_#.png", "--unlit", "--chunk=2"}, options),
              "");
    EXPECT_EQ(options.renderArguments,
              (std::vector<std::string>{"--mode", "Per Face", "-o", "s_#.png", "--unlit"}));
    EXPECT_EQ(options.chunk, 2);
}

} // namespace

#pragma once

// A command's options, each declared once: its names, its value, the bounds of a number, whether it names
// a file, its help and what it sets. The parser, the help text and a command that passes options on all
// read the same declarations.
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace host {

// A numeric value's inclusive bounds, and what the value is called in a message ("a percentage").
struct OptionBounds {
    double low;
    double high;
    std::string noun;
};

struct CommandOption {
    // Every name the option answers to ("-o", "--output"); messages use the one given.
    std::vector<std::string> names;
    // What the value is called in the help ("N", "FILE"); empty for a switch, which takes none.
    std::string value;
    // The values the usage line lists instead of the value's name ("scanline|vray|mentalray").
    std::string choices;
    // The value names a file: a command that runs the options elsewhere makes it absolute.
    bool path = false;
    // Written after the other options and without brackets in the usage line: the command needs it.
    bool required = false;
    // The heading the help lists it under.
    std::string section;
    // One paragraph, wrapped to the help's width; "\n" starts a line, and "{low}" and "{high}" stand for
    // the bounds. Neighbours with the same help share one entry. Empty: left out of the help and the usage
    // line (an option the command takes without showing it, or refuses in its own words).
    std::string help;
    std::optional<OptionBounds> bounds;
    // Takes the value given with the name it was given by (a switch's value is empty); returns what is
    // wrong with it, empty when it is taken.
    std::function<std::string(const std::string& name, const std::string& value)> set;
};

using OptionTable = std::vector<CommandOption>;

// A switch that sets `target`.
CommandOption SwitchOption(std::vector<std::string> names, std::string help, bool& target);
// An option whose value `set` takes or refuses.
CommandOption ValueOption(std::vector<std::string> names, std::string value, std::string help,
                          std::function<std::string(const std::string& name, const std::string& value)> set);
// An option naming a file (`path`), which `store` takes as it is.
CommandOption PathOption(std::vector<std::string> names, std::string value, std::string help,
                         std::function<void(const std::string&)> store);
// A whole number or a number from `bounds`, handed to `store` once it is read and within them.
CommandOption IntOption(std::vector<std::string> names, std::string value, OptionBounds bounds,
                        std::string help, std::function<void(int)> store);
CommandOption FloatOption(std::vector<std::string> names, std::string value, OptionBounds bounds,
                          std::string help, std::function<void(float)> store);

// Makes each named option of `table` refuse its value with the message beside its name, and leaves it out of
// the help: how a command that builds on another's table turns away options it has no use for.
void RefuseOptions(OptionTable& table, std::initializer_list<std::pair<const char*, const char*>> refused);

// The options with `heading` as their section.
OptionTable OptionSection(const std::string& heading, OptionTable options);

// The option that answers to `name`; null when none does.
CommandOption* FindOption(OptionTable& table, const std::string& name);
const CommandOption* FindOption(const OptionTable& table, const std::string& name);
bool OptionTakesValue(const OptionTable& table, const std::string& name);

// Sets every option of argv[first] to argv[argc - 1] as the table says and hands each operand to `operand`
// (which returns what is wrong with it). Returns the first problem, empty when every argument was taken;
// `command` names the command in messages.
std::string ParseOptions(const OptionTable& table, int argc, char** argv, int first,
                         const std::string& command,
                         const std::function<std::string(const std::string& operand)>& operand);

// The help's lines for the options: each section's heading, then each option with its value and help,
// no line wider than 100 characters.
std::string OptionsHelp(const OptionTable& table);

// "Usage: chromasift COMMAND OPERANDS [--option VALUE] ... MORE REQUIRED", wrapped under the operands.
std::string UsageLine(const std::string& command, const std::string& operands, const OptionTable& table,
                      const std::string& more = std::string());

// A bound as messages and help write it: 10, 0.1, -10000000.
std::string BoundText(double bound);

} // namespace host

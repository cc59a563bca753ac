#pragma once

// What every command shares in reading its arguments: the walk that hands each option its value, and
// numbers within bounds. Each command keeps its own options and its own words for what is wrong.
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace host {

// One argument after the command's name: an option ('-' and more) with its value when it takes one, or an
// operand.
struct CommandArgument {
    // The option's name, without a value written into the same argument ("--size" of "--size=64x48").
    std::string text;
    bool option = false;
    // The argument after an option that takes a value, or what follows '=' in "--name=value" (for any
    // option: one that takes no value is then to be refused); none when the option came last.
    std::optional<std::string> value;
};

// The arguments argv[first] to argv[argc - 1], in order; an option for which `takesValue` holds takes the
// argument after it as its value, whatever that looks like, unless written as "--name=value", as GNU tools
// take it.
std::vector<CommandArgument> ReadCommandArguments(int argc, char** argv, int first,
                                                  const std::function<bool(const std::string&)>& takesValue);

// `text` whole as a decimal number from low to high: digits after an optional '-', nothing else (no blank,
// no '+', no trailing letter).
bool ParseInt(const std::string& text, int low, int high, int& value);
// `text` whole as a finite decimal number from low to high, as strictly (no blank, no '+' before it, no
// hexadecimal, no "inf" or "nan").
bool ParseFloat(const std::string& text, float low, float high, float& value);

} // namespace host

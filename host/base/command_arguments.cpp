#include "host/base/command_arguments.h"

#include <cmath>
#include <cstdlib>

namespace host {

std::vector<CommandArgument> ReadCommandArguments(int argc, char** argv, int first,
                                                  const std::function<bool(const std::string&)>& takesValue) {
    std::vector<CommandArgument> arguments;
    for (int i = first; i < argc; ++i) {
        CommandArgument argument;
        argument.text = argv[i];
        argument.option = argument.text.size() > 1 && argument.text[0] == '-';
        if (argument.option && takesValue(argument.text) && i + 1 < argc)
            argument.value = argv[++i];
        arguments.push_back(std::move(argument));
    }
    return arguments;
}

bool ParseInt(const std::string& text, int low, int high, int& value) {
    char* end = nullptr;
    const long parsed = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != 0 || parsed < low || parsed > high)
        return false;
    value = static_cast<int>(parsed);
    return true;
}

bool ParseFloat(const std::string& text, float low, float high, float& value) {
    char* end = nullptr;
    const float parsed = std::strtof(text.c_str(), &end);
    if (text.empty() || *end != 0 || !std::isfinite(parsed) || parsed < low || parsed > high)
        return false;
    value = parsed;
    return true;
}

} // namespace host

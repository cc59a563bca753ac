#include "host/base/command_arguments.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace host {

std::vector<CommandArgument> ReadCommandArguments(int argc, char** argv, int first,
                                                  const std::function<bool(const std::string&)>& takesValue) {
    std::vector<CommandArgument> arguments;
    for (int i = first; i < argc; ++i) {
        CommandArgument argument;
        argument.text = argv[i];
        argument.option = argument.text.size() > 1 && argument.text[0] == '-';
        const std::size_t equals = argument.text.find('=');
        if (argument.option && argument.text.rfind("--", 0) == 0 && equals != std::string::npos) {
            argument.value = argument.text.substr(equals + 1);
            argument.text.resize(equals);
        } else if (argument.option && takesValue(argument.text) && i + 1 < argc) {
            argument.value = argv[++i];
        }
        arguments.push_back(std::move(argument));
    }
    return arguments;
}

namespace {

// `text` is made of `allowed` characters alone and starts with a digit, '-' or '.'; what strtol and strtof
// would skip or read beyond plain decimals (blanks, '+', "0x", "inf") is refused before they see it.
bool PlainNumber(const std::string& text, const char* allowed) {
    if (text.empty() || std::strchr("-.0123456789", text[0]) == nullptr)
        return false;
    return text.find_first_not_of(allowed) == std::string::npos;
}

} // namespace

bool ParseInt(const std::string& text, int low, int high, int& value) {
    if (!PlainNumber(text, "-0123456789") || text.find('-', 1) != std::string::npos)
        return false;
    char* end = nullptr;
    const long long parsed = std::strtoll(text.c_str(), &end, 10);
    if (*end != 0 || parsed < low || parsed > high)
        return false;
    value = static_cast<int>(parsed);
    return true;
}

bool ParseFloat(const std::string& text, float low, float high, float& value) {
    if (!PlainNumber(text, "-+.eE0123456789"))
        return false;
    char* end = nullptr;
    const float parsed = std::strtof(text.c_str(), &end);
    if (*end != 0 || !std::isfinite(parsed) || parsed < low || parsed > high)
        return false;
    value = parsed;
    return true;
}

} // namespace host

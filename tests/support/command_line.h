#pragma once

// Command lines for the host tool's option parsers, which take argc, argv and the first argument to read.
#include <string>
#include <vector>

// What `parse` answers for `args` (the host's parsers: an error, empty when they parse) and, through
// `options`, what it read from them.
template <class Options, class Parse>
auto ParseCommandLine(Parse parse, std::vector<std::string> args, Options& options, int first = 0) {
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    return parse(static_cast<int>(argv.size()), argv.data(), first, options);
}

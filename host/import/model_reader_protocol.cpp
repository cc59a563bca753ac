#include "host/import/model_reader_protocol.h"

#include "host/base/huge_page_heap.h"

#include <charconv>
#include <cstring>

namespace host {

std::vector<std::string> ModelReaderArguments(const ModelReaderRequest& request) {
    std::vector<std::string> arguments;
    if (request.triangulate)
        arguments.push_back("--triangulate");
    if (request.upAxis != 0)
        arguments.insert(arguments.end(), {"--up", std::string(1, request.upAxis)});
    if (request.memoryLimitBytes != 0)
        arguments.insert(arguments.end(), {"--memory-limit", std::to_string(request.memoryLimitBytes)});
    // The file last, after "--", so that a name starting with '-' stays a name.
    arguments.insert(arguments.end(), {"--", request.file});
    return arguments;
}

std::vector<std::string> ModelReaderEnvironment(const char* tunables) {
    return {"GLIBC_TUNABLES=" + TunablesWithHugePages(tunables)};
}

bool ParseModelReaderArguments(int argc, const char* const* argv, ModelReaderRequest& request) {
    int i = 1;
    for (; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
        const std::string arg = argv[i];
        if (arg == "--triangulate") {
            request.triangulate = true;
        } else if (arg == "--up" && i + 1 < argc) {
            const std::string axis = argv[++i];
            if (axis != "y" && axis != "z")
                return false;
            request.upAxis = axis[0];
        } else if (arg == "--memory-limit" && i + 1 < argc) {
            const std::string value = argv[++i];
            const auto [end, error] =
                std::from_chars(value.data(), value.data() + value.size(), request.memoryLimitBytes);
            if (error != std::errc() || end != value.data() + value.size())
                return false;
        } else {
            return false;
        }
    }
    // "--" and exactly one file.
    if (i + 2 != argc)
        return false;
    request.file = argv[i + 1];
    return true;
}

} // namespace host

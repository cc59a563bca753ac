#include "host/edit/scene_arguments.h"

namespace host {

std::string ParseSceneArguments(int argc, char** argv, int first, const std::string& command,
                                const std::map<std::string, std::string*>& valued, std::string& scene) {
    for (int i = first; i < argc; ++i) {
        const std::string argument = argv[i];
        if (const auto option = valued.find(argument); option != valued.end()) {
            if (i + 1 >= argc)
                return "option '" + argument + "' needs a value";
            *option->second = argv[++i];
        } else if (argument.size() > 1 && argument[0] == '-') {
            return "unknown option '" + argument + "' for '" + command + "'";
        } else if (scene.empty()) {
            scene = argument;
        } else {
            return "'" + command + "' takes one scene file, not also '" + argument + "'";
        }
    }
    return std::string();
}

} // namespace host

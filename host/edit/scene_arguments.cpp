#include "host/edit/scene_arguments.h"

#include "host/base/command_arguments.h"

namespace host {

std::string ParseSceneArguments(int argc, char** argv, int first, const std::string& command,
                                const std::map<std::string, std::string*>& valued, std::string& scene) {
    const auto takesValue = [&valued](const std::string& option) { return valued.count(option) != 0; };
    for (const CommandArgument& argument : ReadCommandArguments(argc, argv, first, takesValue)) {
        if (const auto option = valued.find(argument.text); option != valued.end()) {
            if (!argument.value)
                return "option '" + argument.text + "' needs a value";
            *option->second = *argument.value;
        } else if (argument.option) {
            return "unknown option '" + argument.text + "' for '" + command + "'";
        } else if (scene.empty()) {
            scene = argument.text;
        } else {
            return "'" + command + "' takes one scene file, not also '" + argument.text + "'";
        }
    }
    return std::string();
}

} // namespace host

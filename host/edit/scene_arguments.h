#pragma once

// The arguments of the editor's commands: one optional scene file and options that each take a value.
#include <map>
#include <string>

namespace host {

// Reads the arguments after the command's name: each option of `valued` stores its value in the string it
// points to, the one other argument is the scene. Returns an error message naming `command`, empty on
// success.
std::string ParseSceneArguments(int argc, char** argv, int first, const std::string& command,
                                const std::map<std::string, std::string*>& valued, std::string& scene);

} // namespace host

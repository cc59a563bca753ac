#pragma once

// The format an output's file name asks for: commands that write several formats take it from the name's
// extension, so that "x.gpl" holds a GIMP palette whatever the default.
#include <span>
#include <string>

namespace host {

// The extension of the file `output` names, lower case and without its dot ("gpl" for "x.GPL"), when it
// chooses the format. Empty for standard output ("-"), for an existing device, named pipe or socket (their
// names say nothing of what they carry) and for a file name without an extension: those keep to the
// command's --format or its default.
std::string OutputExtension(const std::string& output);

// The refusal of an output whose extension `extension` the command cannot write: "-o x.jpg: 'render'
// writes .png files, not .jpg".
std::string ExtensionRefusal(const std::string& command, const std::string& output,
                             const std::string& extension, std::span<const char* const> written);

} // namespace host

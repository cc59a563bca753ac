#pragma once

// What `chromasift --version` prints: the project's version, the same as the plug-in's version resource,
// and the libraries the host and the plug-in were built with.
#include <string>

namespace host {

std::string VersionText();

} // namespace host

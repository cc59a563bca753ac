#pragma once

// The browser viewer the preview page holds: three.js with its glTF loader and orbit controls, as the
// system's package of three.js ships them, built into the tool so that it needs no files beside it.
#include <string_view>
#include <vector>

namespace host {

// The scripts in the order the page loads them.
std::vector<std::string_view> ViewerScripts();

} // namespace host

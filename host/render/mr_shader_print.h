#pragma once

// A translated mental ray shader instance written out as text, so that a user can see what the renderer
// receives.
#include "hostsdk/mental_ray.h"

#include <ostream>

namespace host {

// The instance's name and declaration, then every parameter of its value block and of its connection
// block with its value: numbers as written (floats to 9 significant digits), colour tables one element a
// line, connections by the connected map's full name or "none".
void PrintShader(imrShader& shader, std::ostream& out);

} // namespace host

#pragma once

// The bitmap manager's status codes in words, for the tool's messages.
#include "hostsdk/bitmap.h"

#include <string>

namespace host {

std::string BitmapStatusText(BMMRES status);

} // namespace host

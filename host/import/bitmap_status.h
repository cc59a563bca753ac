#pragma once

// The bitmap manager's status codes in words, for the tool's messages.
#include "hostsdk/bitmap.h"

#include <string>

namespace host {

std::string BitmapStatusText(BMMRES status);

// Why an image file could not be loaded: "it is a directory" for a folder, else the status in words.
std::string ImageLoadProblem(const std::string& file, BMMRES status);

} // namespace host

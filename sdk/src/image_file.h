#pragma once

#include "hostsdk/bitmap.h"

#include <cstdio>
#include <vector>

namespace hostsdk::image {

// Opens a file for binary reading by its wide path. Returns null with BMMRES_FILENOTFOUND when there is
// no such file (or the path cannot name one), BMMRES_IOERROR when it exists but cannot be opened.
std::FILE* OpenImageFile(const MCHAR* path, BMMRES& status);

// Reads a whole file into `bytes`. Files too large to decode (over 2 GiB) give BMMRES_MEMORYERROR.
BMMRES ReadImageFile(const MCHAR* path, std::vector<unsigned char>& bytes);

} // namespace hostsdk::image

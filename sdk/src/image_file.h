#pragma once

#include "hostsdk/bitmap.h"

#include <cstdio>
#include <functional>
#include <span>
#include <vector>

namespace hostsdk::image {

// Opens a file for binary reading by its wide path. Returns null with BMMRES_FILENOTFOUND when there is
// no such file (or the path cannot name one), BMMRES_IOERROR when it exists but cannot be opened.
std::FILE* OpenImageFile(const MCHAR* path, BMMRES& status);

// Reads a whole file into `bytes`. Files too large to decode (over 2 GiB) give BMMRES_MEMORYERROR, a file
// that says its size before a byte is read. `checkHead`, when given, judges the first bytes (at most
// `headBytes`) before the rest is read; a status other than success ends the read with it, so that a
// device without end or a large file that is no image is refused at its first bytes.
BMMRES ReadImageFile(const MCHAR* path, std::vector<unsigned char>& bytes,
                     const std::function<BMMRES(std::span<const unsigned char>)>& checkHead = {},
                     std::size_t headBytes = 0);

} // namespace hostsdk::image

#pragma once

// Windows bitmap files as the resource compiler takes them: 24 bits a pixel, rows bottom-up, each row
// padded to four bytes.
#include "host/draw/canvas.h"

#include <cstdint>
#include <vector>

// The whole file; the canvas's alpha is dropped.
std::vector<std::uint8_t> EncodeBmp24(const host::Canvas& canvas);

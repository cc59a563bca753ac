#pragma once

// The About rollout's banner: the product name over a band of palette colours, drawn by the project itself.
#include "host/draw/canvas.h"

// The banner's size in pixels: the template's 216 x 48 dialog units at 7 x 13 dialog base units.
inline constexpr int kBannerWidth = 216 * 7 / 4;
inline constexpr int kBannerHeight = 48 * 13 / 8;

host::Canvas DrawBanner();

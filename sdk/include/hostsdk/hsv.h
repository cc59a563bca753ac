#pragma once

#include "hostsdk/color.h"
#include "hostsdk/sdk_api.h"

// The host's colour conversions, standard hexcone model. All components lie in 0..1 and the HSV triple
// travels packed in a Color as (hue, saturation, value); hue is a fraction of a full turn. Greys (no
// spread between the largest and smallest channel) have hue 0 and saturation 0.
SDK_API Color RGBtoHSV(Color rgb);
SDK_API Color HSVtoRGB(Color hsv);

#pragma once

#include "hostsdk/color.h"
#include "hostsdk/sdk_api.h"

// The host's colour conversions, standard hexcone model. Components lie in 0..1 and the HSV triple
// travels packed in a Color as (hue, saturation, value); hue is a fraction of a full turn. Greys (no
// spread between the largest and smallest channel) have hue 0 and saturation 0. Values beyond 0..1 go
// through the same formulas; hues wrap round the circle.
SDK_API Color RGBtoHSV(Color rgb);
SDK_API Color HSVtoRGB(Color hsv);

// The map's evaluation entry points for renderers.
#include "map/chromasift.h"

AColor Chromasift::EvalColor(ShadeContext&) {
    return AColor(0.0f, 0.0f, 0.0f, 1.0f);
}

float Chromasift::EvalMono(ShadeContext&) {
    return 0.0f;
}

Point3 Chromasift::EvalNormalPerturb(ShadeContext&) {
    return Point3(0.0f, 0.0f, 0.0f);
}

#pragma once

// What the host's renderers make of a node's material at a sample.
#include "hostsdk/mtl.h"

namespace host {

// The material's diffuse colour at the sample: the colour of the map in its diffuse slot when that slot is
// on and holds a map, otherwise its diffuse colour. A node without material is mid grey.
AColor DiffuseColour(Mtl* material, ShadeContext& sc);

// The colour lit by a light at the eye: a quarter ambient, the rest falling off with the cosine between
// the surface's unit normal and the direction to the eye, whichever side of the surface faces the eye.
AColor Headlit(const AColor& colour, const Point3& unitNormal, const Point3& toEye);

} // namespace host

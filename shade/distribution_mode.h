#pragma once

// The combined distribution mode numbers, 0 to 16, as parameter 2 of the map holds them. Stored in scenes
// and passed to the mental ray shader: never renumber them.
namespace distribution {

enum Mode : int {
    kRandom = 0,
    kLinear = 1,
    kMapping1D = 2,
    kMapping2D = 3,
    kMapping3D = 4,
    kInputMap = 5,
    kObjectLinear = 6,
    kObjectId = 7,
    kMaterialId = 8,
    kPerElement = 9,
    kObjectRandom = 10,
    kMirror = 11,
    kPerFace = 12,
    kTiles = 13,
    kBerconLinear = 14,
    kBerconRandom = 15,
    kVRayInstance = 16,
};

} // namespace distribution

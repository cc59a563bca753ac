#pragma once

// Scene files for the growth measurements, written as text straight to disk (a mesh of millions of faces
// would take gigabytes as a JSON tree): `nodes` nodes in a square, each with a triangle object of its own
// holding the grids of grid_meshes.h, all wearing one material whose diffuse map is a Chromasift map;
// a camera looking down on them all.
#include <filesystem>

namespace growth {

struct GridSceneSize {
    int nodes = 1;
    int elements = 1;
    int facesPerElement = 2;
};

// Returns false when the file cannot be written.
bool WriteGridScene(const std::filesystem::path& file, const GridSceneSize& size);

} // namespace growth

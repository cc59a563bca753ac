#pragma once

// Meshes that tests build by hand.
#include "hostsdk/mesh.h"

// Appends a unit box at x = offset: eight corners, six sides each made of two triangles that share an
// invisible diagonal. Its faces get material ID `materialId`.
void AddBox(Mesh& mesh, float offset = 0.0f, MtlID materialId = 0);

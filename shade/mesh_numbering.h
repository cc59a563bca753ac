#pragma once

// Numbers written into face material IDs: polygon numbers for the "Per Face" mode, and the element or
// polygon numbers that the mental ray shader reads. Material IDs are 16-bit: numbers wrap at 65536.
#include "hostsdk/mesh.h"
#include "hostsdk/mn_mesh.h"

#include <memory>

// Faces whose normals differ by less than this many radians (45.9 degrees) join one polygon.
constexpr float kPolygonThreshold = 0.80110615f;

// A copy of the render mesh's topology and material IDs in which every polygon found from seed faces
// 0, step, 2 step, ... (step = max(1, F / 40300)) carries its polygon number, from 0.
std::unique_ptr<Mesh> NumberPolygonsForShading(Mesh& mesh);

// Element numbers from 0 in the mesh's material IDs.
void NumberElements(Mesh& mesh);
// Polygon numbers from 1 in the mesh's material IDs; every face is a candidate seed.
void NumberPolygons(Mesh& mesh);
// Element numbers from 0 in a polygon mesh's face materials.
void NumberElements(MNMesh& mesh);
// Each polygon of a polygon mesh numbered by its index.
void NumberPolygons(MNMesh& mesh);

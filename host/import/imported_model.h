#pragma once

// A model file's geometry as plain data, before it becomes scene objects.
#include "hostsdk/color.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace host {

// One mesh node of a model: positions welded where they are equal (so that faces share their edges as in
// the file's surface), faces of three or more corners with the file's material index, and the file's first
// set of texture coordinates as corners of their own.
struct ImportedPart {
    std::string name;
    // The node's placement as the rows of a transform: three axes, then the position.
    std::array<Point3, 4> transform{Point3(1.0f, 0.0f, 0.0f), Point3(0.0f, 1.0f, 0.0f),
                                    Point3(0.0f, 0.0f, 1.0f), Point3(0.0f, 0.0f, 0.0f)};
    std::vector<Point3> verts;
    std::vector<std::vector<int>> faces;
    std::vector<int> faceMaterials;        // one per face
    std::vector<Point3> uvVerts;           // empty when the file has no texture coordinates
    std::vector<std::vector<int>> uvFaces; // one per face, corner for corner, when uvVerts is not empty

    bool HasPolygons() const;
};

struct ImportedModel {
    std::vector<ImportedPart> parts;
};

struct ModelImportOptions {
    // Split every polygon into triangles (as the file's importer fans it) instead of keeping polygons.
    bool triangulate = false;
    // The file's up axis, 'y' or 'z'; 0 for the convention of the file's kind (y for OBJ, PLY, glTF, FBX
    // and Collada, z for STL and 3DS). The scene is z-up, so a y-up model is turned to stand upright.
    char upAxis = 0;
    // The file is read by a reader process of its own (a fault in the model library cannot take the tool
    // down), stopped when it runs longer than this or uses more memory than this; 0 bytes is the default,
    // half the machine's memory (DefaultModelReaderMemoryLimit).
    double timeLimitSeconds = 60.0;
    std::uint64_t memoryLimitBytes = 0;
};

// Whether this build can read model files (the Linux build can; the Windows build cannot).
bool CanImportModels();

// The file's extension in lower case, without the dot ("obj"); empty when it has none.
std::string FileExtension(const std::string& file);

// True for the file kinds the importer reads, by extension: OBJ, PLY, STL, 3DS, glTF/GLB, FBX, Collada.
bool IsModelFile(const std::string& file);

// Reads a model file. Throws std::runtime_error naming the file and what is wrong, in one line: a file that
// cannot be opened or parsed, a file with no faces, a reader process that crashed, ran over its time or
// memory or answered nonsense, or a build that cannot import models.
ImportedModel ImportModel(const std::string& file, const ModelImportOptions& options);

} // namespace host

#pragma once

// A model file's geometry as plain data, before it becomes scene objects.
#include "hostsdk/color.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace host {

// One mesh node of a model: positions welded where they are equal (so that faces share their edges as in
// the file's surface), faces of three or more corners with the file's material index, and the file's first
// set of texture coordinates as corners of their own. The faces' corners lie one after another in one list
// (a model of a million faces is then a few large arrays, not a million small ones).
struct ImportedPart {
    std::string name;
    // The node's placement as the rows of a transform: three axes, then the position.
    std::array<Point3, 4> transform{Point3(1.0f, 0.0f, 0.0f), Point3(0.0f, 1.0f, 0.0f),
                                    Point3(0.0f, 0.0f, 1.0f), Point3(0.0f, 0.0f, 0.0f)};
    std::vector<Point3> verts;
    // Face f's corners are corners[faceStarts[f]] up to corners[faceStarts[f + 1]]: one start more than
    // there are faces, the first 0.
    std::vector<std::uint32_t> faceStarts{0};
    std::vector<int> corners;       // a vertex per corner
    std::vector<int> faceMaterials; // one per face
    std::vector<Point3> uvVerts;    // empty when the file has no texture coordinates
    std::vector<int> uvCorners;     // a uv vertex per corner, when uvVerts is not empty

    std::size_t FaceCount() const { return faceStarts.empty() ? 0 : faceStarts.size() - 1; }
    std::span<const int> Face(std::size_t f) const { return CornerRange(corners, f); }
    std::span<const int> UvFace(std::size_t f) const { return CornerRange(uvCorners, f); }
    // Appends a face; `uvs` (empty, or one uv vertex per corner) extends uvCorners.
    void AddFace(std::span<const int> vertices, int material, std::span<const int> uvs = {});
    bool HasPolygons() const;

private:
    std::span<const int> CornerRange(const std::vector<int>& list, std::size_t f) const {
        return std::span<const int>(list).subspan(faceStarts[f], faceStarts[f + 1] - faceStarts[f]);
    }
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

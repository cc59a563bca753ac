#pragma once

// Imported parts' faces as lists of corner lists, for tests that write or compare a few faces by hand.
#include "host/import/imported_model.h"

#include <vector>

namespace import_test {

using FaceLists = std::vector<std::vector<int>>;

inline FaceLists Faces(const host::ImportedPart& part) {
    FaceLists faces;
    for (std::size_t f = 0; f < part.FaceCount(); ++f)
        faces.emplace_back(part.Face(f).begin(), part.Face(f).end());
    return faces;
}

inline FaceLists UvFaces(const host::ImportedPart& part) {
    FaceLists faces;
    if (!part.uvVerts.empty())
        for (std::size_t f = 0; f < part.FaceCount(); ++f)
            faces.emplace_back(part.UvFace(f).begin(), part.UvFace(f).end());
    return faces;
}

// Replaces the part's faces with `faces`, each of material `material`, and their uv corners with `uvFaces`
// (none, or one list per face).
inline void SetFaces(host::ImportedPart& part, const FaceLists& faces, int material = 0,
                     const FaceLists& uvFaces = {}) {
    part.faceStarts = {0};
    part.corners.clear();
    part.faceMaterials.clear();
    part.uvCorners.clear();
    for (std::size_t f = 0; f < faces.size(); ++f)
        part.AddFace(faces[f], material, uvFaces.empty() ? std::vector<int>() : uvFaces[f]);
}

} // namespace import_test

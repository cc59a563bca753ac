#include "host/import/model_meshes.h"

#include <cmath>
#include <stdexcept>

namespace host {

namespace {

Point3 Placed(const ImportedPart& part, const Point3& p) {
    const auto& t = part.transform;
    const auto axis = [&](int a) { return t[0][a] * p.x + t[1][a] * p.y + t[2][a] * p.z + t[3][a]; };
    return Point3(axis(0), axis(1), axis(2));
}

void CheckFinite(const Point3& p, const char* what) {
    if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z))
        throw std::runtime_error(std::string("the model holds ") + what + " that is not a finite number");
}

// The part's vertices as the mesh holds them.
template <class Store> void PlaceVertices(const ImportedPart& part, bool placed, Store store) {
    if (placed)
        for (const Point3& row : part.transform)
            CheckFinite(row, "a transform");
    for (std::size_t i = 0; i < part.verts.size(); ++i) {
        const Point3 p = placed ? Placed(part, part.verts[i]) : part.verts[i];
        CheckFinite(p, "a vertex position");
        store(i, p);
    }
}

MtlID MaterialID(int index) {
    if (index < 0 || index > 65535)
        throw std::runtime_error("the model uses material " + std::to_string(index) +
                                 ", beyond the 65,536 material IDs a mesh holds");
    return static_cast<MtlID>(index);
}

void CheckTextureCoordinates(const ImportedPart& part) {
    for (const Point3& uv : part.uvVerts)
        CheckFinite(uv, "a texture coordinate");
}

} // namespace

void PartToPolyMesh(ImportedPart&& part, bool placed, MNMesh& mesh) {
    mesh.ClearAndFree();
    mesh.setNumVerts(static_cast<int>(part.verts.size()));
    PlaceVertices(part, placed, [&mesh](std::size_t i, const Point3& p) { mesh.v[i].p = p; });
    const std::size_t faces = part.FaceCount();
    mesh.setNumFaces(static_cast<int>(faces));
    for (std::size_t i = 0; i < faces; ++i) {
        MNFace& face = mesh.f[i];
        const std::span<const int> corners = part.Face(i);
        face.material = MaterialID(part.faceMaterials[i]);
        face.deg = static_cast<int>(corners.size());
        face.vtx.assign(corners.begin(), corners.end());
    }
    if (part.uvVerts.empty())
        return;
    CheckTextureCoordinates(part);
    mesh.SetMapNum(kModelTextureChannel + 1);
    MNMap& map = *mesh.M(kModelTextureChannel);
    map.v = std::move(part.uvVerts);
    map.f.resize(faces);
    for (std::size_t i = 0; i < faces; ++i) {
        const std::span<const int> corners = part.UvFace(i);
        map.f[i].deg = static_cast<int>(corners.size());
        map.f[i].tv.assign(corners.begin(), corners.end());
    }
}

void PartToMesh(ImportedPart&& part, bool placed, Mesh& mesh) {
    mesh = Mesh();
    mesh.setNumVerts(static_cast<int>(part.verts.size()));
    PlaceVertices(part, placed, [&mesh](std::size_t i, const Point3& p) { mesh.verts[i] = p; });
    const std::size_t faces = part.FaceCount();
    mesh.setNumFaces(static_cast<int>(faces));
    for (std::size_t i = 0; i < faces; ++i) {
        const std::span<const int> corners = part.Face(i);
        if (corners.size() != 3)
            throw std::runtime_error("a triangle mesh takes faces of three corners only");
        Face& face = mesh.faces[i];
        face.setVerts(static_cast<DWORD>(corners[0]), static_cast<DWORD>(corners[1]),
                      static_cast<DWORD>(corners[2]));
        face.setMatID(MaterialID(part.faceMaterials[i]));
    }
    if (part.uvVerts.empty())
        return;
    CheckTextureCoordinates(part);
    mesh.setMapSupport(kModelTextureChannel, TRUE);
    MeshMap& map = mesh.Map(kModelTextureChannel);
    map.tv = std::move(part.uvVerts);
    for (std::size_t i = 0; i < faces; ++i) {
        const std::span<const int> corners = part.UvFace(i);
        map.tf[i].setTVerts(static_cast<DWORD>(corners[0]), static_cast<DWORD>(corners[1]),
                            static_cast<DWORD>(corners[2]));
    }
}

ImportedPart MergeParts(const ImportedModel& model) {
    ImportedPart merged;
    bool hasUvs = false;
    for (const ImportedPart& part : model.parts)
        hasUvs = hasUvs || !part.uvVerts.empty();
    std::vector<int> corners, uvCorners;
    for (const ImportedPart& part : model.parts) {
        const int vertBase = static_cast<int>(merged.verts.size());
        const int uvBase = static_cast<int>(merged.uvVerts.size());
        for (const Point3& p : part.verts)
            merged.verts.push_back(Placed(part, p));
        if (hasUvs && part.uvVerts.empty())
            merged.uvVerts.emplace_back(0.0f, 0.0f, 0.0f);
        merged.uvVerts.insert(merged.uvVerts.end(), part.uvVerts.begin(), part.uvVerts.end());
        for (std::size_t f = 0; f < part.FaceCount(); ++f) {
            corners.assign(part.Face(f).begin(), part.Face(f).end());
            for (int& c : corners)
                c += vertBase;
            uvCorners.clear();
            if (hasUvs && part.uvVerts.empty())
                uvCorners.assign(corners.size(), uvBase);
            else if (hasUvs)
                for (const int c : part.UvFace(f))
                    uvCorners.push_back(c + uvBase);
            merged.AddFace(corners, part.faceMaterials[f], uvCorners);
        }
    }
    return merged;
}

} // namespace host

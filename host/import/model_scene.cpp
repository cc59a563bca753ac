#include "host/import/model_scene.h"

#include "host/render/scene_records.h"

#include "hostsdk/poly_object.h"
#include "hostsdk/tri_object.h"

namespace host {

namespace {

// The map channel that texture coordinates fill, as the host's own objects use it.
constexpr int kTextureChannel = 1;

Json PointJson(const Point3& p) {
    return Json::array({p.x, p.y, p.z});
}

Point3 Placed(const ImportedPart& part, const Point3& p) {
    const auto& t = part.transform;
    const auto axis = [&](int a) { return t[0][a] * p.x + t[1][a] * p.y + t[2][a] * p.z + t[3][a]; };
    return Point3(axis(0), axis(1), axis(2));
}

} // namespace

Json PartGeometryJson(const ImportedPart& part, bool placed) {
    Json verts = Json::array();
    for (const Point3& p : part.verts)
        verts.push_back(PointJson(placed ? Placed(part, p) : p));
    Json faces = Json::array();
    for (std::size_t f = 0; f < part.faces.size(); ++f) {
        Json record{{"v", part.faces[f]}};
        if (part.faceMaterials[f] != 0)
            record["matId"] = part.faceMaterials[f];
        faces.push_back(std::move(record));
    }
    Json geometry{{"verts", std::move(verts)}, {"faces", std::move(faces)}};
    if (!part.uvVerts.empty()) {
        Json uvVerts = Json::array();
        for (const Point3& uv : part.uvVerts)
            uvVerts.push_back(PointJson(uv));
        geometry["maps"] = Json::array(
            {Json{{"channel", kTextureChannel}, {"verts", std::move(uvVerts)}, {"faces", part.uvFaces}}});
    }
    return geometry;
}

ImportedPart MergeParts(const ImportedModel& model) {
    ImportedPart merged;
    bool hasUvs = false;
    for (const ImportedPart& part : model.parts)
        hasUvs = hasUvs || !part.uvVerts.empty();
    for (const ImportedPart& part : model.parts) {
        const int vertBase = static_cast<int>(merged.verts.size());
        const int uvBase = static_cast<int>(merged.uvVerts.size());
        for (const Point3& p : part.verts)
            merged.verts.push_back(Placed(part, p));
        if (hasUvs && part.uvVerts.empty())
            merged.uvVerts.emplace_back(0.0f, 0.0f, 0.0f);
        merged.uvVerts.insert(merged.uvVerts.end(), part.uvVerts.begin(), part.uvVerts.end());
        for (std::size_t f = 0; f < part.faces.size(); ++f) {
            std::vector<int> corners = part.faces[f];
            for (int& c : corners)
                c += vertBase;
            merged.faces.push_back(std::move(corners));
            merged.faceMaterials.push_back(part.faceMaterials[f]);
            if (!hasUvs)
                continue;
            std::vector<int> uvCorners =
                part.uvVerts.empty() ? std::vector<int>(part.faces[f].size(), 0) : part.uvFaces[f];
            for (int& c : uvCorners)
                c += uvBase;
            merged.uvFaces.push_back(std::move(uvCorners));
        }
    }
    return merged;
}

Json ModelSceneDocument(const ImportedModel& model) {
    enum Ids { kMap = 1, kMaterial, kFirstPart };
    Json objects = Json::array({ChromasiftMapRecord(kMap), ChromasiftMaterialRecord(kMaterial, kMap)});
    Json nodes = Json::array();
    int id = kFirstPart;
    for (std::size_t i = 0; i < model.parts.size(); ++i) {
        const ImportedPart& part = model.parts[i];
        const int object = id++;
        objects.push_back(
            GeometryRecord(object, part.HasPolygons() ? polyObjectClassID : triObjectClassID,
                           Json{{part.HasPolygons() ? "polyMesh" : "mesh", PartGeometryJson(part, false)}}));
        Json rows = Json::array();
        for (const Point3& row : part.transform)
            rows.push_back(PointJson(row));
        const int node = id++;
        objects.push_back(NodeRecord(node, part.name, static_cast<int>(i) + 1, Json{{"transform", rows}},
                                     object, kMaterial));
        nodes.push_back(node);
    }
    return SceneDocument(std::move(objects), std::move(nodes));
}

} // namespace host

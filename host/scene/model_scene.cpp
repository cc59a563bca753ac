#include "host/scene/model_scene.h"

#include "host/base/text.h"
#include "host/scene/scene_records.h"

#include "hostsdk/node.h"
#include "hostsdk/poly_object.h"
#include "hostsdk/tri_object.h"

#include <cmath>
#include <stdexcept>

namespace host {

Json ModelSceneDocument() {
    return SceneDocument(Json::array({ChromasiftMapRecord(kModelMapId),
                                      ChromasiftMaterialRecord(kModelMaterialId, kModelMapId)}),
                         Json::array());
}

void AddModelNodes(ImportedModel&& model, Mtl* material, SceneRoot& scene) {
    for (std::size_t i = 0; i < model.parts.size(); ++i) {
        ImportedPart part = std::move(model.parts[i]);
        Matrix3 transform(true);
        for (int row = 0; row < 4; ++row) {
            const Point3& p = part.transform[static_cast<std::size_t>(row)];
            if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z))
                throw std::runtime_error("the model holds a transform that is not a finite number");
            transform[row] = p;
        }
        // The node keeps its object, and the scene its node, from the start: nothing leaks if a later part
        // cannot be read.
        auto* node = new INode();
        scene.AddNode(node);
        node->SetName(FromUtf8(part.name).c_str());
        node->SetGBufID(static_cast<ULONG>(i + 1));
        node->SetNodeTM(0, transform);
        if (part.HasPolygons()) {
            auto* poly = new PolyObject();
            node->SetObjectRef(poly);
            PartToPolyMesh(std::move(part), false, poly->GetMesh());
        } else {
            TriObject* tri = CreateNewTriObject();
            node->SetObjectRef(tri);
            PartToMesh(std::move(part), false, tri->GetMesh());
        }
        node->SetMtl(material);
    }
    model.parts.clear();
}

} // namespace host

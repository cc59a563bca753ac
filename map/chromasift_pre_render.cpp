// The map's answer to the pre-render notification: every render starts from clean shading state, and a
// mental ray render in "Per Element" or "Per Face" receives element or polygon numbers in the face
// material IDs that its shader reads.
#include "map/chromasift.h"

#include "plugin/param_ids.h"
#include "shade/distribution_mode.h"
#include "shade/mesh_numbering.h"
#include "shade/pixel_random.h"

using distribution::kPerElement;
using distribution::kPerFace;

void Chromasift::NumberMeshesForMentalRay() {
    Renderer* renderer = GetCOREInterface()->GetCurrentRenderer();
    if (renderer == nullptr || renderer->ClassID() != MENTAL_RAY_RENDERER_CLASS_ID || pblock == nullptr)
        return;
    const int mode = pblock->GetInt(pb_mapping_old, 0);
    if (mode != kPerElement && mode != kPerFace)
        return;

    INodeTab nodes;
    NotifyDependents(FOREVER, reinterpret_cast<PartID>(&nodes), REFMSG_MTLXREF_GETNODES, NOTIFY_ALL, TRUE,
                     nullptr);
    const TimeValue now = GetCOREInterface()->GetTime();
    // The change is announced once for all the objects numbered: every announcement reaches every node
    // that uses the map, so one per object would grow with the square of the node count.
    bool announce = false;
    for (INode* node : nodes) {
        if (node == nullptr)
            continue;
        Object* object = node->EvalWorldState(now, TRUE).obj;
        if (object == nullptr || object->SuperClassID() != GEOMOBJECT_CLASS_ID)
            continue;
        if (object->ClassID().PartA() == POLYOBJ_CLASS_ID_A) {
            // Polygon objects are numbered in place, without an announcement.
            if (auto* poly = dynamic_cast<PolyObject*>(object)) {
                if (mode == kPerElement)
                    NumberElements(poly->RenderPolygons());
                else
                    NumberPolygons(poly->RenderPolygons());
            }
            continue;
        }
        auto* geometry = static_cast<GeomObject*>(object);
        NullView view;
        BOOL needDelete = FALSE;
        Mesh* mesh = geometry->GetRenderMesh(0, node, view, needDelete);
        if (mesh != nullptr && mesh->getNumFaces() > 0) {
            if (mode == kPerElement)
                NumberElements(*mesh);
            else
                NumberPolygons(*mesh);
        }
        if (needDelete)
            delete mesh;
        object->UpdateValidity(MTL_CHAN_NUM, FOREVER);
        announce = true;
    }
    if (announce)
        NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE, NOTIFY_ALL, TRUE, nullptr);
}

void Chromasift::PrepareForRender() {
    // Renders that get no notification (a material-editor preview) may still be shading with the old
    // tables or an older palette: those stay until the renders let go of them, the rest are freed.
    shading.Replace([](const ShadingState& now) {
        return ShadingState{now.palette, std::make_shared<const ShadingTables>()};
    });
    NumberMeshesForMentalRay();
    sampleCounter.store(0);
    LibraryPixelRandom().Reseed(kPixelRandomSeed);
}

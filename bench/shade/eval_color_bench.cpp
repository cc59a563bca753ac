// Nanoseconds per shaded sample of the map's colour assignment, for every mode, with warm tables, on one
// thread and on two threads evaluating the same map.
#include "map/chromasift.h"

#include "hostsdk/render_context.h"
#include "hostsdk/tri_object.h"
#include "plugin/param_ids.h"
#include "plugin/plugin_main.h"
#include "test_meshes.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <mutex>

namespace {

class Context : public VUtils::VRayInterface {
public:
    int NodeID() override { return nodeId; }
    INode* Node() override { return node; }
    Object* GetEvalObject() override { return object; }
    int FaceNumber() override { return face; }
    Point3 UVW(int channel) override {
        return channel == 99 ? Point3(-static_cast<float>(face % 7), 0, 0) : uvw;
    }
    Point3 PObj() override { return uvw; }
    Class_ID ClassID() override { return VRAY_SHADE_CONTEXT_CLASS_ID; }
    bool GetHitInstanceNumber(int& number) override {
        number = nodeId;
        return true;
    }
    int nodeId = 0;
    INode* node = nullptr;
    Object* object = nullptr;
    int face = 0;
    Point3 uvw;
};

// One map shared by all benchmark threads, with a palette of 20 colours and a box to shade.
struct Scene {
    Scene() {
        map = static_cast<Chromasift*>(GetChromasiftDesc()->Create(FALSE));
        Palette palette(20);
        for (std::size_t i = 0; i < palette.size(); ++i) {
            palette[i].red = static_cast<uint16_t>(3000 * i);
            palette[i].green = static_cast<uint16_t>(60000 - 2000 * i);
            palette[i].blue = 12345;
        }
        map->SetPalette(palette);
        map->pblock->SetValue(pb_num_colors, 0, 20);
        object = new TriObject();
        Mesh& mesh = object->GetMesh();
        AddBox(mesh);
        node.SetObjectRef(object);
        context.instance.mesh = &mesh;
        context.instance.SetEvalObject(object);
    }

    Chromasift* map;
    TriObject* object;
    INode node;
    OneInstance context;
};

Scene& TheScene() {
    static Scene scene;
    return scene;
}

void EvalColor(benchmark::State& state) {
    Scene& scene = TheScene();
    const int mode = static_cast<int>(state.range(0));
    if (state.thread_index() == 0) {
        scene.map->pblock->SetValue(pb_mapping_old, 0, mode);
        scene.map->PrepareForRender();
    }
    Context sc;
    sc.node = &scene.node;
    sc.object = scene.object;
    sc.globContext = &scene.context;
    sc.mtlNum = 3;
    unsigned i = static_cast<unsigned>(state.thread_index()) * 7919u;
    for (auto _ : state) {
        // A few dozen objects, faces and points: the keyed tables stay warm.
        sc.nodeId = static_cast<int>(i % 50);
        sc.face = static_cast<int>(i % 12);
        sc.uvw = Point3(static_cast<float>(i % 97) / 97.0f, static_cast<float>(i % 89) / 89.0f, 0.25f);
        benchmark::DoNotOptimize(scene.map->EvalColor(sc));
        ++i;
    }
    state.SetItemsProcessed(state.iterations());
}

BENCHMARK(EvalColor)->DenseRange(0, 16)->Threads(1)->Threads(2)->UseRealTime();

} // namespace

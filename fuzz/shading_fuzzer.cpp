// Shading inputs built from the bytes: a palette, every parameter the map's block can hold (out of range and
// non-finite ones included), its coordinates and output, meshes and polygon meshes of any shape, and then
// samples with any node and face numbers, material IDs, coordinates and instance values, evaluated by the
// map's EvalColor in every distribution mode, with and without mental ray's pre-render numbering.
#include "linked_plugin.h"
#include "scripted_shade_context.h"

#include "hostsdk/instance_info.h"
#include "hostsdk/node.h"
#include "hostsdk/null_view.h"
#include "hostsdk/poly_object.h"
#include "hostsdk/render_context.h"
#include "hostsdk/std_mat.h"
#include "hostsdk/tri_object.h"
#include "hostsdk/vray.h"
#include "plugin/param_ids.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <bit>
#include <cstdint>
#include <limits>
#include <memory>
#include <vector>

namespace {

using Bytes = FuzzedDataProvider;

// Mostly values near the parameters' ranges, sometimes any 32-bit value.
int SomeInt(Bytes& in) {
    return in.ConsumeBool() ? in.ConsumeIntegral<int>() : in.ConsumeIntegralInRange(-3, 40);
}

// Mostly ordinary values, sometimes any bit pattern: NaN, infinities, subnormals, huge values.
float SomeFloat(Bytes& in) {
    switch (in.ConsumeIntegralInRange(0, 3)) {
    case 0:
        return std::bit_cast<float>(in.ConsumeIntegral<std::uint32_t>());
    case 1:
        return in.ConsumeFloatingPointInRange(-4.0f, 4.0f);
    case 2:
        return static_cast<float>(in.ConsumeIntegralInRange(-300, 300));
    default:
        return std::array{std::numeric_limits<float>::quiet_NaN(),
                          std::numeric_limits<float>::infinity(),
                          -std::numeric_limits<float>::infinity(),
                          -0.0f,
                          std::numeric_limits<float>::max(),
                          std::numeric_limits<float>::denorm_min(),
                          0.5f,
                          1.0f}[in.ConsumeIntegralInRange(0, 7)];
    }
}

Point3 SomePoint(Bytes& in) {
    const float x = SomeFloat(in);
    const float y = SomeFloat(in);
    return Point3(x, y, SomeFloat(in));
}

// A map standing in the "Input map" slot whose mono value is whatever the bytes say.
class ValueMap : public Texmap {
public:
    AColor EvalColor(ShadeContext& sc) override {
        const float v = EvalMono(sc);
        return AColor(v, v, v, 1.0f);
    }
    float EvalMono(ShadeContext&) override { return value; }
    Point3 EvalNormalPerturb(ShadeContext&) override { return Point3(); }
    void Update(TimeValue, Interval&) override {}
    void Reset() override {}
    Interval Validity(TimeValue) override { return FOREVER; }
    ParamDlg* CreateParamDlg(HWND, IMtlParams*) override { return nullptr; }

    float value = 0.0f;
};

// An object of an instancing plug-in: its samples carry two instance values.
class InstancedObject : public GeomObject, public IInstanceInfo {
public:
    BaseInterface* GetInterface(Interface_ID id) override {
        return id == IINSTANCEINFO_INTERFACE_ID ? static_cast<IInstanceInfo*>(this) : nullptr;
    }
    void GetInstanceValues(ShadeContext&, float& a, float& b) override {
        a = first;
        b = second;
    }

    float first = 0.0f;
    float second = 0.0f;
};

class StubRenderer : public Renderer {
public:
    explicit StubRenderer(Class_ID id) : id(id) {}
    Class_ID ClassID() override { return id; }

private:
    Class_ID id;
};

class RenderList : public RenderGlobalContext {
public:
    int NumRenderInstances() override { return static_cast<int>(instances.size()); }
    RenderInstance* GetRenderInstance(int i) override {
        return i >= 0 && i < NumRenderInstances() ? instances[static_cast<std::size_t>(i)].get() : nullptr;
    }

    std::vector<std::unique_ptr<RenderInstance>> instances;
};

Palette SomePalette(Bytes& in) {
    Palette palette(in.ConsumeIntegralInRange<std::size_t>(0, 120));
    for (PaletteEntry& entry : palette) {
        entry.red = in.ConsumeIntegral<std::uint16_t>();
        entry.green = in.ConsumeIntegral<std::uint16_t>();
        entry.blue = in.ConsumeIntegral<std::uint16_t>();
        entry.alpha = in.ConsumeIntegral<std::uint16_t>();
        entry.count = in.ConsumeIntegral<std::uint32_t>();
    }
    return palette;
}

// Every integer parameter of the block, with any value; "Gamma" with any float.
void SetParameters(Bytes& in, Chromasift& map) {
    IParamBlock2& block = *map.pblock;
    for (ParamID id : {pb_num_colors, pb_mapping_old, pb_input_map_on, pb_sort, pb_output, pb_skip_colors,
                       pb_tile_rows, pb_tile_columns, pb_harmony, pb_is_harmonized, pb_mapping,
                       pb_object_mapping, pb_pixel_mapping, pb_coord_mapping, pb_input_mapping, pb_version,
                       pb_hue_alteration, pb_saturation_alteration, pb_value_alteration})
        if (in.ConsumeBool())
            block.SetValue(id, 0, SomeInt(in));
    // Modes 0 to 16 most of the time.
    if (in.ConsumeBool())
        block.SetValue(pb_mapping_old, 0, in.ConsumeIntegralInRange(0, 16));
    if (in.ConsumeBool())
        block.SetValue(pb_gamma, 0, SomeFloat(in));
    if (in.ConsumeBool()) {
        // The block's reference keeps the input map alive.
        auto* input = new ValueMap();
        input->value = SomeFloat(in);
        block.SetValue(pb_input_map, 0, static_cast<Texmap*>(input));
    }

    if (in.ConsumeBool()) {
        auto* coords = static_cast<StdXYZGen*>(map.GetTheXYZGen());
        coords->SetCoordSystem(SomeInt(in));
        coords->SetMapChannel(SomeInt(in));
        for (int axis = 0; axis < 3; ++axis) {
            coords->SetOffs(axis, SomeFloat(in), 0);
            coords->SetScl(axis, SomeFloat(in), 0);
            coords->SetAng(axis, SomeFloat(in), 0);
        }
    }
    if (in.ConsumeBool()) {
        auto* output = static_cast<TextureOutput*>(map.GetReference(Chromasift::kRefOutput));
        output->SetOutputLevel(0, SomeFloat(in));
        output->SetInvert(in.ConsumeBool() ? TRUE : FALSE);
    }
}

// Vertices anywhere, faces on any of them (degenerate and repeated corners included), any edge
// visibility, material ID and hidden flag.
TriObject* SomeMeshObject(Bytes& in) {
    auto* object = new TriObject();
    Mesh& mesh = object->GetMesh();
    const int vertices = in.ConsumeIntegralInRange(0, 12);
    mesh.setNumVerts(vertices);
    for (int i = 0; i < vertices; ++i)
        mesh.setVert(i, SomePoint(in));
    const int faces = vertices == 0 ? 0 : in.ConsumeIntegralInRange(0, 24);
    mesh.setNumFaces(faces);
    for (Face& face : mesh.faces) {
        const auto corner = [&] {
            return in.ConsumeIntegralInRange<DWORD>(0, static_cast<DWORD>(vertices - 1));
        };
        const DWORD a = corner(), b = corner();
        face.setVerts(a, b, corner());
        face.setEdgeVisFlags(in.ConsumeBool(), in.ConsumeBool(), in.ConsumeBool());
        face.setMatID(in.ConsumeIntegral<MtlID>());
        if (in.ConsumeBool())
            face.Hide();
    }
    return object;
}

// Polygons of zero to seven corners on any vertices.
PolyObject* SomePolyObject(Bytes& in) {
    auto* object = new PolyObject();
    MNMesh& polygons = object->GetMesh();
    const int vertices = in.ConsumeIntegralInRange(0, 12);
    for (int i = 0; i < vertices; ++i)
        polygons.NewVert(SomePoint(in));
    const int faces = vertices == 0 ? 0 : in.ConsumeIntegralInRange(0, 12);
    for (int f = 0; f < faces; ++f) {
        std::array<int, 7> corners{};
        const int degree = in.ConsumeIntegralInRange(0, 7);
        for (int c = 0; c < degree; ++c)
            corners[static_cast<std::size_t>(c)] = in.ConsumeIntegralInRange(0, vertices - 1);
        const int face = polygons.NewFace(-1, degree, corners.data());
        polygons.F(face)->SetMatID(in.ConsumeIntegral<MtlID>());
    }
    return object;
}

Object* SomeObject(Bytes& in) {
    switch (in.ConsumeIntegralInRange(0, 3)) {
    case 0:
        return SomeMeshObject(in);
    case 1:
        return SomePolyObject(in);
    case 2: {
        auto* object = new InstancedObject();
        object->first = SomeFloat(in);
        object->second = SomeFloat(in);
        return object;
    }
    default:
        return nullptr;
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    AttachLinkedPlugin();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Bytes in(data, size);
    // The material keeps the map alive and the nodes keep the material: dropping them deletes both.
    Chromasift* map = NewMap().release();
    StdMat* material = NewDefaultStdMat();
    material->SetSubTexmap(ID_DI, map);
    map->SetPalette(SomePalette(in));
    SetParameters(in, *map);

    std::array<INode, 3> nodes;
    RenderList render;
    std::vector<Mesh> renderMeshes;
    renderMeshes.reserve(nodes.size());
    for (INode& node : nodes) {
        node.SetGBufID(in.ConsumeIntegral<ULONG>());
        node.SetObjectRef(SomeObject(in));
        node.SetMtl(material);
        if (in.ConsumeBool())
            node.Hide(TRUE);
    }
    StubRenderer renderer(in.ConsumeBool() ? MENTAL_RAY_RENDERER_CLASS_ID : Class_ID(1, 2));
    GetCOREInterface()->AssignCurRenderer(&renderer);
    for (INode& node : nodes)
        if (auto* geometry = dynamic_cast<GeomObject*>(node.GetObjectRef()))
            geometry->BeginRenderCopy();
    // The render instances the renderer made, their meshes from the objects (sometimes none).
    for (INode& node : nodes) {
        auto instance = std::make_unique<RenderInstance>();
        instance->nodeID = static_cast<int>(render.instances.size());
        instance->SetINode(&node);
        instance->SetEvalObject(node.GetObjectRef());
        if (auto* geometry = dynamic_cast<GeomObject*>(node.GetObjectRef());
            geometry != nullptr && in.ConsumeBool()) {
            NullView view;
            BOOL needDelete = FALSE;
            if (Mesh* mesh = geometry->GetRenderMesh(0, &node, view, needDelete)) {
                renderMeshes.push_back(*mesh);
                instance->mesh = &renderMeshes.back();
                if (needDelete)
                    delete mesh;
            }
        }
        render.instances.push_back(std::move(instance));
    }
    map->PrepareForRender();

    ScriptedShadeContext sc;
    for (int sample = 0; sample < 64 && in.remaining_bytes() > 0; ++sample) {
        if (in.ConsumeIntegralInRange(0, 15) == 0)
            map->pblock->SetValue(pb_mapping_old, 0, in.ConsumeIntegralInRange(-1, 17));
        const std::size_t which = in.ConsumeIntegralInRange<std::size_t>(0, nodes.size());
        sc.node = which < nodes.size() ? &nodes[which] : nullptr;
        sc.object = sc.node != nullptr && in.ConsumeBool() ? sc.node->GetObjectRef() : nullptr;
        sc.globContext = in.ConsumeBool() ? &render : nullptr;
        sc.classId = in.ConsumeBool() ? VRAY_SHADE_CONTEXT_CLASS_ID : Class_ID(0, 0);
        sc.nodeId = SomeInt(in);
        sc.face = SomeInt(in);
        sc.mtlNum = SomeInt(in);
        sc.instance = SomeInt(in);
        sc.hasInstance = in.ConsumeBool();
        sc.uvw = SomePoint(in);
        sc.uvw99 = SomePoint(in);
        sc.position = SomePoint(in);
        map->EvalColor(sc);
        map->EvalMono(sc);
    }

    for (INode& node : nodes)
        if (auto* geometry = dynamic_cast<GeomObject*>(node.GetObjectRef()))
            geometry->EndRenderCopy();
    GetCOREInterface()->AssignCurRenderer(nullptr);
    for (INode& node : nodes)
        node.SetMtl(nullptr);
    return 0;
}

// What the table of modes says of each mode holds when the map shades: the farm's warning trusts the modes
// not marked as following the order of shading to give a sample the same colour every time, and exports
// trust the modes marked constant over a face to give one colour wherever the face is shaded.
#include "map_test_support.h"
#include "scripted_shade_context.h"
#include "test_maps.h"
#include "test_meshes.h"

#include "hostsdk/vray.h"
#include "plugin/param_ids.h"
#include "shade/mode_table.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>

namespace {

using Colour = std::tuple<float, float, float>;

TEST(ModeTable, OrderAndFaceFlagsHoldWhenTheMapShades) {
    const MapPtr map = NewMap();
    Palette palette;
    for (int i = 0; i < 10; ++i)
        palette.push_back(
            PaletteEntry{static_cast<uint16_t>(i * 7000), 40000, static_cast<uint16_t>(i * 300)});
    map->SetPalette(palette);
    auto* input = new ConstantMap();
    map->SetSubTexmap(0, input);

    // One face of a tile-numbered mesh of two pieces and two material IDs, with everything a mode may key on.
    auto* object = new TriObject();
    AddBox(object->GetMesh(), 0.0f, 5);
    AddBox(object->GetMesh(), 5.0f, 2);
    INode node;
    node.SetObjectRef(object);
    node.SetGBufID(3);
    OneInstance render;
    render.instance.mesh = &object->GetMesh();
    render.instance.SetEvalObject(object);
    ScriptedShadeContext sc;
    sc.classId = VRAY_SHADE_CONTEXT_CLASS_ID;
    sc.node = &node;
    sc.object = object;
    sc.globContext = &render;
    sc.nodeId = 7;
    sc.face = 2;
    sc.mtlNum = 5;
    sc.instance = 4;
    sc.hasInstance = true;
    sc.uvw99 = Point3(-3.0f, 0.0f, 0.0f);
    // Points of the face: their coordinates and the input map's value differ.
    const auto moveTo = [&](int point) {
        const float step = 0.15f * static_cast<float>(point);
        sc.position = Point3(step, 0.9f - step, step);
        sc.uvw = Point3(0.1f + step, 0.2f + step, 0.3f);
        input->value = step;
    };
    const auto shade = [&] {
        const AColor c = map->EvalColor(sc);
        return Colour(c.r, c.g, c.b);
    };

    for (const distribution::ModeRow& mode : distribution::kModeTable) {
        map->pblock->SetValue(pb_mapping_old, 0, static_cast<int>(mode.combined));
        map->PrepareForRender();
        std::set<Colour> again, points;
        moveTo(0);
        for (int i = 0; i < 6; ++i)
            again.insert(shade());
        for (int point = 0; point < 6; ++point) {
            moveTo(point);
            points.insert(shade());
        }
        EXPECT_EQ(again.size() > 1, mode.shadingOrder) << mode.label << ": the same sample shaded again";
        EXPECT_EQ(points.size() == 1, mode.constantOverFace) << mode.label << ": points of one face";
    }
}

} // namespace

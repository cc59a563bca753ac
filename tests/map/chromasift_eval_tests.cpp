// Colour assignment through the map: every mode's choice of palette entry, its fallbacks, the adjustment
// and output filter, and the pre-render reset.
#include "map_test_support.h"
#include "scripted_shade_context.h"
#include "test_maps.h"
#include "test_meshes.h"

#include "hostsdk/instance_info.h"
#include "hostsdk/render_context.h"
#include "hostsdk/tri_object.h"
#include "palette/colour_adjust.h"
#include "plugin/param_ids.h"
#include "shade/mode_index.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <tuple>
#include <vector>

namespace {

using Context = ScriptedShadeContext;

// Entries whose colours tell them apart after the identity adjustment's rounding.
Palette TenEntries() {
    Palette palette;
    for (int i = 0; i < 10; ++i)
        palette.push_back(PaletteEntry{static_cast<uint16_t>(6000 * i + 500),
                                       static_cast<uint16_t>(65535 - 6000 * i),
                                       static_cast<uint16_t>(3000 * i), 65535});
    return palette;
}

class ChromasiftEval : public ::testing::Test {
protected:
    void SetUp() override {
        map = NewMap();
        map->SetPalette(TenEntries());
        map->PrepareForRender();
    }

    void Mode(int mode, int numColours = 10) {
        map->pblock->SetValue(pb_mapping_old, 0, mode);
        map->pblock->SetValue(pb_num_colors, 0, numColours);
    }

    // The palette entry a colour came from, -1 for none.
    int Entry(const AColor& c) const {
        const Palette palette = *map->GetPalette();
        for (std::size_t i = 0; i < palette.size(); ++i)
            if (std::fabs(c.r - palette[i].red / 65535.0f) < 1e-4f &&
                std::fabs(c.g - palette[i].green / 65535.0f) < 1e-4f &&
                std::fabs(c.b - palette[i].blue / 65535.0f) < 1e-4f)
                return static_cast<int>(i);
        return -1;
    }

    int Eval() { return Entry(map->EvalColor(sc)); }

    // Shades the object on the node, after adding `boxes` unit boxes 5 apart to its mesh.
    void Shade(TriObject* object, INode& node, int boxes = 0) {
        for (int b = 0; b < boxes; ++b)
            AddBox(object->GetMesh(), 5.0f * static_cast<float>(b));
        node.SetObjectRef(object);
        sc.node = &node;
        sc.object = object;
    }

    MapPtr map;
    Context sc;
};

TEST_F(ChromasiftEval, EmptyPaletteIsBlackThroughTheOutputFilter) {
    map->SetPalette(Palette());
    for (int mode : {0, 1, 6, 9, 12, 16}) {
        Mode(mode);
        EXPECT_EQ(map->EvalColor(sc), AColor(0.0f, 0.0f, 0.0f, 1.0f)) << mode;
    }
    static_cast<TextureOutput*>(map->GetReference(2))->SetInvert(TRUE);
    EXPECT_EQ(map->EvalColor(sc), AColor(1.0f, 1.0f, 1.0f, 1.0f));
}

// The random stream is the library's: every map draws from the one stream, restarted with every render.
TEST_F(ChromasiftEval, CounterAndRandomModesRestartWithEveryRender) {
    MapPtr other = NewMap();
    other->SetPalette(TenEntries());
    other->pblock->SetValue(pb_mapping_old, 0, 0);
    Mode(0);
    std::vector<int> draws;
    for (int i = 0; i < 5; ++i)
        draws.push_back(Entry(i % 2 == 0 ? map->EvalColor(sc) : other->EvalColor(sc)));
    EXPECT_EQ(draws, (std::vector<int>{1, 4, 2, 4, 7})) << "one stream, drawn in turn by both maps";
    map->PrepareForRender();
    EXPECT_EQ(Eval(), 1) << "the stream is reseeded before every render";

    Mode(1, 4);
    map->PrepareForRender();
    std::vector<int> linear;
    for (int i = 0; i < 6; ++i)
        linear.push_back(Eval());
    EXPECT_EQ(linear, (std::vector<int>{0, 1, 2, 3, 0, 1}));
    map->PrepareForRender();
    EXPECT_EQ(Eval(), 0);

    Mode(11, 3);
    std::vector<int> mirror;
    for (int i = 0; i < 7; ++i)
        mirror.push_back(Eval());
    EXPECT_EQ(mirror, (std::vector<int>{1, 2, 2, 1, 0, 0, 1})) << "continuing the counter left by Linear";
}

TEST_F(ChromasiftEval, KeyedModesDrawOncePerKey) {
    Mode(15);
    sc.uvw99 = Point3(-1.0f, 0.0f, 0.0f);
    EXPECT_EQ(Eval(), 8) << "tile 1";
    sc.uvw99 = Point3(-0.0f, 0.0f, 0.0f);
    EXPECT_EQ(Eval(), 4) << "tile 0";

    // Key 1 was drawn with the tile multiplier; one table serves every keyed mode within a render.
    Mode(10);
    sc.nodeId = 1;
    EXPECT_EQ(Eval(), 8);
    map->PrepareForRender();
    EXPECT_EQ(Eval(), 3) << "node 1 drawn with the node multiplier";
    sc.nodeId = -1;
    EXPECT_EQ(map->EvalColor(sc), AColor(0.0f, 0.0f, 0.0f, 1.0f)) << "no node number renders black";

    // An index kept from a larger palette falls back to entry 0.
    map->pblock->SetValue(pb_num_colors, 0, 3);
    sc.nodeId = 1;
    EXPECT_EQ(Eval(), 3);
    Palette three = TenEntries();
    three.resize(3);
    map->SetPalette(three);
    EXPECT_EQ(Eval(), 0);
}

TEST_F(ChromasiftEval, IdentityModes) {
    Mode(6);
    sc.nodeId = 23;
    EXPECT_EQ(Eval(), 3);
    sc.nodeId = -1;
    EXPECT_EQ(Eval(), 0);

    Mode(8);
    sc.mtlNum = 13;
    EXPECT_EQ(Eval(), 3);
    sc.mtlNum = -1;
    EXPECT_EQ(Eval(), 0);

    Mode(7);
    EXPECT_EQ(Eval(), 0) << "no node";
    INode node;
    node.SetGBufID(27);
    sc.node = &node;
    EXPECT_EQ(Eval(), 7);
    sc.node = nullptr;

    Mode(16);
    sc.instance = 1;
    sc.hasInstance = true;
    EXPECT_EQ(Eval(), 0) << "not a V-Ray context";
    sc.classId = VRAY_SHADE_CONTEXT_CLASS_ID;
    EXPECT_EQ(Eval(), 3);
    sc.hasInstance = false;
    EXPECT_EQ(Eval(), 0);
    class ClaimsVRay : public ShadeContext {
        Class_ID ClassID() override { return VRAY_SHADE_CONTEXT_CLASS_ID; }
        int FaceNumber() override { return 0; }
        Point3 UVW(int) override { return Point3(0.0f, 0.0f, 0.0f); }
        Point3 PObj() override { return Point3(0.0f, 0.0f, 0.0f); }
    } claims;
    EXPECT_EQ(Entry(map->EvalColor(claims)), 0) << "V-Ray's class ID without V-Ray's interface";
    struct Twofold : ClaimsVRay, Context {
    } twofold; // V-Ray's part behind another: no shortcut to it
    twofold.instance = 1;
    twofold.hasInstance = true;
    EXPECT_EQ(Entry(map->EvalColor(static_cast<ClaimsVRay&>(twofold))), 3);
    EXPECT_EQ(Entry(map->EvalColor(static_cast<ClaimsVRay&>(twofold))), 3) << "again, its type now seen";
}

// Each coordinate mode reads its own coordinates: the generator's (the object point by default), or map
// channel 99; channel 1 and the object point hold other values than channel 99.
TEST_F(ChromasiftEval, CoordinateModesReadTheirOwnCoordinates) {
    sc.uvw = Point3(-3.0f, 0.0f, 0.0f);
    sc.uvw99 = Point3(-6.0f, 0.0f, 0.0f);
    Mode(14, 4);
    EXPECT_EQ(Eval(), 2) << "tile 6 modulo 4";
    Mode(2);
    sc.position = Point3(0.95f, 0.0f, 0.0f);
    EXPECT_EQ(Eval(), 9);
    Mode(3);
    sc.position = Point3(0.5f, 0.5f, 0.0f);
    EXPECT_EQ(Eval(), 6);
    // s = 2 for ten colours: 2 u + (2 v) 2 + ((2 w) 2) 2 = 0.4 + 0 + 4.
    Mode(4);
    sc.position = Point3(0.2f, 0.0f, 0.5f);
    EXPECT_EQ(Eval(), 4);

    auto* coords = static_cast<StdXYZGen*>(map->GetTheXYZGen());
    coords->SetCoordSystem(UVW_COORDS);
    sc.uvw = Point3(0.9f, 0.9f, 0.0f);
    Mode(13, 5);
    EXPECT_EQ(Eval(), 3) << "tile 8 of a 3 x 3 grid, modulo 5";
    map->ReplaceReference(1, nullptr);
    sc.uvw = Point3(0.55f, 0.0f, 0.0f);
    Mode(2);
    EXPECT_EQ(Eval(), 5) << "without a generator, map channel 1";
}

TEST_F(ChromasiftEval, PerElementShowsTheEntryUnadjusted) {
    // Two boxes in one mesh: two elements.
    auto* object = new TimeRecordingTriObject();
    INode node;
    Shade(object, node, 2);
    sc.time = kRenderTime;
    const SliderAt slider;
    Mode(9);
    map->pblock->SetValue(pb_gamma, 0, 2.0f);
    map->pblock->SetValue(pb_hue_alteration, 0, 50);
    static_cast<TextureOutput*>(map->GetReference(2))->SetInvert(TRUE);
    sc.face = 3;
    const Palette palette = *map->GetPalette();
    EXPECT_EQ(map->EvalColor(sc), AColor(palette[0].red / 65535.0f, palette[0].green / 65535.0f,
                                         palette[0].blue / 65535.0f, 1.0f));
    sc.face = 20;
    EXPECT_EQ(Eval(), 1);
    sc.face = 24;
    EXPECT_EQ(Eval(), 0) << "a face beyond the mesh";
    // Elements are found in the mesh at time 0, whatever the slider and the time rendered.
    EXPECT_EQ(object->renderMeshTimes, std::vector<TimeValue>{0});
    // The next render finds them anew: a third box added meanwhile is a third element.
    AddBox(object->GetMesh(), 10.0f);
    map->PrepareForRender();
    EXPECT_EQ(Eval(), 2);
    sc.object = nullptr;
    EXPECT_EQ(Eval(), 0);

    // A render mesh without faces has no element for face 0.
    INode emptyNode;
    Shade(new TriObject(), emptyNode);
    sc.face = 0;
    EXPECT_EQ(Eval(), 0);

    // An object left out of renders has no elements: its second box gives entry 0 too.
    class Unrendered : public TriObject {
    public:
        int IsRenderable() override { return FALSE; }
    };
    INode hiddenNode;
    Shade(new Unrendered(), hiddenNode, 2);
    sc.face = 20;
    EXPECT_EQ(Eval(), 0);
}

TEST_F(ChromasiftEval, AdjustmentAndOutputApplyToTheChosenEntry) {
    map->SetPalette({PaletteEntry{32768, 32768, 32768}});
    Mode(1);
    map->pblock->SetValue(pb_gamma, 0, 2.0f);
    const AColor darker = map->EvalColor(sc);
    EXPECT_NEAR(darker.r, std::pow(32768 / 65535.0f, 2.0f), 1e-6f);
    static_cast<TextureOutput*>(map->GetReference(2))->SetOutputLevel(0, 0.5f);
    EXPECT_NEAR(map->EvalColor(sc).g, darker.g * 0.5f, 1e-6f);
}

// Scenes and scripts can set what the spinners cannot: the map passes such values on unclamped (the
// formulas are the palette's and the shade folder's to test).
TEST_F(ChromasiftEval, ValuesBeyondTheSpinnersReachTheFormulas) {
    map->SetPalette({PaletteEntry{32768, 32768, 32768}});
    Mode(1);
    map->pblock->SetValue(pb_gamma, 0, -1.0f);
    EXPECT_NEAR(map->EvalColor(sc).r, 65535 / 32768.0f, 1e-5f);
    map->pblock->SetValue(pb_gamma, 0, 1.0f);
    map->pblock->SetValue(pb_value_alteration, 0, 150);
    EXPECT_NEAR(map->EvalColor(sc).g, 1.5f * 32768 / 65535.0f, 1e-5f);
    map->pblock->SetValue(pb_value_alteration, 0, 100);

    map->SetPalette(TenEntries());
    map->ReplaceReference(1, nullptr);
    map->pblock->SetValue(pb_tile_rows, 0, 2147483647);
    map->pblock->SetValue(pb_tile_columns, 0, 2147483647);
    sc.uvw = Point3(0.5f, 0.5f, 0.0f);
    Mode(13);
    EXPECT_EQ(Eval(), 2) << "2^30 × (2^31 - 1) + 2^30, beyond 32 bits, modulo 10";
}

TEST_F(ChromasiftEval, UnknownModesAndWildInputsGiveAColour) {
    for (int mode : {-1, 17, 1000}) {
        Mode(mode);
        EXPECT_EQ(map->EvalColor(sc), AColor(0.0f, 0.0f, 0.0f, 1.0f)) << mode;
    }
    sc.position = Point3(std::nanf(""), 1e30f, -1e30f);
    sc.uvw = sc.position;
    sc.uvw99 = sc.position;
    sc.face = -5;
    sc.nodeId = -77;
    sc.mtlNum = -1000;
    for (int mode = 0; mode <= 16; ++mode) {
        Mode(mode, mode % 2 == 0 ? 0 : 1000);
        const AColor c = map->EvalColor(sc);
        EXPECT_TRUE(std::isfinite(c.r) && std::isfinite(c.g) && std::isfinite(c.b)) << mode;
    }
}

TEST_F(ChromasiftEval, PerFaceDrawsOnceForEachPolygonOfTheRenderMesh) {
    auto* object = new TriObject();
    INode node;
    Shade(object, node, 1);
    OneInstance context;
    context.instance.mesh = &object->GetMesh();
    context.instance.SetEvalObject(object);
    sc.globContext = &context;
    // Which faces make a polygon is the numbering's test; here the polygon's number keys the draw.
    Mode(12);
    std::vector<int> faces;
    for (int f : {0, 1, 2}) {
        sc.face = f;
        faces.push_back(Eval());
    }
    EXPECT_EQ(faces, (std::vector<int>{4, 4, 8})) << "polygon 0 (faces 0 and 1), polygon 1";
    sc.face = 12;
    EXPECT_EQ(Eval(), 0) << "a face beyond the mesh";
    sc.globContext = nullptr;
    map->PrepareForRender();
    sc.face = 2;
    EXPECT_EQ(Eval(), 0) << "no render instance for the object";
}

} // namespace

namespace {

// An object of an outside instancing plug-in: it tells maps two values for the instance being shaded.
class InstancedObject : public TriObject, public IInstanceInfo {
public:
    BaseInterface* GetInterface(Interface_ID id) override {
        return id == IINSTANCEINFO_INTERFACE_ID ? static_cast<IInstanceInfo*>(this)
                                                : TriObject::GetInterface(id);
    }
    void GetInstanceValues(ShadeContext&, float& a, float& b) override {
        a = first;
        b = second;
    }
    float first = 0.0f;
    float second = 0.0f;
};

// The first draw of the published MT19937 seeded with key × multiplier, modulo n.
int FirstDraw(uint32_t key, uint32_t multiplier, uint32_t n) {
    std::mt19937 engine(key * multiplier);
    return static_cast<int>(engine() % n);
}

TEST_F(ChromasiftEval, InstanceValuesPickTheEntryWhenTheObjectOffersThem) {
    auto* object = new InstancedObject();
    INode node;
    Shade(object, node);
    sc.nodeId = 5;
    // Binary fractions, so that the scalings are exact: 1/128 × 10000 = 78.125, (1/128 + 1/512) × 50000 =
    // 488.28125; the second value alone would give 19 and 97.
    object->first = 0.0078125f;
    object->second = 0.001953125f;
    Mode(6);
    EXPECT_EQ(Eval(), 8) << "key 78, not the node number";
    Mode(10);
    const int drawn = FirstDraw(78, 185401, 10);
    ASSERT_NE(drawn, FirstDraw(78, 1809, 10)) << "the key must tell the two multipliers apart";
    EXPECT_EQ(Eval(), drawn);
    Mode(9);
    EXPECT_EQ(Eval(), 8) << "entry 488 modulo 10";
    object->second = 0.0f;
    map->PrepareForRender();
    EXPECT_EQ(Eval(), 0) << "entry 390 modulo 10";
    // Without the interface the node number decides.
    sc.object = nullptr;
    Mode(6);
    EXPECT_EQ(Eval(), 5);
    Mode(10);
    EXPECT_EQ(Eval(), FirstDraw(5, 1809, 10));
}

TEST_F(ChromasiftEval, InputMapModeReadsTheInputMapsValueWhenSwitchedOn) {
    Mode(5);
    EXPECT_EQ(Eval(), 0) << "no input map";
    auto* input = new ConstantMap(0.75f);
    map->SetSubTexmap(0, input);
    EXPECT_EQ(Eval(), 7);
    input->value = 1.5f;
    EXPECT_EQ(Eval(), 9);
    map->pblock->SetValue(pb_input_map_on, 0, 0);
    EXPECT_EQ(Eval(), 0) << "switched off";
    map->SetSubTexmap(0, nullptr);
    map->pblock->SetValue(pb_input_map_on, 0, 1);
    EXPECT_EQ(Eval(), 0) << "switched on without a map";
}

// Shading reads the map's parameters at the slider's time, never at the sample's (render) time.
TEST_F(ChromasiftEval, AdjustmentReadsTheSliderTimeNotTheSamplesTime) {
    const Palette one{PaletteEntry{40000, 20000, 9000, 65535}};
    map->SetPalette(one);
    Mode(1);
    KeyThreeTimes(*map->pblock, pb_gamma, 1.0f, 2.0f, 0.5f);
    KeyThreeTimes(*map->pblock, pb_hue_alteration, 100, 50, 80);
    KeyThreeTimes(*map->pblock, pb_saturation_alteration, 100, 60, 90);
    KeyThreeTimes(*map->pblock, pb_value_alteration, 100, 70, 40);
    const SliderAt slider;
    sc.time = kRenderTime;
    const AColor expected = AdjustPaletteColour(one[0], ColourAdjustment{2.0f, 50, 60, 70});
    const AColor atRender = AdjustPaletteColour(one[0], ColourAdjustment{0.5f, 80, 90, 40});
    ASSERT_NE(expected.r, atRender.r);
    const AColor shaded = map->EvalColor(sc);
    EXPECT_EQ(std::tie(shaded.r, shaded.g, shaded.b), std::tie(expected.r, expected.g, expected.b));
}

TEST_F(ChromasiftEval, ModeCountAndTilesReadTheSliderTime) {
    // At the slider: two rows of four tiles and seven colours; at 0 and at the render other modes and grids.
    KeyThreeTimes(*map->pblock, pb_mapping_old, 5, 13, 4);
    KeyThreeTimes(*map->pblock, pb_num_colors, 4, 7, 3);
    KeyThreeTimes(*map->pblock, pb_tile_rows, 1, 2, 3);
    KeyThreeTimes(*map->pblock, pb_tile_columns, 1, 4, 5);
    sc.position = Point3(0.3f, 0.8f, 0.0f);
    sc.time = kRenderTime;
    const SliderAt slider;
    const auto atSlider = static_cast<int>(mode_index::Tiles(0.3f, 0.8f, 2, 4, 7));
    ASSERT_NE(atSlider, static_cast<int>(mode_index::Tiles(0.3f, 0.8f, 3, 5, 3)));
    ASSERT_NE(atSlider, static_cast<int>(mode_index::Tiles(0.3f, 0.8f, 2, 4, 4)));
    ASSERT_NE(atSlider, static_cast<int>(mode_index::Tiles(0.3f, 0.8f, 1, 1, 7)));
    EXPECT_EQ(Eval(), atSlider);
}

TEST_F(ChromasiftEval, InputMapSwitchIsReadAtTimeZero) {
    Mode(5);
    map->SetSubTexmap(0, new ConstantMap(0.75f));
    sc.time = kRenderTime;
    const SliderAt slider;
    KeyThreeTimes(*map->pblock, pb_input_map_on, 1, 0, 0);
    EXPECT_EQ(Eval(), 7) << "switched on at time 0";
    KeyThreeTimes(*map->pblock, pb_input_map_on, 0, 1, 1);
    EXPECT_EQ(Eval(), 0) << "switched off at time 0";
}

} // namespace

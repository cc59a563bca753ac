// Which modes the contact sheet marks as showing one colour, and the fit of coordinates to a model's box.
#include "host/sheet/coordinate_fit.h"
#include "host/sheet/one_colour_note.h"

#include "shade/distribution_mode.h"
#include "shade/mode_index.h"

#include "hostsdk/tex_gen.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using enum distribution::Mode;
using host::RendererKind;

host::ModelKeys OneOfEverything() {
    host::ModelKeys keys;
    keys.objects = keys.objectIds = keys.materialIds = 1;
    keys.elementsPerObject = keys.polygonsPerObject = 1;
    keys.tileChannel = true;
    keys.tileNumbers = 1;
    return keys;
}

TEST(KeyedModeNote, OneKeyGivesTheModesNoteAndASecondKeyTakesItAway) {
    const struct {
        int mode;
        int host::ModelKeys::*count;
        const char* note;
    } cases[] = {
        {kObjectLinear, &host::ModelKeys::objects, "one colour: one object"},
        {kObjectRandom, &host::ModelKeys::objects, "one colour: one object"},
        {kVRayInstance, &host::ModelKeys::objects, "one colour: one object"},
        {kObjectId, &host::ModelKeys::objectIds, "one colour: one object ID"},
        {kMaterialId, &host::ModelKeys::materialIds, "one colour: one material ID"},
        {kPerElement, &host::ModelKeys::elementsPerObject, "one colour: one element per object"},
        {kPerFace, &host::ModelKeys::polygonsPerObject, "one colour: one polygon per object"},
        {kBerconLinear, &host::ModelKeys::tileNumbers, "one colour: one tile number"},
        {kBerconRandom, &host::ModelKeys::tileNumbers, "one colour: one tile number"},
    };
    for (const auto& c : cases) {
        host::ModelKeys keys = OneOfEverything();
        EXPECT_EQ(host::KeyedModeNote(c.mode, RendererKind::Scanline, keys), c.note) << "mode " << c.mode;
        keys.*c.count = 2;
        EXPECT_EQ(host::KeyedModeNote(c.mode, RendererKind::Scanline, keys), "") << "mode " << c.mode;
        // Every other count at 2 leaves the note: the mode keys on its own count only.
        host::ModelKeys others = OneOfEverything();
        others.objects = others.objectIds = others.materialIds = others.elementsPerObject =
            others.polygonsPerObject = others.tileNumbers = 2;
        others.*c.count = 1;
        EXPECT_EQ(host::KeyedModeNote(c.mode, RendererKind::Scanline, others), c.note) << "mode " << c.mode;
    }
}

TEST(KeyedModeNote, FollowsWhatEachRendererAndTheMapGiveTheMode) {
    host::ModelKeys keys = OneOfEverything();
    keys.objects = keys.objectIds = 3;
    // mental ray's shader sees faces: the object modes go by material IDs.
    for (int mode : {kObjectLinear, kObjectRandom, kObjectId}) {
        EXPECT_EQ(host::KeyedModeNote(mode, RendererKind::MentalRay, keys), "one colour: one material ID");
        EXPECT_EQ(host::KeyedModeNote(mode, RendererKind::Scanline, keys), "");
        host::ModelKeys materials = keys;
        materials.materialIds = 2;
        EXPECT_EQ(host::KeyedModeNote(mode, RendererKind::MentalRay, materials), "") << mode;
    }
    // Instance values change the object and element modes sample by sample, except under mental ray.
    keys = OneOfEverything();
    keys.instanceValues = true;
    EXPECT_EQ(host::KeyedModeNote(kObjectLinear, RendererKind::Scanline, keys), "");
    EXPECT_EQ(host::KeyedModeNote(kPerElement, RendererKind::VRay, keys), "");
    EXPECT_EQ(host::KeyedModeNote(kPerElement, RendererKind::MentalRay, keys),
              "one colour: one element per object");
    // Tile numbers and the input map.
    keys = OneOfEverything();
    keys.tileChannel = false;
    EXPECT_EQ(host::KeyedModeNote(kBerconLinear, RendererKind::Scanline, keys),
              "one colour: no tile numbers");
    EXPECT_EQ(host::KeyedModeNote(kInputMap, RendererKind::Scanline, keys), "one colour: no input map");
    keys.inputMap = true;
    EXPECT_EQ(host::KeyedModeNote(kInputMap, RendererKind::Scanline, keys), "");
    // Pixel and coordinate modes get no note here, and nothing is said of a map that nothing wears.
    for (int mode : {kRandom, kLinear, kMirror, kMapping1D, kTiles})
        EXPECT_EQ(host::KeyedModeNote(mode, RendererKind::Scanline, OneOfEverything()), "") << mode;
    EXPECT_EQ(host::KeyedModeNote(kMaterialId, RendererKind::Scanline, host::ModelKeys()), "");
}

host::CoordinateBox Box(Point3 lo, Point3 hi) {
    host::CoordinateBox box;
    box.Add(lo);
    box.Add(hi);
    return box;
}

TEST(CoordinateModeNote, OneColourOnlyWhenTheWholeBoxGivesOneIndex) {
    // clang-format off
    const struct {
        int mode;
        Point3 lo, hi;
        int colours, tilesX, tilesY;
        const char* note; // after "one colour: ", or none
    } cases[] = {
        {kMapping1D, {1000, 1000, 1000}, {1040, 1030, 1020}, 10, 3, 3, "coordinates outside 0..1"},
        {kMapping2D, {1000, 1000, 1000}, {1040, 1030, 1020}, 10, 3, 3, "coordinates outside 0..1"},
        {kMapping3D, {1000, 1000, 1000}, {1040, 1030, 1020}, 10, 3, 3, "coordinates outside 0..1"},
        {kTiles, {-9, -9, 0}, {-7, -7, 0}, 10, 3, 3, "coordinates outside 0..1"},
        {kTiles, {1000, 1000, 1000}, {1040, 1030, 1020}, 10, 3, 3, ""}, // far above 1 the tiles run again
        {kMapping1D, {0, 0, 0}, {0.9999f, 0.9999f, 0.9999f}, 10, 3, 3, ""},
        {kMapping2D, {0, 0, 0}, {0.9999f, 0.9999f, 0.9999f}, 10, 3, 3, ""},
        {kMapping3D, {0, 0, 0}, {0.9999f, 0.9999f, 0.9999f}, 10, 3, 3, ""},
        {kTiles, {0, 0, 0}, {0.9999f, 0.9999f, 0.9999f}, 10, 3, 3, ""},
        {kMapping2D, {1, 1, 0}, {1.5f, 1.5f, 0}, 8, 3, 3, ""}, // 8 colours (s = 2) still give 6 and 7
        {kMapping2D, {1, 1, 0}, {1.5f, 1.5f, 0}, 3, 3, 3, "coordinates outside 0..1"}, // s = 1: the last
        {kMapping1D, {0.5f, 0, 0}, {0.5f, 1, 1}, 10, 3, 3, "coordinates do not vary"}, // flat along x
        {kMapping2D, {0.5f, 0.5f, 0}, {0.5f, 0.5f, 1}, 10, 3, 3, "coordinates do not vary"},
        {kMapping3D, {0.5f, 0.5f, 0}, {0.5f, 0.5f, 1}, 10, 3, 3, ""},
        {kTiles, {0.4f, 0.4f, 0}, {0.6f, 0.6f, 0}, 10, 3, 3, "coordinates within one tile"},
        {kTiles, {0.4f, 0.4f, 0}, {0.6f, 0.6f, 0}, 10, 5, 5, ""},
        {kTiles, {0.4f, 0.4f, 0}, {0.6f, 0.6f, 0}, 10, 1, 1, "coordinates within one tile"},
        {kTiles, {0.1f, 0.1f, 0}, {0.2f, 0.4f, 0}, 10, 3, 3, ""}, // first tile of the first and second row
        {kMapping1D, {0.1f, 0, 0}, {0.15f, 0, 0}, 4, 3, 3, "coordinates span one colour"},
        {kMapping1D, {0.1f, 0, 0}, {0.15f, 0, 0}, 7, 3, 3, ""}, // 7 colours put 0.15 in the second
        // One colour in all, or tile counts the index does not rise with: nothing to say.
        {kMapping1D, {1000, 1000, 1000}, {1040, 1030, 1020}, 1, 3, 3, ""},
        {kTiles, {-9, -9, 0}, {-7, -7, 0}, 10, 0, 3, ""},
        {kTiles, {-9, -9, 0}, {-7, -7, 0}, 10, 3, -2, ""},
        {kMaterialId, {1000, 1000, 1000}, {1040, 1030, 1020}, 10, 3, 3, ""},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(host::CoordinateModeNote(c.mode, Box(c.lo, c.hi), c.colours, c.tilesX, c.tilesY),
                  *c.note == '\0' ? std::string() : std::string("one colour: ") + c.note)
            << "mode " << c.mode << " over " << c.lo.x << " to " << c.hi.x << ", " << c.colours << " colours";
    EXPECT_EQ(host::CoordinateModeNote(kMapping1D, host::CoordinateBox(), 10, 3, 3), "") << "an empty box";
}

TEST(CoordinateFit, TakesTheBoxOntoTheUnitCube) {
    host::CoordinateBox box = Box({1000, -50, 3}, {1040, 50, 3});
    box.Add(Point3(std::numeric_limits<float>::quiet_NaN(), 0, 0));
    box.Add(Point3(0, std::numeric_limits<float>::infinity(), 0));
    EXPECT_EQ(box.lo, Point3(1000, -50, 3)) << "non-finite points are left out";
    EXPECT_EQ(box.hi, Point3(1040, 50, 3));

    const host::CoordinateFit fit = host::FitToUnitCube(box);
    const auto fitted = [&](const Point3& p) {
        return TransformCoordinates(p, fit.offset, fit.scale, Point3());
    };
    EXPECT_EQ(fitted(box.lo), Point3(0, 0, 0));
    const Point3 hi = fitted(box.hi);
    for (int axis = 0; axis < 2; ++axis) {
        EXPECT_LT(hi[axis], 1.0f) << axis;
        EXPECT_GT(hi[axis], 0.999f) << axis;
    }
    EXPECT_EQ(hi.z, 0.0f) << "a flat axis goes to 0";
    EXPECT_NEAR(fitted(Point3(1020, 0, 3)).x, 0.5f, 1e-3f);
    // The distant corner keeps the last colour and the last tile.
    EXPECT_EQ(mode_index::Mapping1D(hi.x, 10), 9u);
    EXPECT_EQ(mode_index::Tiles(hi.x, hi.y, 3, 3, 9), 8u);

    // A box the transform moves: its corners' box, after offset, scale and angles.
    const host::CoordinateBox turned = host::TransformedBox(
        {Point3(1, 0, 0), Point3(2, 0, 0)}, Point3(1, 0, 0), Point3(2, 2, 2), Point3(0, 0, 1.5707964f));
    EXPECT_NEAR(turned.lo.y, 4.0f, 1e-4f);
    EXPECT_NEAR(turned.hi.y, 6.0f, 1e-4f);
    EXPECT_NEAR(turned.hi.x, 0.0f, 1e-4f);

    EXPECT_EQ(host::FitToUnitCube(host::CoordinateBox()).scale, Point3(1, 1, 1));
    const host::CoordinateFit huge = host::FitToUnitCube(Box({-3e38f, 0, 0}, {3e38f, 1e-44f, 1}));
    EXPECT_EQ(huge.scale.x, 1.0f) << "an extent that overflows is left unscaled";
    EXPECT_EQ(huge.scale.y, 1.0f) << "a scale that overflows is left unscaled";
    EXPECT_NEAR(huge.scale.z, 0.9999f, 1e-6f);
}

} // namespace

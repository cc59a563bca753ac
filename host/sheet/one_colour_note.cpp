#include "host/sheet/one_colour_note.h"

#include "shade/mode_index.h"
#include "shade/mode_table.h"

#include <algorithm>
#include <cstdint>

namespace host {

namespace {

using enum distribution::Mode;
using distribution::Key;

// Active colour counts tried for a coordinate mode: no palette holds more clusters than this.
constexpr int kMostColours = 65536;

std::string OneColour(const char* reason) {
    return std::string("one colour: ") + reason;
}

// The index of a coordinate mode at p with n active colours; "As Tiles" before its wrap past n - 1, which
// would break the order of the indices.
std::int64_t CoordinateIndex(int mode, const Point3& p, std::uint32_t n, int rows, int columns) {
    switch (mode) {
    case kMapping1D:
        return mode_index::Mapping1D(p.x, n);
    case kMapping2D:
        return mode_index::Mapping2D(p.x, p.y, n);
    case kMapping3D:
        return mode_index::Mapping3D(p.x, p.y, p.z, n);
    default: {
        const std::int64_t index =
            static_cast<std::int64_t>(mode_index::Truncate(static_cast<float>(rows) * p.y)) * columns +
            mode_index::Truncate(static_cast<float>(columns) * p.x);
        return std::max<std::int64_t>(index, 0);
    }
    }
}

} // namespace

std::string KeyedModeNote(int mode, RendererKind renderer, const ModelKeys& keys) {
    const distribution::ModeRow* row = distribution::FindMode(mode);
    if (keys.objects == 0 || row == nullptr)
        return {};
    // The mental ray shader sees faces, not objects: the object modes go by the faces' material IDs there.
    const bool mentalRay = renderer == RendererKind::MentalRay;
    switch (row->keys) {
    case Key::Objects:
        if (mentalRay)
            return keys.materialIds <= 1 ? OneColour("one material ID") : std::string();
        return keys.objects <= 1 && !keys.instanceValues ? OneColour("one object") : std::string();
    case Key::ObjectIds:
        if (mentalRay)
            return keys.materialIds <= 1 ? OneColour("one material ID") : std::string();
        return keys.objectIds <= 1 ? OneColour("one object ID") : std::string();
    case Key::MaterialIds:
        return keys.materialIds <= 1 ? OneColour("one material ID") : std::string();
    case Key::Elements:
        return keys.elementsPerObject <= 1 && (mentalRay || !keys.instanceValues)
                   ? OneColour("one element per object")
                   : std::string();
    case Key::Polygons:
        return keys.polygonsPerObject <= 1 ? OneColour("one polygon per object") : std::string();
    case Key::RendererInstances:
        return keys.objects <= 1 ? OneColour("one object") : std::string();
    case Key::TileNumbers:
        if (!keys.tileChannel)
            return OneColour("no tile numbers");
        return keys.tileNumbers <= 1 ? OneColour("one tile number") : std::string();
    case Key::InputMap:
        return keys.inputMap ? std::string() : OneColour("no input map");
    case Key::SampleOrder:
    case Key::Coordinates:
        return {};
    }
    return {};
}

std::string CoordinateModeNote(int mode, const CoordinateBox& box, int maxColours, int tileRows,
                               int tileColumns) {
    const distribution::ModeRow* row = distribution::FindMode(mode);
    const bool tiles = mode == kTiles;
    if (box.empty || maxColours < 2 || row == nullptr || row->keys != Key::Coordinates)
        return {};
    // With a count below 1 the tile index no longer rises with the coordinates.
    if (tiles && (tileRows < 1 || tileColumns < 1))
        return {};
    // "As Tiles" is the same below its wrap whatever the count, so one count answers for all.
    const int counts = tiles ? 1 : std::min(maxColours, kMostColours);
    for (int n = 1; n <= counts; ++n) {
        const auto colours = static_cast<std::uint32_t>(tiles ? maxColours : n);
        if (CoordinateIndex(mode, box.lo, colours, tileRows, tileColumns) !=
            CoordinateIndex(mode, box.hi, colours, tileRows, tileColumns))
            return {};
    }
    const int axes = mode == kMapping1D ? 1 : (mode == kMapping3D ? 3 : 2);
    bool flat = true, outside = false;
    for (int axis = 0; axis < axes; ++axis) {
        flat = flat && box.lo[axis] == box.hi[axis];
        outside = outside || box.hi[axis] <= 0.0f || box.lo[axis] >= 1.0f;
    }
    if (flat)
        return OneColour("coordinates do not vary");
    if (outside)
        return OneColour("coordinates outside 0..1");
    return OneColour(tiles ? "coordinates within one tile" : "coordinates span one colour");
}

} // namespace host

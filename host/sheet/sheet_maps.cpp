#include "host/sheet/sheet_maps.h"

#include "host/scene/map_settings.h"
#include "host/sheet/coordinate_fit.h"

#include "shade/distribution_mode.h"

namespace host {

using enum distribution::Mode;

bool ReadsCoordinates(int mode) {
    return mode == kMapping1D || mode == kMapping2D || mode == kMapping3D || mode == kTiles;
}

bool ReadsTileNumbers(int mode) {
    return mode == kBerconLinear || mode == kBerconRandom;
}

SheetMaps::SheetMaps(SceneRoot& scene, TimeValue t) : time(t) {
    for (Texmap* map : ChromasiftMaps(scene)) {
        WornMap worn;
        worn.map = map;
        worn.block = dynamic_cast<IParamBlock2*>(map->GetReference(0));
        XYZGen* generator = map->GetTheXYZGen();
        worn.coords =
            generator != nullptr && generator->IsStdXYZGen() ? static_cast<StdXYZGen*>(generator) : nullptr;
        worn.surfaces = SurfacesWearing(scene, *map, t);
        worn.keys = CountModelKeys(worn.surfaces);
        // The input map is the map's own setting; "InputMapOn" is read at time 0, as shading reads it.
        worn.keys.inputMap = worn.block != nullptr && worn.block->GetInt(pb_input_map_on, 0) != 0 &&
                             worn.block->GetTexmap(pb_input_map, t) != nullptr;
        maps.push_back(std::move(worn));
    }
}

std::vector<Point3> SheetMaps::SourcePoints(const WornMap& worn, RendererKind renderer) const {
    // Without a generator the map reads map channel 1 as it is.
    if (worn.coords == nullptr)
        return CornerPoints(worn.surfaces, PointSource::MapChannel, 1);
    switch (worn.coords->GetCoordSystem()) {
    case UVW_COORDS:
        // The mental ray shader reads texture coordinates from channel 1 whatever the generator names.
        return CornerPoints(worn.surfaces, PointSource::MapChannel,
                            renderer == RendererKind::MentalRay ? 1 : worn.coords->GetMapChannel());
    case UVW2_COORDS:
        return CornerPoints(worn.surfaces, PointSource::MapChannel, 0);
    case XYZ_WORLD_COORDS:
        // The shading contexts offer no world point, so the standard generator reads the object point;
        // the mental ray shader is given the world point.
        return CornerPoints(worn.surfaces,
                            renderer == RendererKind::MentalRay ? PointSource::World : PointSource::Object);
    default:
        return CornerPoints(worn.surfaces, PointSource::Object);
    }
}

void SheetMaps::FitCoordinates(RendererKind renderer) {
    for (const WornMap& worn : maps) {
        if (worn.coords == nullptr || worn.surfaces.empty())
            continue;
        const CoordinateFit fit = FitToUnitCube(
            TransformedBox(SourcePoints(worn, renderer), Point3(), Point3(1.0f, 1.0f, 1.0f), Point3()));
        for (int axis = 0; axis < 3; ++axis) {
            worn.coords->SetOffs(axis, fit.offset[axis], time);
            worn.coords->SetScl(axis, fit.scale[axis], time);
            worn.coords->SetAng(axis, 0.0f, time);
        }
    }
}

void SheetMaps::FitTileNumbers() {
    for (WornMap& worn : maps)
        if (!worn.keys.tileChannel && worn.fittedTiles == nullptr && !worn.surfaces.empty())
            worn.fittedTiles = std::make_unique<FittedTileChannel>(worn.surfaces);
}

SheetMaps::~SheetMaps() {
    RestoreTileNumbers();
}

void SheetMaps::RestoreTileNumbers() {
    // Last written, first put back: an object worn by two maps then ends as it began.
    for (auto worn = maps.rbegin(); worn != maps.rend(); ++worn)
        worn->fittedTiles.reset();
}

std::string SheetMaps::MapNote(const WornMap& worn, int mode, RendererKind renderer) const {
    if (!ReadsCoordinates(mode)) {
        ModelKeys keys = worn.keys;
        if (worn.fittedTiles != nullptr) {
            keys.tileChannel = true;
            keys.tileNumbers = worn.fittedTiles->TileCount();
        }
        return KeyedModeNote(mode, renderer, keys);
    }
    if (worn.block == nullptr)
        return {};
    Point3 offset, scale(1.0f, 1.0f, 1.0f), angle;
    if (worn.coords != nullptr)
        for (int axis = 0; axis < 3; ++axis) {
            offset[axis] = worn.coords->GetOffs(axis, time);
            scale[axis] = worn.coords->GetScl(axis, time);
            angle[axis] = worn.coords->GetAng(axis, time);
        }
    return CoordinateModeNote(mode, TransformedBox(SourcePoints(worn, renderer), offset, scale, angle),
                              worn.block->GetInt(pb_num_colors, time), worn.block->GetInt(pb_tile_rows, time),
                              worn.block->GetInt(pb_tile_columns, time));
}

std::string SheetMaps::Note(int mode, RendererKind renderer) const {
    std::string note;
    for (const WornMap& worn : maps) {
        if (worn.surfaces.empty())
            continue;
        const std::string mapNote = MapNote(worn, mode, renderer);
        if (mapNote.empty())
            return {};
        if (note.empty())
            note = mapNote;
    }
    return note;
}

} // namespace host

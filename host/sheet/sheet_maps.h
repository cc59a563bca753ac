#pragma once

// What the contact sheet knows of each Chromasift map of the scene it renders: the surfaces that wear the
// map, for fitting the map's coordinates to the model and for telling which modes show one colour only.
#include "host/render/renderers.h"
#include "host/scene/scene.h"
#include "host/sheet/sheet_surfaces.h"
#include "host/sheet/tile_channel.h"

#include "hostsdk/param_block.h"
#include "hostsdk/tex_gen.h"

#include <memory>
#include <string>
#include <vector>

namespace host {

// Whether a mode (combined mode number) reads the map's coordinates: "1D Mapping" to "3D Mapping", "As
// Tiles".
bool ReadsCoordinates(int mode);
// Whether a mode reads the tile numbers of map channel 99: "BerconTile(Lin)", "BerconTile(Rnd)".
bool ReadsTileNumbers(int mode);

class SheetMaps {
public:
    // Reads the scene's maps and the surfaces wearing each at time t, the time slider's (which shading
    // reads "# colors" and the tile counts at).
    SheetMaps(SceneRoot& scene, TimeValue t);
    // Gives back any tile numbers still written.
    ~SheetMaps();
    SheetMaps(const SheetMaps&) = delete;
    SheetMaps& operator=(const SheetMaps&) = delete;

    // Sets every map's coordinate offsets and scales (angles to 0) so that the points its coordinate
    // system now reads on its surfaces fill the unit cube. A map without a standard coordinate generator,
    // or worn by nothing, is left alone.
    void FitCoordinates(RendererKind renderer);

    // Writes tile numbers on a grid fitted to the model into map channel 99 of the objects wearing each map
    // none of whose surfaces has that channel; maps already given them are left as they are.
    void FitTileNumbers();
    // Gives the objects written by FitTileNumbers their map channels back as they were.
    void RestoreTileNumbers();

    // The note under a cell of `mode` (combined mode number) rendered with `renderer`: why the mode shows
    // one colour on the model, when it does for every map worn by something; otherwise empty. Coordinate
    // modes are judged in the coordinates the maps hold now.
    std::string Note(int mode, RendererKind renderer) const;

private:
    struct WornMap {
        Texmap* map = nullptr;
        IParamBlock2* block = nullptr;
        StdXYZGen* coords = nullptr; // null when the map has no standard generator
        std::vector<SheetSurface> surfaces;
        ModelKeys keys;
        std::unique_ptr<FittedTileChannel> fittedTiles; // while FitTileNumbers' numbers are written
    };

    // The corner points the map's coordinate modes read before the generator's transform.
    std::vector<Point3> SourcePoints(const WornMap& worn, RendererKind renderer) const;
    std::string MapNote(const WornMap& worn, int mode, RendererKind renderer) const;

    std::vector<WornMap> maps;
    TimeValue time;
};

} // namespace host

#pragma once

// Which distribution modes can show only one colour on a model, by what they key on, and the note a cell
// of the contact sheet carries then.
#include "host/render/renderers.h"
#include "host/sheet/coordinate_fit.h"

#include <string>

namespace host {

// What the modes that go by parts of a model see on the surfaces that wear one map.
struct ModelKeys {
    int objects = 0;           // render instances: node numbers, V-Ray instance numbers
    int objectIds = 0;         // distinct G-buffer object IDs of their nodes
    int materialIds = 0;       // distinct face material IDs
    int elementsPerObject = 0; // the most elements (pieces joined by edges) of any one object
    int polygonsPerObject = 0; // the most polygons of any one object
    bool tileChannel = false;  // some mesh has map channel 99, where tile numbers are kept
    int tileNumbers = 0;       // distinct tile numbers read from channel 99; a face without it reads 0
    // Some object gives instance values, which the object and element modes read sample by sample.
    bool instanceValues = false;
    bool inputMap = false; // "InputMapOn" set and an input map assigned
};

// The note of a mode (combined mode number) that keys on parts of the model or on the input map (by what
// the table of modes says it keys on), rendered with `renderer`: why it shows one colour, or empty when the
// model gives it more than one key. The pixel and coordinate modes get no note here.
std::string KeyedModeNote(int mode, RendererKind renderer, const ModelKeys& keys);

// The note of a mode that keys on coordinates ("1D Mapping", "2D Mapping", "3D Mapping", "As Tiles") whose
// points, as the mode reads them, lie in `box`: why it shows one colour, or empty when it may show more. One
// colour is claimed only when the whole box gives one index for every active colour count from 1 to
// `maxColours` (at least 2), which holds for every point inside since each mode's index never falls as a
// coordinate rises.
std::string CoordinateModeNote(int mode, const CoordinateBox& box, int maxColours, int tileRows,
                               int tileColumns);

} // namespace host

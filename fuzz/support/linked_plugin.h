#pragma once

// The plug-in's code linked into a fuzz target, attached once as the host's loader attaches the module.
#include "map/chromasift.h"

#include <memory>

// Registers the string table and runs the entry point on first call; later calls do nothing. Message boxes
// stay quiet, as in a batch render.
void AttachLinkedPlugin();

struct MapDeleter {
    void operator()(Chromasift* map) const { map->DeleteThis(); }
};
using MapPtr = std::unique_ptr<Chromasift, MapDeleter>;

// A new map created through the class descriptor, as the host creates one.
MapPtr NewMap();

#pragma once

// Helpers shared by the map's tests: creating maps through the descriptor and giving them a bitmap.
#include "map/chromasift.h"

#include <memory>
#include <string>

struct MapDeleter {
    void operator()(Chromasift* map) const { map->DeleteThis(); }
};
using MapPtr = std::unique_ptr<Chromasift, MapDeleter>;

MapPtr NewMap(bool loading = false);

// A file of the shared test images.
std::wstring TestImage(const char* name);

// Stores the file as the map's "Bitmapname".
void SetBitmap(Chromasift& map, const std::wstring& file);

// Chooses the shared test image as the bitmap and extracts `numColours` colours, as after the user picks it.
void ExtractFromTestImage(Chromasift& map, const char* image, int numColours);

// Runs the map's load as the host does: Load registers callbacks, which then run.
void LoadAndRunCallbacks(Chromasift& map);

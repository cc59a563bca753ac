// The map's answer to the pre-render notification: every render starts from clean shading state.
#include "map/chromasift.h"

#include "shade/pixel_random.h"

void Chromasift::PrepareForRender() {
    // No render thread runs yet: the tables are emptied without their locks.
    elementListCache->clear();
    polygonMeshCache->clear();
    sampleCounter.store(0);
    LibraryPixelRandom().Reseed(kPixelRandomSeed);
    indexCache->clear();
    // Palettes replaced during the last render are no longer read by anyone.
    paletteSnapshots.erase(paletteSnapshots.begin(), paletteSnapshots.end() - 1);
}

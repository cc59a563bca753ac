#pragma once

#include "plugin/host_sdk.h"

class Chromasift;

// Rebuilds a loaded map once the whole scene is read: the palette from the stored bitmap, its
// harmonisation, the source map, and the distribution-mode parameters of maps stored by the first version.
class ChromasiftPostLoad : public PostLoadCallback {
public:
    explicit ChromasiftPostLoad(Chromasift* map) : map(map) {}

    // Deletes the callback when done.
    void proc(ILoad* iload) override;
    int Priority() override { return 5; }

private:
    Chromasift* map;
};

// Category and sub-mode parameters for a combined mode stored by the first version.
struct LegacyModeConversion {
    int category;
    short subModeParam; // -1 when no sub-mode is written
    int subMode;
};
LegacyModeConversion ConvertLegacyMode(int storedMode);

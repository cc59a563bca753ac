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

// A copy of the map as Clone makes it.
MapPtr CloneOf(Chromasift& map);
// A map being loaded that has received a copy of `saved`'s parameter block; its load callbacks have not run.
MapPtr WithStoredBlock(Chromasift& saved);

// Runs the map's load as the host does: Load registers callbacks, which then run.
void LoadAndRunCallbacks(Chromasift& map);

// The times of the time-rule tests: the slider stands at frame 30 while the renderer renders frame 60.
constexpr TimeValue kSliderTime = 4800;
constexpr TimeValue kRenderTime = 9600;

// Keys the parameter to a different value at time 0, at the slider's time and at the render's time, so
// that a read at any of them tells which time it used.
void KeyThreeTimes(IParamBlock2& block, ParamID id, float atZero, float atSlider, float atRender);

// Puts the slider at kSliderTime (and animate mode on when asked) for its lifetime.
class SliderAt {
public:
    explicit SliderAt(TimeValue t = kSliderTime, bool animate = false);
    ~SliderAt();
    SliderAt(const SliderAt&) = delete;
    SliderAt& operator=(const SliderAt&) = delete;
};

#include "map_test_support.h"

#include "plugin/param_ids.h"
#include "plugin/plugin_main.h"
#include "test_files.h"

#include "hostsdk/anim_time.h"
#include "hostsdk/core_interface.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

MapPtr NewMap(bool loading) {
    return MapPtr(static_cast<Chromasift*>(GetChromasiftDesc()->Create(loading ? TRUE : FALSE)));
}

std::wstring TestImage(const char* name) {
    const std::string path = TestDataFile(std::string("images/") + name);
    return std::wstring(path.begin(), path.end());
}

void SetBitmap(Chromasift& map, const std::wstring& file) {
    BitmapInfo info;
    info.SetName(file.c_str());
    PBBitmap bitmap(info);
    map.pblock->SetValue(pb_bitmap, 0, &bitmap);
}

void ExtractFromTestImage(Chromasift& map, const char* image, int numColours) {
    map.pblock->SetValue(pb_num_colors, 0, numColours);
    SetBitmap(map, TestImage(image));
    map.MarkExtractPending();
    Interval valid = FOREVER;
    map.Update(0, valid);
}

MapPtr CloneOf(Chromasift& map) {
    RemapDir remap;
    return MapPtr(static_cast<Chromasift*>(map.Clone(remap)));
}

MapPtr WithStoredBlock(Chromasift& saved) {
    MapPtr loaded = NewMap(true);
    RemapDir remap;
    loaded->ReplaceReference(0, remap.CloneRef(saved.pblock));
    return loaded;
}

namespace {

class Loader : public ILoad {
public:
    void RegisterPostLoadCallback(PostLoadCallback* cb) override { callbacks.push_back(cb); }
    std::vector<PostLoadCallback*> callbacks;
};

} // namespace

void LoadAndRunCallbacks(Chromasift& map) {
    Loader loader;
    map.Load(&loader);
    std::stable_sort(loader.callbacks.begin(), loader.callbacks.end(),
                     [](PostLoadCallback* a, PostLoadCallback* b) { return a->Priority() < b->Priority(); });
    for (PostLoadCallback* cb : loader.callbacks)
        cb->proc(&loader);
}

void KeyThreeTimes(IParamBlock2& block, ParamID id, float atZero, float atSlider, float atRender) {
    const KeyTrack keys{{0, atZero}, {kSliderTime, atSlider}, {kRenderTime, atRender}};
    if (!block.SetKeys(id, keys))
        throw std::logic_error("the parameter does not animate");
}

SliderAt::SliderAt(TimeValue t, bool animate) {
    GetCOREInterface()->SetTime(t);
    if (animate)
        AnimateOn();
}

SliderAt::~SliderAt() {
    AnimateOff();
    GetCOREInterface()->SetTime(0);
}

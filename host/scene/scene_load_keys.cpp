// Scene files: time. The keys of animatable parameters, the time slider and the animation range.
#include "host/scene/scene_reader.h"

#include "host/base/text.h"
#include "host/scene/frame_list.h"

#include "hostsdk/anim_time.h"
#include "hostsdk/key_track.h"

namespace host {

SceneReader::TimeSlider SceneReader::ReadTimeSlider(const Json& document) const {
    TimeSlider slider;
    if (document.contains("sliderTime"))
        slider.time = ReadInt(document["sliderTime"], "/sliderTime");
    slider.range = document.contains("animationRange")
                       ? ReadAnimationRange(document["animationRange"])
                       : Interval(FramesToTicks(kDefaultFirstFrame), FramesToTicks(kDefaultLastFrame));
    return slider;
}

// [first, last] in frames, as far as ticks in a time value reach.
Interval SceneReader::ReadAnimationRange(const Json& value) const {
    if (!value.is_array() || value.size() != 2)
        Fail("/animationRange", "expected [first, last] in frames");
    const int first = ReadInt(value[0], "/animationRange/0");
    const int last = ReadInt(value[1], "/animationRange/1");
    if (first > last || first < -kMaxFrame || last > kMaxFrame)
        Fail("/animationRange", "expected a first frame not after the last, each from " +
                                    std::to_string(-kMaxFrame) + " to " + std::to_string(kMaxFrame));
    return Interval(FramesToTicks(first), FramesToTicks(last));
}

void SceneReader::ReadKeys(IParamBlock2& block, const ParamDef& def, const Json& keys,
                           const std::string& where) {
    const std::string name =
        "parameter " + std::to_string(def.id) + " (\"" + ToUtf8(def.internalName) + "\")";
    const int type = base_type(def.type);
    const bool number = type == TYPE_FLOAT || type == TYPE_INT || type == TYPE_BOOL;
    if ((def.flags & P_ANIMATABLE) == 0 || !number || is_tab(def.type))
        Fail(where, name + " is not animatable: it holds one value for all time");
    if (!keys.is_array() || keys.empty())
        Fail(where, "expected an array of [time, value] keys");
    KeyTrack track;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const std::string at = where + "/" + std::to_string(i);
        const Json& key = keys[i];
        if (!key.is_array() || key.size() != 2)
            Fail(at, "expected a key: [time in ticks, value]");
        const TimeValue time = ReadInt(key[0], at + "/0");
        if (!track.empty() && time <= track.back().time)
            Fail(at + "/0", "key times must rise: " + std::to_string(time) + " follows " +
                                std::to_string(track.back().time));
        const Json& value = key[1];
        float keyValue = 0.0f;
        if (type == TYPE_FLOAT)
            keyValue = ReadFloat(value, at + "/1");
        else if (type == TYPE_BOOL && value.is_boolean())
            keyValue = value.get<bool>() ? 1.0f : 0.0f;
        else
            keyValue = static_cast<float>(ReadInt(value, at + "/1"));
        track.push_back(TrackKey{time, keyValue});
    }
    block.SetKeys(def.id, track);
}

} // namespace host

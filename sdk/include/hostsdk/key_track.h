#pragma once

// The keys of an animated number parameter and their interpolation, as the host's default float
// controller gives it: a cubic Bezier curve through the keys whose tangents follow the neighbouring keys
// and lie flat at the first and last key and at every key that is a peak or a trough, so that the curve
// never overshoots a key. Integer parameters use the same curve, rounded to the nearest integer; on/off
// parameters (booleans, and integers ranging from 0 to 1) step, as the host's on/off tracks do: the value
// changes at a key, never between keys.
#include "hostsdk/max_types.h"
#include "hostsdk/sdk_api.h"

#include <span>
#include <vector>

struct TrackKey {
    TimeValue time = 0;
    float value = 0.0f;
    friend bool operator==(const TrackKey&, const TrackKey&) = default;
};

// Keys in ascending time, at most one at a time.
using KeyTrack = std::vector<TrackKey>;

SDK_API bool KeysInOrder(std::span<const TrackKey> keys);

// The curve's value at t (keys not empty). Before the first key and after the last the curve holds that
// key's value. `valid` is narrowed to the times around t over which the value stays the same: everything
// before the first key, everything after the last, the instant t in between, and all time for one key.
SDK_API float TrackValue(std::span<const TrackKey> keys, TimeValue t, Interval& valid);

// The stepped track's value at t (keys not empty): the last key at or before t, the first key before it.
// `valid` is narrowed to the times from that key to just before the next.
SDK_API float SteppedTrackValue(std::span<const TrackKey> keys, TimeValue t, Interval& valid);

// Sets the key at t to the value, adding it in time order when there is none at t.
SDK_API void SetTrackKey(KeyTrack& keys, TimeValue t, float value);

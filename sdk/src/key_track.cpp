#include "hostsdk/key_track.h"

#include <algorithm>
#include <iterator>

namespace {

// The slope (value per tick) of the curve at key i.
double Tangent(std::span<const TrackKey> keys, std::size_t i) {
    if (i == 0 || i + 1 >= keys.size())
        return 0.0;
    const TrackKey& previous = keys[i - 1];
    const TrackKey& key = keys[i];
    const TrackKey& next = keys[i + 1];
    const double rising = static_cast<double>(key.value) - previous.value;
    const double rest = static_cast<double>(next.value) - key.value;
    if (rising * rest <= 0.0)
        return 0.0;
    return (static_cast<double>(next.value) - previous.value) /
           (static_cast<double>(next.time) - static_cast<double>(previous.time));
}

} // namespace

bool KeysInOrder(std::span<const TrackKey> keys) {
    for (std::size_t i = 1; i < keys.size(); ++i)
        if (keys[i - 1].time >= keys[i].time)
            return false;
    return true;
}

float TrackValue(std::span<const TrackKey> keys, TimeValue t, Interval& valid) {
    if (keys.size() == 1) {
        valid &= FOREVER;
        return keys.front().value;
    }
    if (t <= keys.front().time) {
        valid &= Interval(TIME_NegInfinity, keys.front().time);
        return keys.front().value;
    }
    if (t >= keys.back().time) {
        valid &= Interval(keys.back().time, TIME_PosInfinity);
        return keys.back().value;
    }
    valid &= Interval(t, t);
    const auto after = std::upper_bound(keys.begin(), keys.end(), t,
                                        [](TimeValue time, const TrackKey& key) { return time < key.time; });
    const std::size_t b = static_cast<std::size_t>(after - keys.begin());
    const TrackKey& k0 = keys[b - 1];
    const TrackKey& k1 = keys[b];
    if (t == k0.time)
        return k0.value;
    // Cubic Hermite form of the Bezier segment.
    const double span = static_cast<double>(k1.time) - static_cast<double>(k0.time);
    const double u = (static_cast<double>(t) - k0.time) / span;
    const double u2 = u * u;
    const double u3 = u2 * u;
    const double value = (2.0 * u3 - 3.0 * u2 + 1.0) * k0.value +
                         (u3 - 2.0 * u2 + u) * span * Tangent(keys, b - 1) +
                         (-2.0 * u3 + 3.0 * u2) * k1.value + (u3 - u2) * span * Tangent(keys, b);
    return static_cast<float>(value);
}

float SteppedTrackValue(std::span<const TrackKey> keys, TimeValue t, Interval& valid) {
    const auto after = std::upper_bound(keys.begin(), keys.end(), t,
                                        [](TimeValue time, const TrackKey& key) { return time < key.time; });
    const TimeValue from = after == keys.begin() ? TIME_NegInfinity : std::prev(after)->time;
    const TimeValue to = after == keys.end() ? TIME_PosInfinity : after->time - 1;
    valid &= Interval(from, to);
    return after == keys.begin() ? keys.front().value : std::prev(after)->value;
}

void SetTrackKey(KeyTrack& keys, TimeValue t, float value) {
    const auto at = std::lower_bound(keys.begin(), keys.end(), t,
                                     [](const TrackKey& key, TimeValue time) { return key.time < time; });
    if (at != keys.end() && at->time == t)
        at->value = value;
    else
        keys.insert(at, TrackKey{t, value});
}

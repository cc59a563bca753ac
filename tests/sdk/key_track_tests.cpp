#include "hostsdk/key_track.h"

#include <gtest/gtest.h>

namespace {

TEST(KeyTrack, HoldsTheEndKeysAndNarrowsValidityAroundTheTime) {
    const KeyTrack keys{{0, 1.0f}, {4800, 3.0f}};
    Interval valid = FOREVER;
    EXPECT_EQ(TrackValue(keys, -100, valid), 1.0f);
    EXPECT_EQ(valid, Interval(TIME_NegInfinity, 0));
    valid = FOREVER;
    EXPECT_EQ(TrackValue(keys, 9000, valid), 3.0f);
    EXPECT_EQ(valid, Interval(4800, TIME_PosInfinity));
    valid = FOREVER;
    TrackValue(keys, 1200, valid);
    EXPECT_EQ(valid, Interval(1200, 1200));
    // The given interval is narrowed, never widened.
    valid = Interval(2000, 3000);
    TrackValue(keys, 9000, valid);
    EXPECT_TRUE(valid.Empty());
    // One key holds for all time.
    valid = Interval(5, 10);
    EXPECT_EQ(TrackValue(KeyTrack{{4800, 2.5f}}, 9000, valid), 2.5f);
    EXPECT_EQ(valid, Interval(5, 10));
}

TEST(KeyTrack, EasesBetweenTwoKeysAndNeverOvershootsAPeak) {
    const KeyTrack two{{0, 1.0f}, {4800, 3.0f}};
    Interval valid = FOREVER;
    EXPECT_FLOAT_EQ(TrackValue(two, 2400, valid), 2.0f);
    // Flat tangents at both ends: a quarter of the way the curve has risen less than a quarter.
    const float quarter = TrackValue(two, 1200, valid);
    EXPECT_GT(quarter, 1.0f);
    EXPECT_LT(quarter, 1.5f);
    EXPECT_FLOAT_EQ(quarter, 1.0f + 2.0f * (3.0f * 0.0625f - 2.0f * 0.015625f));

    // A peak at the middle key: the curve stays at or below it on both sides.
    const KeyTrack peak{{0, 0.0f}, {100, 10.0f}, {200, 5.0f}};
    for (TimeValue t = 0; t <= 200; t += 5)
        EXPECT_LE(TrackValue(peak, t, valid), 10.0f) << "at " << t;
    // A rising run of keys passes the middle key with a slope: values just before and after differ.
    const KeyTrack rising{{0, 0.0f}, {100, 5.0f}, {200, 10.0f}};
    EXPECT_FLOAT_EQ(TrackValue(rising, 100, valid), 5.0f);
    EXPECT_LT(TrackValue(rising, 99, valid), 5.0f);
    EXPECT_GT(TrackValue(rising, 101, valid), 5.0f);
    // Halfway to the last key: the slope 0.05 a tick leaving the middle key, flat arriving at the last.
    EXPECT_FLOAT_EQ(TrackValue(rising, 150, valid), 8.125f);
}

TEST(KeyTrack, SetsKeysInTimeOrderAndChecksOrder) {
    KeyTrack keys;
    SetTrackKey(keys, 4800, 2.0f);
    SetTrackKey(keys, 0, 1.0f);
    SetTrackKey(keys, 2400, 5.0f);
    SetTrackKey(keys, 4800, 3.0f);
    EXPECT_EQ(keys, (KeyTrack{{0, 1.0f}, {2400, 5.0f}, {4800, 3.0f}}));
    EXPECT_TRUE(KeysInOrder(keys));
    EXPECT_TRUE(KeysInOrder(KeyTrack{}));
    EXPECT_FALSE(KeysInOrder(KeyTrack{{10, 1.0f}, {10, 2.0f}}));
    EXPECT_FALSE(KeysInOrder(KeyTrack{{10, 1.0f}, {5, 2.0f}}));
}

} // namespace

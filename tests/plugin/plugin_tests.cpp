// The plug-in frame linked directly: string loading and descriptor construction.
#include "plugin/exports.h"
#include "plugin/plugin_main.h"
#include "plugin/string_ids.h"

#include <gtest/gtest.h>

namespace {

TEST(GetString, SharesOneBufferBetweenCalls) {
    const MCHAR* first = GetString(IDS_ABOUT);
    ASSERT_NE(first, nullptr);
    EXPECT_STREQ(first, L"About");
    const MCHAR* second = GetString(IDS_SUBANIM_PARAMS);
    EXPECT_EQ(first, second);
    EXPECT_STREQ(first, L"Huemeld parameters") << "the first text is overwritten by the second";
    EXPECT_EQ(GetString(9999), nullptr);
}

TEST(GetString, IsNullBeforeTheModuleIsKnown) {
    HINSTANCE saved = hInstance;
    hInstance = nullptr;
    EXPECT_EQ(GetString(IDS_ABOUT), nullptr);
    EXPECT_EQ(LibDescription(), nullptr);
    hInstance = saved;
}

// The exports and the descriptor's answers are the loaded module's tests; here the one descriptor.
TEST(GetChromasiftDesc, BuildsOneDescriptorOnFirstUse) {
    EXPECT_EQ(GetChromasiftDesc(), GetChromasiftDesc());
    EXPECT_EQ(LibClassDesc(0), GetChromasiftDesc());
}

} // namespace

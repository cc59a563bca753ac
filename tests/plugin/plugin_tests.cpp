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
    EXPECT_STREQ(LibDescription(), L"KR Tintworks by KESTRIM");
}

TEST(GetString, IsNullBeforeTheModuleIsKnown) {
    HINSTANCE saved = hInstance;
    hInstance = nullptr;
    EXPECT_EQ(GetString(IDS_ABOUT), nullptr);
    EXPECT_EQ(LibDescription(), nullptr);
    hInstance = saved;
}

TEST(GetChromasiftDesc, BuildsOneDescriptorOnFirstUse) {
    ClassDesc2* desc = GetChromasiftDesc();
    EXPECT_EQ(desc, GetChromasiftDesc());
    EXPECT_EQ(LibClassDesc(0), desc);
    EXPECT_EQ(LibNumberClasses(), 1);
    EXPECT_EQ(desc->HInstance(), hInstance);
    EXPECT_STREQ(desc->GetRsrcString(IDS_PARAMS), L"Chromasift parameters");
}

} // namespace

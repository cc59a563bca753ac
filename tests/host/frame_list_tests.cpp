#include "host/scene/frame_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(FrameList, ReadsFramesAndRangesInAscendingOrder) {
    const struct {
        std::string text;
        std::vector<int> frames;
    } read[] = {
        {"7", {7}},
        {"0-3", {0, 1, 2, 3}},
        {"24,1,8-9", {1, 8, 9, 24}},
        {"10000000", {10000000}},
    };
    for (const auto& c : read) {
        std::vector<int> frames;
        EXPECT_EQ(host::ParseFrameList(c.text, frames), "") << c.text;
        EXPECT_EQ(frames, c.frames) << c.text;
    }
    const struct {
        std::string text;
        std::string expected;
    } refused[] = {
        {"", "--frames takes frames and ranges of frames from 0 to 10000000"},
        {"1,,2", "not '1,,2'"},
        {"3,", "not '3,'"},
        {"10000001", "from 0 to 10000000"},
        {"1-x", "not '1-x'"},
        {"+4", "not '+4'"},
        {"-2-12", "takes no negative frame ('-2-12')"},
        {"5-2", "FIRST no greater than LAST, not '5-2'"},
        {"1-4,4-6", "asks for frame 4 twice"},
    };
    for (const auto& c : refused) {
        std::vector<int> frames{99};
        const std::string error = host::ParseFrameList(c.text, frames);
        EXPECT_NE(error.find(c.expected), std::string::npos) << c.text << ": " << error;
        EXPECT_EQ(frames, std::vector<int>{99}) << "left alone on error";
    }
}

TEST(FrameList, WritesListsBackAndCutsChunks) {
    EXPECT_EQ(host::FrameListText({0, 1, 2, 5, 7, 8}), "0-2,5,7-8");
    EXPECT_EQ(host::FrameListText({4}), "4");
    const std::vector<std::vector<int>> chunks = host::FrameChunks({0, 1, 2, 3, 4, 8, 9}, 3);
    EXPECT_EQ(chunks, (std::vector<std::vector<int>>{{0, 1, 2}, {3, 4, 8}, {9}}));
}

TEST(FrameList, OnlyTheFileNamesRunOfHashesTakesTheFrame) {
    const struct {
        std::string pattern;
        int frame;
        std::string file;
    } named[] = {
        {"out/seq_####.png", 7, "out/seq_0007.png"},
        {"a#b_##.png", 123, "a#b_123.png"},
        {"seq_#.png", 0, "seq_0.png"},
        {"c:\\renders\\take_###.png", 42, "c:\\renders\\take_042.png"},
    };
    for (const auto& c : named) {
        EXPECT_EQ(host::FramePatternProblem(c.pattern), "") << c.pattern;
        EXPECT_EQ(host::FrameFileName(c.pattern, c.frame), c.file);
    }
    EXPECT_NE(host::FramePatternProblem("take#1/seq.png").find("needs an output file name with a run of '#'"),
              std::string::npos);
    EXPECT_NE(
        host::FramePatternProblem("take#1/seq_##.png").find("the output's folder 'take#1/' holds a '#'"),
        std::string::npos);
}

} // namespace

#include "palette/work_team.h"

#include <gtest/gtest.h>

#include <atomic>
#include <vector>

TEST(WorkTeam, EveryPartRunsExactlyOnce) {
    for (const uint32_t threads : {1u, 2u, 5u}) {
        WorkTeam team(threads);
        EXPECT_EQ(team.Size(), threads);
        for (const uint32_t parts : {0u, 1u, 3u, 1000u}) {
            std::vector<std::atomic<int>> calls(parts);
            team.Run(parts, [&](uint32_t part) { calls[part].fetch_add(1); });
            for (uint32_t part = 0; part < parts; ++part)
                EXPECT_EQ(calls[part].load(), 1) << threads << " threads, part " << part << " of " << parts;
        }
    }
}

TEST(WorkTeam, JobsSeeEachOthersResults) {
    WorkTeam team(3);
    std::vector<uint64_t> values(4096);
    for (uint32_t round = 0; round < 50; ++round) {
        team.Run(64, [&](uint32_t part) {
            for (uint32_t i = part * 64; i < part * 64 + 64; ++i)
                values[i] = values[i] * 3 + i;
        });
    }
    for (uint32_t i = 0; i < values.size(); ++i) {
        uint64_t expected = 0;
        for (uint32_t round = 0; round < 50; ++round)
            expected = expected * 3 + i;
        ASSERT_EQ(values[i], expected) << "value " << i;
    }
}

#include "shade/concurrent_table.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

namespace {

TEST(ConcurrentTable, FindsWhatWasInsertedAcrossGrowth) {
    ConcurrentTable<int32_t, int32_t> table;
    EXPECT_EQ(table.Find(0), nullptr);
    for (int32_t key = -500; key < 500; ++key)
        EXPECT_EQ(table.Insert(key * 7919, key), key);
    for (int32_t key = -500; key < 500; ++key) {
        const int32_t* value = table.Find(key * 7919);
        ASSERT_NE(value, nullptr) << key;
        EXPECT_EQ(*value, key);
    }
    EXPECT_EQ(table.Find(1), nullptr);
    EXPECT_EQ(table.Size(), 1000u);
}

// Readers look keys up while a writer adds them under a lock, the way keyed draws fill the table during a
// render: every key is added once and every reader sees the one value stored for it.
TEST(ConcurrentTable, ReadersAndOneWriterAgreeOnEveryKey) {
    ConcurrentTable<int32_t, int32_t> table;
    std::mutex lock;
    std::atomic<int> inserts{0};
    std::atomic<int> wrong{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < 20000; ++i) {
                const int32_t key = (i * (t + 1)) % 3000;
                const int32_t* found = table.Find(key);
                if (found == nullptr) {
                    std::lock_guard<std::mutex> guard(lock);
                    found = table.Find(key);
                    if (found == nullptr) {
                        found = &table.Insert(key, key * 3);
                        inserts.fetch_add(1);
                    }
                }
                if (*found != key * 3)
                    wrong.fetch_add(1);
            }
        });
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(wrong.load(), 0);
    EXPECT_EQ(inserts.load(), static_cast<int>(table.Size()));
    EXPECT_EQ(table.Size(), 3000u);
}

} // namespace

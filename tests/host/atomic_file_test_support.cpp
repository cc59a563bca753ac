#include "atomic_file_test_support.h"

#include "host/base/text.h"

#include "error_message.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace atomic_file_test {

std::vector<std::string> FolderEntries(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(host::PathToUtf8(entry.path().filename()));
    std::sort(names.begin(), names.end());
    return names;
}

void ExpectFailure(const std::function<void()>& write, const std::string& message) {
    EXPECT_EQ(ErrorOf(write), message);
}

} // namespace atomic_file_test

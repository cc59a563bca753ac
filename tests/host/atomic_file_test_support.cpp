#include "atomic_file_test_support.h"

#include "host/text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

namespace atomic_file_test {

TestFolder::TestFolder(const std::string& name)
    : path(std::filesystem::temp_directory_path() / ("chromasift_atomic_" + name)) {
    std::filesystem::remove_all(path);
    std::filesystem::create_directories(path);
}

TestFolder::~TestFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

std::string ReadBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    EXPECT_TRUE(in.good()) << host::PathToUtf8(file) << " cannot be read";
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << bytes;
    ASSERT_TRUE(out.flush().good()) << host::PathToUtf8(file) << " cannot be written";
}

std::vector<std::string> FolderEntries(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(host::PathToUtf8(entry.path().filename()));
    std::sort(names.begin(), names.end());
    return names;
}

void ExpectFailure(const std::function<void()>& write, const std::string& message, bool prefix) {
    try {
        write();
        ADD_FAILURE() << "no error; expected: " << message;
    } catch (const std::exception& e) {
        const std::string actual = e.what();
        if (prefix)
            EXPECT_EQ(actual.substr(0, message.size()), message) << actual;
        else
            EXPECT_EQ(actual, message);
    }
}

} // namespace atomic_file_test

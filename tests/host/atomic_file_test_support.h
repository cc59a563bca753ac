#pragma once

// What the tests of whole-file replacement share: a scratch folder, the bytes of a file, a folder's
// listing and the check of a failure's message.
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace atomic_file_test {

// A fresh folder in the temporary directory, one for each test (CTest runs tests side by side), removed with
// everything in it by the destructor.
class TestFolder {
public:
    explicit TestFolder(const std::string& name);
    ~TestFolder();
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    const std::filesystem::path& Path() const { return path; }

private:
    std::filesystem::path path;
};

std::string ReadBytes(const std::filesystem::path& file);
void WriteBytes(const std::filesystem::path& file, const std::string& bytes);

// The names in the folder (UTF-8), sorted: a temporary file left behind shows here.
std::vector<std::string> FolderEntries(const std::filesystem::path& folder);

// Expects `write` to throw a std::exception whose message is `message` (or, with `prefix`, starts with it).
void ExpectFailure(const std::function<void()>& write, const std::string& message, bool prefix = false);

} // namespace atomic_file_test

#pragma once

// What the tests of whole-file replacement share besides the scratch folder: a folder's listing and the
// check of a failure's message.
#include "scratch_folder.h"

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace atomic_file_test {

// The names in the folder (UTF-8), sorted: a temporary file left behind shows here.
std::vector<std::string> FolderEntries(const std::filesystem::path& folder);

// Expects `write` to throw a std::exception whose message is `message`.
void ExpectFailure(const std::function<void()>& write, const std::string& message);

} // namespace atomic_file_test

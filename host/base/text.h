#pragma once

#include <filesystem>
#include <string>

namespace host {

// UTF-8 for output and messages; the SDK speaks wide text.
std::string ToUtf8(const std::wstring& text);
std::wstring FromUtf8(const std::string& text);

// File names as the user gives them (UTF-8) and back, the same on every platform.
std::filesystem::path PathFromUtf8(const std::string& text);
std::string PathToUtf8(const std::filesystem::path& path);

} // namespace host

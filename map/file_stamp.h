#pragma once

// What tells that a picture on disk is still the one read before: the file's size and last write time.
// Writing the file, or putting another file in its place, changes the write time (and mostly the size);
// reading them costs one status query, where decoding a large picture again costs a second.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

struct FileStamp {
    std::uintmax_t size = 0;
    std::filesystem::file_time_type written;
    bool operator==(const FileStamp&) const = default;
};

// The stamp of the file named as the bitmap manager names it; nothing when it is missing, is not a regular
// file or cannot be queried.
std::optional<FileStamp> StampOf(const std::wstring& fileName);

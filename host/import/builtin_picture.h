#pragma once

// The picture the host extracts palettes from when the user names none, so that rendering needs no input
// files.
#include "host/base/removed_on_signal.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <vector>

namespace host {

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba; // four bytes per pixel, row by row from the top
};

// Twelve vertical stripes of flat, clearly different colours, each stripe wider than the one before, so that
// every colour has its own sample count and the palette's order is fixed.
Picture BuiltinPicture();

// The built-in picture as the PNG file "built-in picture.png" in a folder of its own in the temporary
// directory, written on first use and deleted, with its folder, with this object (or by a signal that ends
// the process).
class TemporaryPicture {
public:
    TemporaryPicture() = default;
    TemporaryPicture(const TemporaryPicture&) = delete;
    TemporaryPicture& operator=(const TemporaryPicture&) = delete;
    ~TemporaryPicture();

    // Throws std::runtime_error when the file cannot be written.
    const std::filesystem::path& Path();

private:
    std::filesystem::path path;
    std::unique_ptr<RemovedOnSignal> folderRemoval, fileRemoval; // the folder first: removed last
};

} // namespace host

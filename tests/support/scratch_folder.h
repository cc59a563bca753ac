#pragma once

// A folder of the test's own under the system's temporary folder, and the bytes of the files in it.
#include <filesystem>
#include <string>
#include <string_view>

// A fresh folder for each instance (CTest runs test programs side by side), removed with everything in it,
// side files that writers put beside their output among them, by the destructor.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& Path() const { return path; }
    // `name` (UTF-8, may hold folders) inside the folder: as a path, and as UTF-8 text for command lines.
    std::filesystem::path operator/(const std::string& name) const;
    std::string File(const std::string& name) const;

private:
    std::filesystem::path path;
};

// The whole file as bytes; empty when it cannot be read.
std::string ReadBytes(const std::filesystem::path& file);
// Writes `bytes` as the whole file, failing the test when it cannot.
void WriteBytes(const std::filesystem::path& file, std::string_view bytes);

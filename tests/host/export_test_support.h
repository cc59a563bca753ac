#pragma once

// What the palette export tests share: a scratch folder and the palette command run as from the command
// line.
#include <filesystem>
#include <string>
#include <vector>

namespace export_test {

// A fresh folder in the temporary directory, removed with everything in it by the destructor.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // The UTF-8 path of `name` inside the folder.
    std::string File(const std::string& name) const;

private:
    std::filesystem::path path;
};

struct CommandResult {
    int status = -1; // 2 for a usage error
    std::string out;
    std::string err;
};

// Parses `args` (what follows "palette") and runs the command when they parse.
CommandResult RunPalette(std::vector<std::string> args);

// A colour of the palette "chicky_512.png --colors 12" gives, from its golden file.
struct Expected {
    int red = 0, green = 0, blue = 0; // 8-bit, rounded to the nearest level
    double redFloat = 0, greenFloat = 0, blueFloat = 0;
    double percent = 0; // share of the samples
};
std::vector<Expected> GoldenChicky();

// The file that "chicky_512.png --colors 12 --format FORMAT -o FILE" writes into `folder`, as bytes.
std::string ExportChicky(const ScratchFolder& folder, const std::string& format);

// A path from UTF-8 text, on every platform.
std::filesystem::path PathFromUtf8(const std::string& text);

// The whole file as bytes; empty when it cannot be read.
std::string ReadBytes(const std::string& file);

} // namespace export_test

#pragma once

// What the palette export tests share: the palette command run as from the command line, and the golden
// palette it gives.
#include "scratch_folder.h"

#include <string>
#include <vector>

namespace export_test {

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

// The file that "chicky_512.png --colors 12 -o chicky.FORMAT" writes into `folder`, as bytes: the
// extension chooses the format.
std::string ExportChicky(const ScratchFolder& folder, const std::string& format);

} // namespace export_test

#pragma once

#include <ostream>
#include <string>

namespace host {

struct PaletteOptions {
    std::string image; // empty: the built-in picture
    int numColours = 10;
    int skipColours = 0;
    int harmony = -1; // -1: not asked; 0 "none" to 7
    int sort = -1;    // -1: not asked; 0 count to 4 value-desc
    bool json = false;
    bool colour = false; // coloured swatches in the table
};

// The command's help: usage, options and an example.
const char* PaletteUsage();

// Parses the arguments after "palette"; returns an error message, empty on success.
std::string ParsePaletteOptions(int argc, char** argv, int first, PaletteOptions& options);

// Extracts the palette a map with these settings holds (extraction, then harmonisation, then the sort) and
// prints it. Returns the exit status; an unreadable image gives a message on `err` and status 1.
int RunPaletteCommand(const PaletteOptions& options, std::ostream& out, std::ostream& err);

} // namespace host

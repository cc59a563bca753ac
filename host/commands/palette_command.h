#pragma once

#include "host/base/option_table.h"

#include <ostream>
#include <string>

namespace host {

enum class PaletteFormat { Text, Json, Gpl, Ase, Css, Png };

struct PaletteOptions {
    std::string image; // empty: the built-in picture
    int numColours = 10;
    int skipColours = 0;
    int harmony = -1; // -1: not asked; 0 "none" to 7
    int sort = -1;    // -1: not asked; 0 count to 4 value-desc
    PaletteFormat format = PaletteFormat::Text;
    bool formatGiven = false;    // --format or --json: an output's extension must agree with it
    std::string output;          // -o FILE (UTF-8); empty: standard output
    bool colour = false;         // coloured swatches in the table on standard output
    bool terminalOutput = false; // standard output is a terminal: binary formats are refused there
    bool help = false;           // --help: print PaletteUsage() and nothing else
};

// The command's options, setting `options`; "# colors" and "# colors skip" as the render command declares
// them.
OptionTable PaletteOptionTable(PaletteOptions& options);

// The usage of "chromasift palette": every option and an example.
const char* PaletteUsage();

// Parses the arguments after "palette"; returns an error message, empty on success. --help sets `help`.
std::string ParsePaletteOptions(int argc, char** argv, int first, PaletteOptions& options);

// Extracts the palette a map with these settings holds (extraction, then harmonisation, then the sort) and
// prints it or writes it to the output file in the chosen format. Returns the exit status; an unreadable
// image, an unwritable file or an empty palette to export give a message on `err` and status 1.
int RunPaletteCommand(const PaletteOptions& options, std::ostream& out, std::ostream& err);

} // namespace host

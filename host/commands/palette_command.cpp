#include "host/commands/palette_command.h"

#include "host/base/atomic_file.h"
#include "host/base/command_arguments.h"
#include "host/base/text.h"
#include "host/export/ase_file.h"
#include "host/export/css_file.h"
#include "host/export/gpl_file.h"
#include "host/export/palette_json.h"
#include "host/export/palette_table.h"
#include "host/export/swatch_sheet.h"
#include "host/import/builtin_picture.h"
#include "host/import/image_palette.h"

#include "palette/palette_sort.h"

#include <cstdlib>
#include <exception>
#include <memory>
#include <optional>

namespace host {

namespace {

const char* const kHarmonyNames[] = {"none", "i", "V", "L", "I", "T", "Y", "X"};
const char* const kSortNames[] = {"count", "hue", "value", "hue-desc", "value-desc"};
// In the order of PaletteFormat.
const char* const kFormatNames[] = {"text", "json", "gpl", "ase", "css", "png"};

const char* const kUsage = R"usage(Usage: chromasift palette [IMAGE] [OPTIONS]

Extracts the palette that a KR Chromasift map with these settings holds from IMAGE (default: a
built-in striped picture): extraction, then the colour harmony when asked, then the autosort when
asked. Prints it as a table, or exports it for paint and design programs.

Options:
  --colors N         "# colors": how many colours to keep, 1-100 (default 10).
  --skip N           "# colors skip": how many of the most frequent colours to drop, 0-30
                     (default 0).
  --harmony H        Colour harmony template: none, i, V, L, I, T, Y or X (default: none asked).
  --sort S           Autosort by count, hue, value, hue-desc or value-desc (default: the order
                     of extraction).
  --format F         What to write (default text):
                       text  a table: every entry's fields and its share of the samples
                       json  one JSON object: image and grid size, k-means passes, every entry
                       gpl   a GIMP palette, for GIMP, Inkscape and Krita
                       ase   an Adobe Swatch Exchange file (binary: needs -o)
                       css   CSS custom properties --chromasift-1 ... with each colour's share
                       png   a swatch sheet, 25 colours to a row, each with its share under it
                             (binary: needs -o)
  --json             The same as --format json.
  -o, --output FILE  Write to FILE instead of standard output.
  -h, --help         Show this help.

Examples:
  chromasift palette photo.jpg --colors 12 --sort hue
  chromasift palette photo.jpg --colors 12 --sort hue --format gpl -o photo.gpl
)usage";

template <std::size_t N> int FindName(const char* const (&names)[N], const std::string& name) {
    for (std::size_t i = 0; i < N; ++i)
        if (name == names[i])
            return static_cast<int>(i);
    return -1;
}

bool IsBinary(PaletteFormat format) {
    return format == PaletteFormat::Ase || format == PaletteFormat::Png;
}

std::string FormatBytes(const PaletteExport& palette, PaletteFormat format, bool colour) {
    switch (format) {
    case PaletteFormat::Json:
        return PaletteJson(palette);
    case PaletteFormat::Gpl:
        return GplFile(palette);
    case PaletteFormat::Ase:
        return AseFile(palette);
    case PaletteFormat::Css:
        return CssFile(palette);
    default:
        return PaletteTable(palette, colour);
    }
}

// The palette a map with these settings holds, or nothing after a message on `err`.
std::optional<PaletteExport> PaletteOfImage(const PaletteOptions& options, std::ostream& err) {
    // Without an image, the host's built-in picture: the command needs no input files.
    TemporaryPicture builtin;
    std::string image = options.image;
    if (image.empty()) {
        try {
            image = builtin.Path().string();
        } catch (const std::exception& e) {
            err << "chromasift: " << e.what() << "\n";
            return std::nullopt;
        }
    }
    ImagePalette extracted;
    try {
        extracted = ExtractImagePalette(image, options.numColours, options.skipColours, options.harmony);
    } catch (const std::exception& e) {
        err << "chromasift: " << e.what() << "\n";
        return std::nullopt;
    }
    PaletteExport palette;
    palette.source = options.image.empty() ? std::string("built-in picture") : options.image;
    palette.imageWidth = extracted.width;
    palette.imageHeight = extracted.height;
    palette.gridColumns = extracted.columns;
    palette.gridRows = extracted.rows;
    palette.iterations = static_cast<int>(extracted.result.iterations);
    palette.samples = extracted.samples;
    palette.palette = std::move(extracted.palette);
    if (options.sort >= 0)
        AutoSortPalette(palette.palette, options.sort);
    return palette;
}

} // namespace

const char* PaletteUsage() {
    return kUsage;
}

std::string ParsePaletteOptions(int argc, char** argv, int first, PaletteOptions& options) {
    const auto takesValue = [](const std::string& option) {
        return option == "--colors" || option == "--skip" || option == "--harmony" || option == "--sort" ||
               option == "--format" || option == "-o" || option == "--output";
    };
    for (const CommandArgument& argument : ReadCommandArguments(argc, argv, first, takesValue)) {
        const std::string& arg = argument.text;
        if (arg == "-h" || arg == "--help") {
            options.help = true;
            return std::string();
        } else if (arg == "--json") {
            options.format = PaletteFormat::Json;
        } else if (takesValue(arg)) {
            if (!argument.value)
                return arg + " needs a value";
            const std::string& value = *argument.value;
            int format = 0;
            if (arg == "--colors" && !ParseInt(value, 1, 100, options.numColours))
                return "--colors takes a number from 1 to 100, not '" + value + "'";
            if (arg == "--skip" && !ParseInt(value, 0, 30, options.skipColours))
                return "--skip takes a number from 0 to 30, not '" + value + "'";
            if (arg == "--harmony" && (options.harmony = FindName(kHarmonyNames, value)) < 0)
                return "--harmony takes none, i, V, L, I, T, Y or X, not '" + value + "'";
            if (arg == "--sort" && (options.sort = FindName(kSortNames, value)) < 0)
                return "--sort takes count, hue, value, hue-desc or value-desc, not '" + value + "'";
            if (arg == "--format" && (format = FindName(kFormatNames, value)) < 0)
                return "--format takes text, json, gpl, ase, css or png, not '" + value + "'";
            if (arg == "--format")
                options.format = static_cast<PaletteFormat>(format);
            if ((arg == "-o" || arg == "--output") && (options.output = value).empty())
                return arg + " needs a file name";
        } else if (argument.option) {
            return "unknown option '" + arg + "' for 'palette'";
        } else if (options.image.empty()) {
            options.image = arg;
        } else {
            return "'palette' takes one image, not also '" + arg + "'";
        }
    }
    if (IsBinary(options.format) && options.output.empty())
        return std::string("--format ") + kFormatNames[static_cast<int>(options.format)] +
               " writes a binary file: name it with -o FILE";
    return std::string();
}

int RunPaletteCommand(const PaletteOptions& options, std::ostream& out, std::ostream& err) {
    std::optional<PaletteExport> extracted = PaletteOfImage(options, err);
    if (!extracted)
        return 1;
    const PaletteExport& palette = *extracted;
    const bool exported = options.format != PaletteFormat::Text && options.format != PaletteFormat::Json;
    if (exported && palette.palette.empty()) {
        err << "chromasift: the palette of '" << palette.source << "' is empty: there is nothing to export\n";
        return 1;
    }
    try {
        if (options.format == PaletteFormat::Png) {
            SwatchSheet(palette).WritePng(PathFromUtf8(options.output));
            return 0;
        }
        const std::string bytes =
            FormatBytes(palette, options.format, options.colour && options.output.empty());
        // Files get the bytes unchanged (no CR added on Windows).
        if (options.output.empty())
            out << bytes;
        else
            WriteFileAtomically(PathFromUtf8(options.output), bytes);
    } catch (const std::exception& e) {
        err << "chromasift: " << e.what() << "\n";
        return 1;
    }
    return 0;
}

} // namespace host

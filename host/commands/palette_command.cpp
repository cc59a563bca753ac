#include "host/commands/palette_command.h"

#include "host/base/atomic_file.h"
#include "host/base/output_extension.h"
#include "host/base/text.h"
#include "host/export/ase_file.h"
#include "host/export/css_file.h"
#include "host/export/gpl_file.h"
#include "host/export/palette_json.h"
#include "host/export/palette_table.h"
#include "host/export/swatch_sheet.h"
#include "host/import/builtin_picture.h"
#include "host/import/image_palette.h"
#include "host/job/render_options.h"

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
// The extension of each format's files, in the same order.
const char* const kFormatExtensions[] = {"txt", "json", "gpl", "ase", "css", "png"};

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
    if (const std::string note = TransparencyNote(extracted, palette.source); !note.empty())
        err << "chromasift: note: " << note << "\n";
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

OptionTable PaletteOptionTable(PaletteOptions& options) {
    // "# colors" and "# colors skip" as the render command declares them, bounds and all.
    RenderOptions unused;
    const OptionTable render = RenderOptionTable(unused);
    const auto count = [&render](const std::string& name, std::string help, int& target) {
        const CommandOption& declared = *FindOption(render, name);
        return IntOption(declared.names, declared.value, *declared.bounds, std::move(help),
                         [&target](int value) { target = value; });
    };
    const auto named = [](auto& names, const char* list, int& target) {
        return [&names, list, &target](const std::string& name, const std::string& value) {
            const int found = FindName(names, value);
            if (found < 0)
                return name + " takes " + list + ", not '" + value + "'";
            target = found;
            return std::string();
        };
    };
    return OptionSection(
        "Options:",
        {
            count("--colors",
                  "\"# colors\": how many colours to keep, {low}-{high} (default " +
                      std::to_string(options.numColours) + ").",
                  options.numColours),
            count("--skip",
                  "\"# colors skip\": how many of the most frequent colours to drop, {low}-{high} (default " +
                      std::to_string(options.skipColours) + ").",
                  options.skipColours),
            ValueOption({"--harmony"}, "H",
                        "Colour harmony template: none, i, V, L, I, T, Y or X (default: none asked).",
                        named(kHarmonyNames, "none, i, V, L, I, T, Y or X", options.harmony)),
            ValueOption(
                {"--sort"}, "S",
                "Autosort by count, hue, value, hue-desc or value-desc (default: the order of extraction).",
                named(kSortNames, "count, hue, value, hue-desc or value-desc", options.sort)),
            ValueOption({"--format"}, "F",
                        "What to write (default text):\n"
                        "  text  a table: every entry's fields and its share of the samples\n"
                        "  json  one JSON object: image and grid size, k-means passes, every entry\n"
                        "  gpl   a GIMP palette, for GIMP, Inkscape and Krita\n"
                        "  ase   an Adobe Swatch Exchange file (binary: needs -o)\n"
                        "  css   CSS custom properties --chromasift-1 ... with each colour's share\n"
                        "  png   a swatch sheet, 25 colours to a row, each with its share under it (binary: "
                        "needs -o)",
                        [&options, named](const std::string& name, const std::string& value) {
                            int format = 0;
                            std::string error =
                                named(kFormatNames, "text, json, gpl, ase, css or png", format)(name, value);
                            if (error.empty()) {
                                options.format = static_cast<PaletteFormat>(format);
                                options.formatGiven = true;
                            }
                            return error;
                        }),
            ValueOption({"--json"}, "", "The same as --format json.",
                        [&options](const std::string&, const std::string&) {
                            options.format = PaletteFormat::Json;
                            options.formatGiven = true;
                            return std::string();
                        }),
            ValueOption({"-o", "--output"}, "FILE",
                        "Write to FILE instead of standard output, in the format its extension names "
                        "(.txt, .json, .gpl, .ase, .css or .png); a name without one, a device or a pipe "
                        "takes --format.",
                        [&options](const std::string& name, const std::string& value) {
                            options.output = value;
                            return value.empty() ? name + " needs a file name" : std::string();
                        }),
            SwitchOption({"-h", "--help"}, "Show this help.", options.help),
        });
}

const char* PaletteUsage() {
    static const std::string usage = [] {
        PaletteOptions defaults;
        const OptionTable table = PaletteOptionTable(defaults);
        return UsageLine("palette", "[IMAGE]", table) + R"usage(
Extracts the palette that a KR Chromasift map with these settings holds from IMAGE (default: a
built-in striped picture): extraction, then the colour harmony when asked, then the autosort when
asked. Prints it as a table, or exports it for paint and design programs.

)usage" + OptionsHelp(table) +
               R"usage(
Examples:
  chromasift palette photo.jpg --colors 12 --sort hue
  chromasift palette photo.jpg --colors 12 --sort hue --format gpl -o photo.gpl
)usage";
    }();
    return usage.c_str();
}

std::string ParsePaletteOptions(int argc, char** argv, int first, PaletteOptions& options) {
    const std::string error = ParseOptions(
        PaletteOptionTable(options), argc, argv, first, "palette", [&options](const std::string& image) {
            if (!options.image.empty())
                return "'palette' takes one image, not also '" + image + "'";
            options.image = image;
            return std::string();
        });
    // --help wins over whatever follows it.
    if (options.help)
        return std::string();
    if (!error.empty())
        return error;
    if (const std::string extension = OutputExtension(options.output); !extension.empty()) {
        const int named = FindName(kFormatExtensions, extension);
        if (named < 0)
            return ExtensionRefusal("palette", options.output, extension, kFormatExtensions);
        if (options.formatGiven && named != static_cast<int>(options.format))
            return std::string("--format ") + kFormatNames[static_cast<int>(options.format)] +
                   " contradicts -o " + options.output + ", whose extension asks for " + kFormatNames[named];
        options.format = static_cast<PaletteFormat>(named);
    }
    if (IsBinary(options.format) && options.output == kStandardOutputName && options.terminalOutput)
        return std::string("--format ") + kFormatNames[static_cast<int>(options.format)] +
               " is binary: -o - would write its bytes onto the terminal; redirect standard output or name a "
               "file";
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

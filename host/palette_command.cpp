#include "host/palette_command.h"

#include "host/render/builtin_picture.h"
#include "host/scene_json.h"
#include "host/text.h"

#include "hostsdk/bitmap.h"
#include "palette/extraction.h"
#include "palette/harmony.h"
#include "palette/palette_sort.h"
#include "palette/sample_grid.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace host {

namespace {

const char* const kHarmonyNames[] = {"none", "i", "V", "L", "I", "T", "Y", "X"};
const char* const kSortNames[] = {"count", "hue", "value", "hue-desc", "value-desc"};

bool ParseCount(const std::string& text, int low, int high, int& value) {
    char* end = nullptr;
    const long parsed = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != 0 || parsed < low || parsed > high)
        return false;
    value = static_cast<int>(parsed);
    return true;
}

template <std::size_t N> int FindName(const char* const (&names)[N], const std::string& name) {
    for (std::size_t i = 0; i < N; ++i)
        if (name == names[i])
            return static_cast<int>(i);
    return -1;
}

std::string StatusText(BMMRES status) {
    switch (status) {
    case BMMRES_FILENOTFOUND:
        return "file not found";
    case BMMRES_MEMORYERROR:
        return "the image is too large";
    case BMMRES_NODRIVER:
        return "this build cannot read that kind of image";
    case BMMRES_IOERROR:
        return "the file cannot be read";
    case BMMRES_INVALIDFORMAT:
        return "not an image file";
    case BMMRES_CORRUPTFILE:
        return "the image is damaged or truncated";
    default:
        return "error " + std::to_string(status);
    }
}

} // namespace

const char* PaletteUsage() {
    return R"usage(Usage: chromasift palette [IMAGE] [--colors N] [--skip N] [--harmony none|i|V|L|I|T|Y|X]
                          [--sort count|hue|value|hue-desc|value-desc] [--json]

Prints the palette that a map with these settings holds: extraction ("# colors" N, 1-100,
default 10; "# colors skip" N, 0-30, default 0), then the colour harmony when asked, then the
autosort when asked. A table with colour swatches, or with --json one JSON object (image and
grid size, k-means passes, and every entry's fields). Without IMAGE, the host's built-in picture.

Example:
  chromasift palette photo.jpg --colors 8 --skip 1 --harmony V --sort hue
)usage";
}

std::string ParsePaletteOptions(int argc, char** argv, int first, PaletteOptions& options) {
    for (int i = first; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--json") {
            options.json = true;
        } else if (arg == "--colors" || arg == "--skip" || arg == "--harmony" || arg == "--sort") {
            if (!hasValue)
                return arg + " needs a value";
            const std::string value = argv[++i];
            if (arg == "--colors" && !ParseCount(value, 1, 100, options.numColours))
                return "--colors takes a number from 1 to 100, not '" + value + "'";
            if (arg == "--skip" && !ParseCount(value, 0, 30, options.skipColours))
                return "--skip takes a number from 0 to 30, not '" + value + "'";
            if (arg == "--harmony" && (options.harmony = FindName(kHarmonyNames, value)) < 0)
                return "--harmony takes none, i, V, L, I, T, Y or X, not '" + value + "'";
            if (arg == "--sort" && (options.sort = FindName(kSortNames, value)) < 0)
                return "--sort takes count, hue, value, hue-desc or value-desc, not '" + value + "'";
        } else if (arg.rfind("--", 0) == 0) {
            return "unknown option '" + arg + "' for 'palette'";
        } else if (options.image.empty()) {
            options.image = arg;
        } else {
            return "'palette' takes one image, not also '" + arg + "'";
        }
    }
    return std::string();
}

int RunPaletteCommand(const PaletteOptions& options, std::ostream& out, std::ostream& err) {
    // Without an image, the host's built-in picture: the command needs no input files.
    TemporaryPicture builtin;
    std::string image = options.image;
    if (image.empty()) {
        try {
            image = builtin.Path().string();
        } catch (const std::exception& e) {
            err << "chromasift: " << e.what() << "\n";
            return 1;
        }
    }
    BitmapInfo info;
    const std::wstring name = FromUtf8(image);
    info.SetName(name.c_str());
    BMMRES status = 0;
    BitmapPtr bitmap(TheManager->Load(&info, &status));
    if (status != 0 || bitmap == nullptr) {
        err << "chromasift: cannot read the image '" << image << "': " << StatusText(status) << "\n";
        return 1;
    }

    // The same steps, on the same recorded size, as the map's extraction.
    const GridLayout layout = LayoutSampleGrid(info.Width(), info.Height());
    const Bitmap* pixels = bitmap.get();
    const SampleGrid grid = BuildSampleGrid(info.Width(), info.Height(), [pixels](int x, int y) {
        BMM_Color_fl pixel;
        if (pixels->GetLinearPixels(x, y, 1, &pixel) == 0)
            return AColor(0.0f, 0.0f, 0.0f, 0.0f);
        return AColor(pixel.r, pixel.g, pixel.b, pixel.a);
    });
    ExtractionResult result = ExtractPaletteFromGrid(grid, static_cast<uint32_t>(options.numColours),
                                                     static_cast<uint32_t>(options.skipColours));
    Palette palette = std::move(result.palette);
    if (options.harmony >= 0 && !palette.empty())
        if (std::optional<Palette> harmonised = HarmonisePalette(result.extractedPalette, options.harmony))
            palette = std::move(*harmonised);
    if (options.sort >= 0)
        AutoSortPalette(palette, options.sort);

    if (options.json) {
        Json entries = Json::array();
        for (const PaletteEntry& e : palette)
            entries.push_back({{"red", e.red},
                               {"green", e.green},
                               {"blue", e.blue},
                               {"alpha", e.alpha},
                               {"hue", e.hue},
                               {"saturation", e.saturation},
                               {"value", e.value},
                               {"count", e.count},
                               {"sortMode", e.sortMode}});
        Json document = {{"width", info.Width()},           {"height", info.Height()},
                         {"columns", layout.columns},       {"rows", layout.rows},
                         {"iterations", result.iterations}, {"palette", std::move(entries)}};
        out << document.dump(2) << "\n";
        return 0;
    }

    out << (options.image.empty() ? std::string("built-in picture") : options.image) << ": " << info.Width()
        << " x " << info.Height() << " pixels, sampled " << layout.columns << " x " << layout.rows
        << ", k-means passes: " << result.iterations << "\n";
    out << (options.colour ? "       " : "")
        << "  #   colour     red  green   blue  alpha    hue    sat  value   count\n";
    const double samples = static_cast<double>(grid.Count());
    for (std::size_t i = 0; i < palette.size(); ++i) {
        const PaletteEntry& e = palette[i];
        char line[160];
        if (options.colour)
            out << "\x1b[48;2;" << e.red / 257 << ";" << e.green / 257 << ";" << e.blue / 257
                << "m      \x1b[0m ";
        std::snprintf(line, sizeof line,
                      "%3zu  #%02x%02x%02x  %5u  %5u  %5u  %5u  %5d  %5d  %5d  %6u (%.1f%%)\n", i,
                      e.red / 257, e.green / 257, e.blue / 257, e.red, e.green, e.blue, e.alpha, e.hue,
                      e.saturation, e.value, e.count, samples > 0 ? 100.0 * e.count / samples : 0.0);
        out << line;
    }
    if (palette.empty())
        out << "(empty palette)\n";
    return 0;
}

} // namespace host

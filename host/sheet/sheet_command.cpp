#include "host/sheet/sheet_command.h"

#include "host/base/atomic_file.h"
#include "host/base/progress_display.h"
#include "host/base/text.h"
#include "host/draw/canvas.h"
#include "host/draw/font.h"
#include "host/draw/png_file.h"
#include "host/export/palette_export.h"
#include "host/import/image_palette.h"
#include "host/job/render_source.h"
#include "host/render/scene_renderer.h"
#include "host/scene/map_settings.h"
#include "host/scene/scene_checks.h"
#include "host/scene/scene_file.h"
#include "host/sheet/sheet_layout.h"
#include "host/sheet/sheet_maps.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace host {

namespace {

constexpr Rgba8 kBackground{34, 34, 38, 255};
constexpr Rgba8 kCellBackground{58, 58, 64, 255};
constexpr Rgba8 kText{232, 232, 232, 255};
constexpr Rgba8 kDimText{160, 160, 166, 255};

void DrawPaletteStrip(Canvas& canvas, const SheetLayout& layout, const ImagePalette& extracted) {
    const Font& font = Font::Default();
    const Palette& palette = extracted.palette;
    const int x = layout.StripX(), y = layout.StripY();
    const int line = static_cast<int>(layout.textHeight * 1.5f);
    font.Draw(canvas, x, y, "Palette", layout.textHeight, kText);
    if (palette.empty()) {
        font.Draw(canvas, x, y + line, "(empty)", layout.textHeight, kDimText);
        return;
    }
    const int top = y + line;
    const int count = static_cast<int>(palette.size());
    const int pitch = std::max(1, (layout.StripHeight() - line) / count);
    const int swatch = static_cast<int>(layout.textHeight * 2.2f);
    const float small = std::max(11.0f, std::min(layout.textHeight, static_cast<float>(pitch) * 0.8f));
    const bool labelled = pitch >= 11;
    for (int i = 0; i < count; ++i) {
        const PaletteEntry& e = palette[static_cast<std::size_t>(i)];
        const Rgba8 colour{Byte8(e.red), Byte8(e.green), Byte8(e.blue), 255};
        const int rowY = top + i * pitch;
        canvas.FillRect(x, rowY, swatch, std::max(1, pitch - (pitch > 4 ? 1 : 0)), colour);
        if (!labelled)
            continue;
        const std::string text = HexColour(e) + " " + SharePercent(e, extracted.samples);
        font.Draw(canvas, x + swatch + 6, rowY + (pitch - static_cast<int>(small * 1.2f)) / 2, text, small,
                  kText);
    }
}

// A cell's picture, and the note under it.
struct SheetCell {
    FrameBuffer frame;
    std::string note;
};

// Renders the scene in `mode` (combined number), which the maps were switched to, with the coordinates and
// tile numbers fitted to the model as the mode needs them unless the scene's own are asked for. The note is
// told while the fitted tile numbers are there.
SheetCell RenderCell(SceneRoot& scene, SheetMaps& maps, int mode, RenderSettings settings,
                     const SheetOptions& options) {
    // Fitted in the coordinate system the mode switch has just chosen ("As Tiles" reads the map channel).
    if (!options.sceneCoordinates && ReadsCoordinates(mode))
        maps.FitCoordinates(settings.renderer);
    // Tile numbers are written for the cells that read them alone, so the other cells render the model as
    // it is.
    const bool fitTiles = !options.sceneCoordinates && ReadsTileNumbers(mode);
    if (fitTiles)
        maps.FitTileNumbers();
    settings.width = options.render.width;
    settings.height = options.render.height;
    settings.threads = options.render.threads;
    settings.unlit = options.render.unlit;
    SheetCell cell{RenderScene(scene, settings), maps.Note(mode, settings.renderer)};
    if (fitTiles)
        maps.RestoreTileNumbers();
    return cell;
}

// Draws a cell: its picture on the cell's grey, its label and its note.
void DrawCell(Canvas& canvas, const SheetLayout& layout, int index, const SheetCell& cell,
              const std::string& label) {
    const Font& font = Font::Default();
    const FrameBuffer& frame = cell.frame;
    const int x = layout.CellX(index), y = layout.CellY(index);
    canvas.FillRect(x, y, layout.cellWidth, layout.cellHeight, kCellBackground);
    // Pixels where no surface was hit are transparent in the frame: the cell's grey shows through.
    const std::vector<std::uint8_t> rgba = ToRgba8(frame);
    for (int row = 0; row < frame.height; ++row)
        for (int column = 0; column < frame.width; ++column) {
            const std::uint8_t* p = &rgba[(static_cast<std::size_t>(row) * frame.width + column) * 4];
            canvas.Blend(x + column, y + row, Rgba8{p[0], p[1], p[2], 255}, p[3]);
        }
    font.Draw(canvas, x, layout.LabelY(index), font.Fit(label, layout.textHeight, layout.cellWidth),
              layout.textHeight, kText);
    if (!cell.note.empty())
        font.Draw(canvas, x, layout.NoteY(index), font.Fit(cell.note, layout.noteHeight, layout.cellWidth),
                  layout.noteHeight, kDimText);
}

// Draws the strip of the palette a map with these settings holds; returns what the summary says of it, or
// empty after a warning on `err` when the palette cannot be extracted.
std::string DrawPaletteStripOf(const MapPalette& settings, Canvas& canvas, const SheetLayout& layout,
                               std::ostream& err) {
    try {
        const ImagePalette extracted =
            ExtractImagePalette(settings.bitmap, settings.colours, settings.skip, settings.harmony);
        DrawPaletteStrip(canvas, layout, extracted);
        return ", palette of " + std::to_string(extracted.palette.size()) + " colours";
    } catch (const std::exception& e) {
        err << "chromasift: warning: no palette strip: " << e.what() << "\n";
        return std::string();
    }
}

void DrawTitle(Canvas& canvas, const SheetLayout& layout, const std::string& scene) {
    const std::string source =
        scene.empty() ? std::string("built-in scene") : std::filesystem::path(scene).filename().string();
    Font::Default().Draw(canvas, layout.margin, layout.margin / 2,
                         "KR Chromasift: " + source + ", every distribution mode", layout.textHeight * 1.1f,
                         kText);
}

} // namespace

OptionTable SheetOptionTable(SheetOptions& options) {
    OptionTable table = RenderOptionTable(options.render);
    // Refused in the sheet's own words, and left out of its help.
    RefuseOptions(
        table,
        {
            {"--mode", "'sheet' renders every mode: it takes no --mode"},
            {"--print-shader",
             "'sheet' prints no shaders: use 'chromasift render --renderer mentalray --print-shader'"},
            {"--frames",
             "'sheet' draws one frame: use --frame F, or 'chromasift render --frames A-B' for a range"},
            {"--skip-existing",
             "'sheet' draws one frame: --skip-existing is for 'chromasift render --frames'"},
        });
    FindOption(table, "--frame")->help =
        "Draw the sheet at frame F ({low} to {high}), with the time slider moved to F.";
    CommandOption coordinates = SwitchOption(
        {"--scene-coordinates"},
        "Keep the scene's own coordinate offsets, scales and angles instead, and its own tile numbers (none "
        "on a model without them).",
        options.sceneCoordinates);
    coordinates.section = "Sheet:";
    table.push_back(coordinates);
    return table;
}

const char* SheetUsage() {
    static const std::string usage = [] {
        SheetOptions defaults;
        const OptionTable table = SheetOptionTable(defaults);
        return UsageLine("sheet", "[SCENE.json | MODEL]", table) + R"usage(
Renders the scene in all seventeen distribution modes and writes one contact sheet: a grid of
labelled pictures, one a mode in the rollout's order, beside the palette the map holds (each
colour with its hex value and its share of the image's samples). "VRay Instance (rnd)" is
rendered with the V-Ray stand-in, since only V-Ray gives instance numbers; the other modes with
--renderer (scanline, vray or mentalray). It takes the options of 'chromasift render' but those of
one mode or of a sequence (--mode, --print-shader, --frames, --skip-existing); --size gives the size
of each picture.

The coordinate modes ("1D Mapping", "2D Mapping", "3D Mapping", "As Tiles") spread the palette
over coordinates 0 to 1. For them the sheet sets the map's coordinate offsets and scales so that
the coordinates the map reads (object XYZ, a map channel, vertex colours or world XYZ) run from 0
to 1 across the model's bounds, whatever its size and place. The tile modes ("BerconTile(Lin)",
"BerconTile(Rnd)") read the tile numbers a tile map leaves in map channel 99; on a model without
them the sheet numbers the faces on a grid of 6 x 6 tiles over the model's bounds.

A mode that can show only one colour on the model says why under its label, and on a line of the
command's output: for example "Per Element" on objects that are each one piece ("one colour: one
element per object"), or "Material ID" on a model of one material ("one colour: one material ID").

)usage" + OptionsHelp(table) +
               R"usage(
Example:
  chromasift sheet model.obj --bitmap photo.jpg --colors 12 -o sheet.png
)usage";
    }();
    return usage.c_str();
}

std::string ParseSheetOptions(int argc, char** argv, int first, SheetOptions& options) {
    return ParseRenderCommand(SheetOptionTable(options), argc, argv, first, options.render, "sheet");
}

int RunSheetCommand(const SheetOptions& sheetOptions, const PluginManager& plugins, std::ostream& out,
                    std::ostream& err, bool showProgress) {
    const RenderOptions& options = sheetOptions.render;
    TemporaryPicture picture;
    try {
        int maps = 0;
        RenderSource read = RenderSceneSource(options, picture, maps);
        std::string warning;
        CheckMapsInstalled(maps, options, plugins, warning);
        if (!warning.empty())
            err << "chromasift: warning: " << warning << "\n";

        const std::vector<MapMode>& modes = MapModes();
        const int cells = static_cast<int>(modes.size());
        const SheetLayout layout = LayOutSheet(cells, options.width, options.height);
        Canvas canvas(layout.Width(), layout.Height(), kBackground);

        ProgressDisplay display(err, showProgress, "Rendering the sheet");
        const auto start = std::chrono::steady_clock::now();
        // The scene is read once, so its maps extract their palettes once; each cell only switches mode.
        const std::unique_ptr<SceneRoot> scene = SceneFromSource(read, RenderSceneOrigin(options), plugins);
        CheckSceneBeforeRender(*scene, RenderSceneOrigin(options), options.allowMissing, err);
        const std::optional<MapPalette> stripPalette = LoadedMapPalette(*scene);
        MapModeSwitch modeSwitch(*scene);
        // As for a single render: the frame is where the time slider stands, which the map's shading reads.
        if (options.frame)
            GetCOREInterface()->SetTime(FramesToTicks(*options.frame));
        SheetMaps sheetMaps(*scene, GetCOREInterface()->GetTime());
        std::string notes;
        for (int cell = 0; cell < cells; ++cell) {
            const MapMode& mode = modes[static_cast<std::size_t>(cell)];
            modeSwitch.Set(mode);

            RenderSettings settings;
            const bool instances = mode.keys == distribution::Key::RendererInstances;
            settings.renderer = instances ? RendererKind::VRay : options.renderer;
            settings.progress = [&display, cell, cells](int done, int total) {
                display.Update(cell * total + done, cells * total);
            };
            const SheetCell drawn = RenderCell(*scene, sheetMaps, mode.combined, settings, sheetOptions);
            std::string label = mode.label;
            if (settings.renderer != options.renderer || options.renderer != RendererKind::Scanline)
                label += std::string(" (") + RendererName(settings.renderer) + ")";
            DrawCell(canvas, layout, cell, drawn, label);
            if (!drawn.note.empty())
                notes += "  " + label + ": " + drawn.note + "\n";
        }
        display.Finish();

        const std::string paletteNote =
            stripPalette ? DrawPaletteStripOf(*stripPalette, canvas, layout, err) : "";
        DrawTitle(canvas, layout, options.scene);
        canvas.WritePng(PathFromUtf8(options.output));
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        char summary[200];
        std::snprintf(summary, sizeof summary, ": %d modes on %d x %d pixels (cells of %d x %d)%s, %.2f s\n",
                      cells, canvas.Width(), canvas.Height(), options.width, options.height,
                      paletteNote.c_str(), seconds);
        // With the sheet on standard output, the words go to standard error.
        (options.output == kStandardOutputName ? err : out) << options.output << summary << notes;
        return 0;
    } catch (const std::exception& e) {
        err << "chromasift: " << e.what() << "\n";
        return 1;
    }
}

} // namespace host

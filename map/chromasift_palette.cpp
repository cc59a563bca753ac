// The map's palette operations: the host side of extraction, sorting and harmonisation. The algorithms
// are plain functions of palette/; these methods read the parameters, call them and store the result.
#include "map/chromasift.h"

#include "palette/extraction.h"
#include "palette/harmony.h"
#include "palette/palette_sort.h"
#include "palette/sample_grid.h"
#include "plugin/param_ids.h"

#include <memory>
#include <optional>

Chromasift::ColourCounts Chromasift::ReadColourCounts() const {
    if (pblock == nullptr)
        return ColourCounts{1, 0};
    return ColourCounts{static_cast<std::uint32_t>(pblock->GetInt(pb_num_colors, 0)),
                        static_cast<std::uint32_t>(pblock->GetInt(pb_skip_colors, 0))};
}

void Chromasift::ExtractPalette(BitmapInfo& info, std::uint32_t numColours, std::uint32_t skipColours) {
    sourceSamples.reset();
    ReextractPalette(info, numColours, skipColours);
}

void Chromasift::ReextractPalette(BitmapInfo& info, std::uint32_t numColours, std::uint32_t skipColours) {
    const MCHAR* name = info.Name();
    const MSTR fileName = name == nullptr ? MSTR() : MSTR(name);
    const std::optional<FileStamp> stamp = StampOf(fileName);
    if (!sourceSamples || sourceSamples->fileName != fileName || !stamp || sourceSamples->stamp != *stamp) {
        sourceSamples.reset();
        BMMRES status = 0;
        BitmapPtr bitmap(TheManager->Load(&info, &status));
        if (status != 0) {
            Interface* core = GetCOREInterface();
            if (!core->GetQuietMode())
                MessageBoxW(core->GetMAXHWnd(), L"Error loading bitmap.", L"Error", MB_OK | MB_ICONSTOP);
            return;
        }
        const Bitmap* pixels = bitmap.get();
        // A file that could not be stamped is read again next time.
        sourceSamples =
            SourceSamples{fileName, stamp.value_or(FileStamp{}),
                          BuildSampleGrid(info.Width(), info.Height(), [pixels](int x, int y) {
                              BMM_Color_fl pixel;
                              if (pixels == nullptr || pixels->GetLinearPixels(x, y, 1, &pixel) == 0)
                                  return AColor(0.0f, 0.0f, 0.0f, 0.0f);
                              return AColor(pixel.r, pixel.g, pixel.b, pixel.a);
                          })};
    }
    if (pblock != nullptr)
        pblock->SetValue(pb_is_harmonized, GetCOREInterface()->GetTime(), 0);
    ExtractionResult result = ExtractPaletteFromGrid(sourceSamples->grid, numColours, skipColours);
    extractedPalette = std::move(result.extractedPalette);
    SetPalette(std::move(result.palette));
}

void Chromasift::HarmonisePalette() {
    if (GetPalette()->empty())
        return;
    const TimeValue now = GetCOREInterface()->GetTime();
    if (pblock == nullptr)
        return;
    pblock->SetValue(pb_is_harmonized, now, 1);
    if (std::optional<Palette> harmonised =
            ::HarmonisePalette(extractedPalette, pblock->GetInt(pb_harmony, now)))
        SetPalette(std::move(*harmonised));
}

void Chromasift::AutoSortPalette() {
    if (pblock == nullptr)
        return;
    Palette sorted = *GetPalette();
    ::AutoSortPalette(sorted, pblock->GetInt(pb_sort, GetCOREInterface()->GetTime()));
    SetPalette(std::move(sorted));
}

#include "host/import/image_palette.h"

#include "host/base/text.h"
#include "host/import/bitmap_status.h"

#include "hostsdk/bitmap.h"
#include "palette/harmony.h"
#include "palette/sample_grid.h"

#include <optional>
#include <stdexcept>

namespace host {

ImagePalette ExtractImagePalette(const std::string& image, int colours, int skip, int harmony) {
    BitmapInfo info;
    const std::wstring name = FromUtf8(image);
    info.SetName(name.c_str());
    BMMRES status = 0;
    BitmapPtr bitmap(TheManager->Load(&info, &status));
    if (status != 0 || bitmap == nullptr)
        throw std::runtime_error("cannot read the image '" + image + "': " + ImageLoadProblem(image, status));

    // The same steps, on the same recorded size, as the map's extraction.
    ImagePalette extracted;
    extracted.width = info.Width();
    extracted.height = info.Height();
    const GridLayout layout = LayoutSampleGrid(info.Width(), info.Height());
    extracted.columns = static_cast<int>(layout.columns);
    extracted.rows = static_cast<int>(layout.rows);
    const Bitmap* pixels = bitmap.get();
    std::uint32_t transparent = 0;
    const SampleGrid grid =
        BuildSampleGrid(info.Width(), info.Height(), [pixels, &transparent](int x, int y) {
            BMM_Color_fl pixel;
            if (pixels->GetLinearPixels(x, y, 1, &pixel) == 0)
                return AColor(0.0f, 0.0f, 0.0f, 0.0f);
            transparent += pixel.a <= 0.0f ? 1 : 0;
            return AColor(pixel.r, pixel.g, pixel.b, pixel.a);
        });
    extracted.transparentSamples = transparent;
    extracted.samples = static_cast<std::uint32_t>(grid.Count());
    extracted.result =
        ExtractPaletteFromGrid(grid, static_cast<std::uint32_t>(colours), static_cast<std::uint32_t>(skip));
    extracted.palette = extracted.result.palette;
    if (harmony >= 0 && !extracted.palette.empty())
        if (std::optional<Palette> harmonised = HarmonisePalette(extracted.result.extractedPalette, harmony))
            extracted.palette = std::move(*harmonised);
    return extracted;
}

std::string TransparencyNote(const ImagePalette& extracted, const std::string& source) {
    if (extracted.samples == 0 || 2 * std::uint64_t{extracted.transparentSamples} <= extracted.samples)
        return std::string();
    const auto percent = 100 * std::uint64_t{extracted.transparentSamples} / extracted.samples;
    return source + ": " + std::to_string(percent) +
           "% of the samples are fully transparent; they count with the colour they hold, which --skip 1 "
           "leaves out when it is the most common";
}

} // namespace host

// The map's palette operations: the host side of extraction, sorting and harmonisation.
#include "map/chromasift.h"

#include "plugin/param_ids.h"

#include <memory>

namespace {

struct BitmapDeleter {
    void operator()(Bitmap* bitmap) const { bitmap->DeleteThis(); }
};

} // namespace

void Chromasift::ExtractPalette(BitmapInfo& info, std::uint32_t, std::uint32_t) {
    BMMRES status = 0;
    std::unique_ptr<Bitmap, BitmapDeleter> bitmap(TheManager->Load(&info, &status));
    if (status != 0) {
        Interface* core = GetCOREInterface();
        if (!core->GetQuietMode())
            MessageBoxW(core->GetMAXHWnd(), L"Error loading bitmap.", L"Error", MB_OK | MB_ICONSTOP);
        return;
    }
    if (pblock != nullptr)
        pblock->SetValue(pb_is_harmonized, GetCOREInterface()->GetTime(), 0);
}

void Chromasift::HarmonisePalette() {}

void Chromasift::AutoSortPalette() {}

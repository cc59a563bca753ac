// The map's Update and Clone: where a chosen bitmap turns into a source map and a palette.
#include "map/chromasift.h"

#include "plugin/param_ids.h"
#include "plugin/plugin_main.h"

BitmapTex* Chromasift::NewSourceMap(const BitmapInfo& info) {
    BitmapTex* texture = NewDefaultBitmapTex();
    const MCHAR* name = info.Name();
    texture->SetName(name == nullptr ? MSTR() : MSTR(name));
    texture->SetMapName(name, false);
    return texture;
}

void Chromasift::Update(TimeValue t, Interval& valid) {
    if (extractPending) {
        PBBitmap* bitmap = nullptr;
        Interval bitmapValid = FOREVER;
        if (pblock != nullptr)
            pblock->GetValue(pb_bitmap, 0, bitmap, bitmapValid);
        if (bitmap != nullptr) {
            const ColourCounts counts = ReadColourCounts();
            SetSubTexmap(kSubMapSource, NewSourceMap(bitmap->bi));
            ExtractPalette(bitmap->bi, counts.numColours, counts.skipColours);
            GetChromasiftDesc()->InvalidateUI();
        }
        extractPending = false;
    }
    for (int i = 0; i < NumSubTexmaps(); ++i)
        if (Texmap* sub = GetSubTexmap(i))
            sub->Update(t, valid);
    if (coords != nullptr)
        coords->Update(t, valid);
    if (output != nullptr)
        output->Update(t, valid);
}

RefTargetHandle Chromasift::Clone(RemapDir& remap) {
    auto* copy = new Chromasift(true);
    for (int i = 0; i < NumRefs(); ++i) {
        RefTargetHandle target = GetReference(i);
        copy->ReplaceReference(i, target == nullptr ? nullptr : remap.CloneRef(target));
    }
    static_cast<MtlBase&>(*copy) = *this;
    BaseClone(this, copy, remap);

    // The palette is never copied: the clone extracts its own from the same bitmap.
    if (IParamBlock2* block = copy->pblock) {
        PBBitmap* bitmap = block->GetBitmap(pb_bitmap, 0);
        const ColourCounts counts = copy->ReadColourCounts();
        if (bitmap != nullptr) {
            copy->ExtractPalette(bitmap->bi, counts.numColours, counts.skipColours);
            if (pblock != nullptr && pblock->GetInt(pb_is_harmonized, 0) != 0)
                copy->HarmonisePalette();
        }
    }
    return copy;
}

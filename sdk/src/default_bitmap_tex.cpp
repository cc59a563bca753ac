#include "hostsdk/bitmap.h"
#include "hostsdk/tex_gen.h"

#include <cmath>
#include <memory>

namespace {

// The host's bitmap texture: an image file looked up by map channel 1, repeated in U and V.
class DefaultBitmapTex : public BitmapTex {
public:
    Class_ID ClassID() override { return BMTEX_CLASS_ID; }
    void GetClassName(MSTR& name) override { name = L"Bitmap"; }

    void SetMapName(const MCHAR* name, bool) override {
        mapName = name == nullptr ? MSTR() : MSTR(name);
        image.reset();
        loaded = false;
    }
    const MCHAR* GetMapName() override { return mapName.c_str(); }

    AColor EvalColor(ShadeContext& sc) override {
        const Bitmap* bitmap = Image();
        if (bitmap == nullptr || bitmap->Width() <= 0 || bitmap->Height() <= 0)
            return AColor(0.0f, 0.0f, 0.0f, 0.0f);
        const Point3 uvw = sc.UVW(1);
        const float u = uvw.x - std::floor(uvw.x);
        const float v = uvw.y - std::floor(uvw.y);
        if (!std::isfinite(u) || !std::isfinite(v))
            return AColor(0.0f, 0.0f, 0.0f, 0.0f);
        const int x =
            std::min(static_cast<int>(u * static_cast<float>(bitmap->Width())), bitmap->Width() - 1);
        // Image rows run top down; V runs bottom up.
        const int y = std::min(static_cast<int>((1.0f - v) * static_cast<float>(bitmap->Height())),
                               bitmap->Height() - 1);
        BMM_Color_fl pixel{0.0f, 0.0f, 0.0f, 0.0f};
        bitmap->GetLinearPixels(x, y, 1, &pixel);
        return AColor(pixel.r, pixel.g, pixel.b, pixel.a);
    }
    Point3 EvalNormalPerturb(ShadeContext&) override { return Point3(); }
    int GetTextureTiling() override { return U_WRAP | V_WRAP; }

    void Update(TimeValue, Interval&) override { Image(); }
    void Reset() override { SetMapName(L"", false); }
    Interval Validity(TimeValue) override { return FOREVER; }
    ParamDlg* CreateParamDlg(HWND, IMtlParams*) override { return new ThingParamDlg(ClassID(), this); }

    RefTargetHandle Clone(RemapDir& remap) override {
        auto* copy = new DefaultBitmapTex();
        copy->MtlBase::operator=(*this);
        copy->SetMapName(mapName.c_str(), false);
        BaseClone(this, copy, remap);
        return copy;
    }

private:
    const Bitmap* Image() {
        if (!loaded && !mapName.empty()) {
            loaded = true;
            BitmapInfo info;
            info.SetName(mapName.c_str());
            BMMRES status = 0;
            image.reset(TheManager->Load(&info, &status));
        }
        return image.get();
    }

    MSTR mapName;
    bool loaded = false;
    BitmapPtr image;
};

} // namespace

BitmapTex* NewDefaultBitmapTex() {
    return new DefaultBitmapTex();
}

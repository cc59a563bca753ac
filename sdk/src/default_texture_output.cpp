#include "hostsdk/tex_gen.h"

#include "standard_rollouts.h"

namespace {

// The host's standard output filter. At its defaults (output level 1, no invert) it returns every value
// unchanged.
class DefaultTextureOutput : public TextureOutput {
public:
    Class_ID ClassID() override { return STDTEXOUT_CLASS_ID; }
    void GetClassName(MSTR& name) override { name = L"Output"; }

    AColor Filter(AColor c) override {
        // The defaults leave every channel as it is: shading calls this for every sample.
        if (unchanged)
            return c;
        c.r = Channel(c.r);
        c.g = Channel(c.g);
        c.b = Channel(c.b);
        return c;
    }
    float Filter(float f) override { return Channel(f); }
    Point3 Filter(Point3 p) override { return Point3(Channel(p.x), Channel(p.y), Channel(p.z)); }

    float GetOutputLevel(TimeValue) override { return outputLevel; }
    void SetOutputLevel(TimeValue, float level) override {
        outputLevel = level;
        NoteDefaults();
    }
    void SetInvert(BOOL on) override {
        invert = on;
        NoteDefaults();
    }
    BOOL GetInvert() override { return invert; }

    void Update(TimeValue, Interval&) override {}
    void Reset() override {
        outputLevel = 1.0f;
        invert = FALSE;
        unchanged = true;
    }
    Interval Validity(TimeValue) override { return FOREVER; }
    ParamDlg* CreateParamDlg(HWND, IMtlParams* params) override { return CreateOutputDlg(*this, params); }

    RefTargetHandle Clone(RemapDir& remap) override {
        auto* copy = new DefaultTextureOutput();
        copy->MtlBase::operator=(*this);
        copy->outputLevel = outputLevel;
        copy->invert = invert;
        copy->unchanged = unchanged;
        BaseClone(this, copy, remap);
        return copy;
    }

private:
    float Channel(float v) const {
        if (invert)
            v = 1.0f - v;
        return outputLevel == 1.0f ? v : v * outputLevel;
    }
    void NoteDefaults() { unchanged = !invert && outputLevel == 1.0f; }

    float outputLevel = 1.0f;
    BOOL invert = FALSE;
    bool unchanged = true; // no invert and level 1
};

} // namespace

TextureOutput* GetNewDefaultTextureOutput() {
    return new DefaultTextureOutput();
}

#include "hostsdk/tex_gen.h"

#include "standard_rollouts.h"

#include <cmath>

namespace {

// The host's standard 3D coordinate generator: object XYZ by default, offsets 0, scales 1, angles 0.
class DefaultXYZGen : public StdXYZGen {
public:
    Class_ID ClassID() override { return STDXYZGEN_CLASS_ID; }
    void GetClassName(MSTR& name) override { name = L"XYZGen"; }

    void GetXYZ(ShadeContext& sc, Point3& p, Point3& dp) override {
        // Each source transformed on its own path: shading asks for a point on every sample.
        if (coordSystem == UVW_COORDS || coordSystem == UVW2_COORDS)
            p = Transform(sc.UVW(coordSystem == UVW2_COORDS ? 0 : mapChannel));
        else
            p = Transform(sc.PObj());
        dp = Point3();
    }

    void SetCoordSystem(int system) override {
        coordSystem = system;
        ShowChangedSettings(this);
    }
    int GetCoordSystem() override { return coordSystem; }
    void SetOffs(int axis, float value, TimeValue) override { offsets[Axis(axis)] = value; }
    float GetOffs(int axis, TimeValue) override { return offsets[Axis(axis)]; }
    void SetScl(int axis, float value, TimeValue) override { scales[Axis(axis)] = value; }
    float GetScl(int axis, TimeValue) override { return scales[Axis(axis)]; }
    void SetAng(int axis, float value, TimeValue) override {
        angles[Axis(axis)] = value;
        rotated = angles[0] != 0.0f || angles[1] != 0.0f || angles[2] != 0.0f;
    }
    float GetAng(int axis, TimeValue) override { return angles[Axis(axis)]; }
    int GetMapChannel() override { return mapChannel; }
    void SetMapChannel(int channel) override { mapChannel = channel; }

    void Update(TimeValue, Interval&) override {}
    void Reset() override { *this = DefaultXYZGen(); }
    Interval Validity(TimeValue) override { return FOREVER; }
    ParamDlg* CreateParamDlg(HWND, IMtlParams* params) override {
        return CreateCoordinatesDlg(*this, params);
    }

    RefTargetHandle Clone(RemapDir& remap) override {
        auto* copy = new DefaultXYZGen();
        copy->CopySettings(*this);
        BaseClone(this, copy, remap);
        return copy;
    }

private:
    DefaultXYZGen& operator=(const DefaultXYZGen& other) {
        CopySettings(other);
        return *this;
    }
    void CopySettings(const DefaultXYZGen& other) {
        MtlBase::operator=(other);
        coordSystem = other.coordSystem;
        mapChannel = other.mapChannel;
        for (int i = 0; i < 3; ++i) {
            offsets[i] = other.offsets[i];
            scales[i] = other.scales[i];
            angles[i] = other.angles[i];
        }
        rotated = other.rotated;
    }
    static int Axis(int axis) { return axis < 0 ? 0 : (axis > 2 ? 2 : axis); }

    Point3 Transform(Point3 p) const {
        // Unrotated coordinates (the usual case) take TransformCoordinates' own first step without the call.
        if (!rotated) [[likely]]
            return Point3((p.x + offsets[0]) * scales[0], (p.y + offsets[1]) * scales[1],
                          (p.z + offsets[2]) * scales[2]);
        return Rotated(p);
    }
    [[gnu::noinline]] Point3 Rotated(Point3 p) const {
        return TransformCoordinates(p, Point3(offsets[0], offsets[1], offsets[2]),
                                    Point3(scales[0], scales[1], scales[2]),
                                    Point3(angles[0], angles[1], angles[2]));
    }

    int coordSystem = XYZ_COORDS;
    int mapChannel = 1;
    float offsets[3] = {0.0f, 0.0f, 0.0f};
    float scales[3] = {1.0f, 1.0f, 1.0f};
    float angles[3] = {0.0f, 0.0f, 0.0f};
    bool rotated = false; // an angle other than 0
};

} // namespace

Point3 TransformCoordinates(Point3 p, const Point3& offset, const Point3& scale, const Point3& angle) {
    p = Point3((p.x + offset.x) * scale.x, (p.y + offset.y) * scale.y, (p.z + offset.z) * scale.z);
    for (int axis = 0; axis < 3; ++axis) {
        if (angle[axis] == 0.0f)
            continue;
        const float c = std::cos(angle[axis]);
        const float s = std::sin(angle[axis]);
        const int u = (axis + 1) % 3;
        const int v = (axis + 2) % 3;
        const float pu = p[u] * c - p[v] * s;
        const float pv = p[u] * s + p[v] * c;
        p[u] = pu;
        p[v] = pv;
    }
    return p;
}

StdXYZGen* GetNewDefaultXYZGen() {
    return new DefaultXYZGen();
}

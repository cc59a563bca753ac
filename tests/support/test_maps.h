#pragma once

// Stand-ins that tests plug into a map or the host: an input map of one value and a renderer of a chosen
// class.
#include "hostsdk/core_interface.h"
#include "hostsdk/mtl_base.h"

#include <vector>

// A map whose colour is a grey of `value` and whose mono value is `value`; it records the times it is
// updated at.
class ConstantMap : public Texmap {
public:
    explicit ConstantMap(float value = 0.0f) : value(value) {}
    AColor EvalColor(ShadeContext& sc) override {
        const float v = EvalMono(sc);
        return AColor(v, v, v, 1.0f);
    }
    float EvalMono(ShadeContext&) override { return value; }
    Point3 EvalNormalPerturb(ShadeContext&) override { return Point3(0.0f, 0.0f, 0.0f); }
    void Update(TimeValue t, Interval&) override { updates.push_back(t); }
    void Reset() override {}
    Interval Validity(TimeValue) override { return FOREVER; }
    ParamDlg* CreateParamDlg(HWND, IMtlParams*) override { return nullptr; }

    float value;
    std::vector<TimeValue> updates;
};

// A renderer known only by its class ID, for the host's current renderer.
class StubRenderer : public Renderer {
public:
    explicit StubRenderer(Class_ID id) : id(id) {}
    Class_ID ClassID() override { return id; }
    Class_ID id;
};

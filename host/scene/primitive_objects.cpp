#include "host/scene/primitive_objects.h"

#include "host/scene/primitive_meshes.h"

#include <algorithm>
#include <cmath>

namespace host {

namespace {

enum Kind { kBox, kSphere, kPlane, kCylinder, kPolyBox };

constexpr float kMaxSize = 1.0e6f;

// Class IDs are stored in scene files: never change them. Kind numbers are positions in this list.
const std::vector<PrimitiveType>& Types() {
    static const std::vector<PrimitiveType> types = {
        {"box",
         Class_ID(0x4e7b0010, 0x1c5a2b01),
         false,
         {{"length", 30.0f, 0.0f, kMaxSize, false},
          {"width", 30.0f, 0.0f, kMaxSize, false},
          {"height", 30.0f, 0.0f, kMaxSize, false}}},
        {"sphere",
         Class_ID(0x4e7b0011, 0x1c5a2b02),
         false,
         {{"radius", 20.0f, 0.0f, kMaxSize, false}, {"segments", 32.0f, 4.0f, 512.0f, true}}},
        {"plane",
         Class_ID(0x4e7b0012, 0x1c5a2b03),
         false,
         {{"length", 100.0f, 0.0f, kMaxSize, false},
          {"width", 100.0f, 0.0f, kMaxSize, false},
          {"lengthSegments", 4.0f, 1.0f, 512.0f, true},
          {"widthSegments", 4.0f, 1.0f, 512.0f, true}}},
        {"cylinder",
         Class_ID(0x4e7b0013, 0x1c5a2b04),
         false,
         {{"radius", 15.0f, 0.0f, kMaxSize, false},
          {"height", 40.0f, 0.0f, kMaxSize, false},
          {"sides", 24.0f, 3.0f, 1024.0f, true}}},
        {"polybox",
         Class_ID(POLYOBJ_CLASS_ID_A, 0x1c5a2b05),
         true,
         {{"length", 30.0f, 0.0f, kMaxSize, false},
          {"width", 30.0f, 0.0f, kMaxSize, false},
          {"height", 30.0f, 0.0f, kMaxSize, false}}},
    };
    return types;
}

std::vector<float> Legalise(const PrimitiveType& type, std::span<const float> values) {
    std::vector<float> legal;
    for (std::size_t i = 0; i < type.params.size(); ++i) {
        const PrimitiveParam& param = type.params[i];
        float value = i < values.size() && std::isfinite(values[i]) ? values[i] : param.defaultValue;
        if (param.whole)
            value = std::round(value);
        legal.push_back(std::clamp(value, param.minimum, param.maximum));
    }
    return legal;
}

Kind KindOf(const PrimitiveType& type) {
    return static_cast<Kind>(&type - Types().data());
}

MSTR Widen(const char* text) {
    return MSTR(text, text + std::char_traits<char>::length(text));
}

int Whole(float value) {
    return static_cast<int>(value);
}

class TriPrimitive : public TriObject, public IPrimitive {
public:
    TriPrimitive(const PrimitiveType& type, std::span<const float> values) : type(type) { SetValues(values); }

    Class_ID ClassID() override { return type.classId; }
    void GetClassName(MSTR& name) override { name = Widen(type.name); }
    RefTargetHandle Clone(RemapDir& remap) override {
        auto* copy = new TriPrimitive(type, values);
        BaseClone(this, copy, remap);
        return copy;
    }

    const PrimitiveType& Type() const override { return type; }
    const std::vector<float>& Values() const override { return values; }
    void SetValues(std::span<const float> newValues) override {
        values = Legalise(type, newValues);
        const std::vector<float>& v = values;
        switch (KindOf(type)) {
        case kBox:
            BuildBoxMesh(mesh, v[0], v[1], v[2]);
            break;
        case kSphere:
            BuildSphereMesh(mesh, v[0], Whole(v[1]));
            break;
        case kPlane:
            BuildPlaneMesh(mesh, v[0], v[1], Whole(v[2]), Whole(v[3]));
            break;
        case kCylinder:
            BuildCylinderMesh(mesh, v[0], v[1], Whole(v[2]));
            break;
        case kPolyBox:
            break;
        }
        NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
    }

private:
    const PrimitiveType& type;
    std::vector<float> values;
};

class PolyPrimitive : public PolyObject, public IPrimitive {
public:
    PolyPrimitive(const PrimitiveType& type, std::span<const float> values) : type(type) {
        SetValues(values);
    }

    Class_ID ClassID() override { return type.classId; }
    void GetClassName(MSTR& name) override { name = Widen(type.name); }
    RefTargetHandle Clone(RemapDir& remap) override {
        auto* copy = new PolyPrimitive(type, values);
        BaseClone(this, copy, remap);
        return copy;
    }

    const PrimitiveType& Type() const override { return type; }
    const std::vector<float>& Values() const override { return values; }
    void SetValues(std::span<const float> newValues) override {
        values = Legalise(type, newValues);
        BuildBoxPolyMesh(mm, values[0], values[1], values[2]);
        NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
    }

private:
    const PrimitiveType& type;
    std::vector<float> values;
};

} // namespace

const std::vector<PrimitiveType>& PrimitiveTypes() {
    return Types();
}

const PrimitiveType* FindPrimitiveType(const Class_ID& classId) {
    for (const PrimitiveType& type : Types())
        if (type.classId == classId)
            return &type;
    return nullptr;
}

const PrimitiveType* FindPrimitiveType(const std::string& name) {
    for (const PrimitiveType& type : Types())
        if (name == type.name)
            return &type;
    return nullptr;
}

GeomObject* CreatePrimitive(const PrimitiveType& type, std::span<const float> values) {
    // Objects keep the listed type, whose place in the list names their kind.
    const PrimitiveType* listed = FindPrimitiveType(type.classId);
    if (listed == nullptr)
        return nullptr;
    if (listed->polygonObject)
        return new PolyPrimitive(*listed, values);
    return new TriPrimitive(*listed, values);
}

} // namespace host

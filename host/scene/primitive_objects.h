#pragma once

// The host's built-in primitives as scene objects: triangle-mesh and polygon-mesh objects that keep the
// parameters they were built from, so that scenes store them by parameters.
#include "hostsdk/poly_object.h"
#include "hostsdk/tri_object.h"

#include <span>
#include <string>
#include <vector>

namespace host {

struct PrimitiveParam {
    const char* name;
    float defaultValue;
    float minimum;
    // Beyond it a scene is refused: sizes stay within what single-precision placement resolves, segment
    // counts within meshes of a few hundred thousand faces.
    float maximum;
    // Segment counts: whole numbers.
    bool whole;
};

// One kind of primitive: its class, the name scenes and users know it by, and its parameters in order.
struct PrimitiveType {
    const char* name;
    Class_ID classId;
    bool polygonObject;
    std::vector<PrimitiveParam> params;
};

// Box, sphere, plane, cylinder and polybox. The polygon box's class ID shares its first word with the
// polygon object's, which is how plug-ins recognise polygon objects.
const std::vector<PrimitiveType>& PrimitiveTypes();
const PrimitiveType* FindPrimitiveType(const Class_ID& classId);
const PrimitiveType* FindPrimitiveType(const std::string& name);

// Implemented by every primitive object, beside its TriObject or PolyObject base.
class IPrimitive {
public:
    virtual ~IPrimitive() = default;
    virtual const PrimitiveType& Type() const = 0;
    // One value per parameter of the type, in its order.
    virtual const std::vector<float>& Values() const = 0;
    // Rebuilds the mesh; values outside a parameter's range take its nearest bound, whole parameters are
    // rounded.
    virtual void SetValues(std::span<const float> values) = 0;
};

// A new primitive of the type with the given values (defaults for missing ones); null for a type that is
// not one of PrimitiveTypes().
GeomObject* CreatePrimitive(const PrimitiveType& type, std::span<const float> values = {});

} // namespace host

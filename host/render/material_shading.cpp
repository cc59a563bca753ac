#include "host/render/material_shading.h"

#include "host/render/transform_math.h"

#include "hostsdk/std_mat.h"

#include <algorithm>
#include <cmath>

namespace host {

AColor DiffuseColour(Mtl* material, ShadeContext& sc) {
    if (material == nullptr)
        return AColor(0.5f, 0.5f, 0.5f, 1.0f);
    if (auto* standard = dynamic_cast<StdMat*>(material)) {
        Texmap* map = standard->GetSubTexmap(ID_DI);
        if (map != nullptr && standard->SubTexmapOn(ID_DI))
            return map->EvalColor(sc);
    }
    return AColor(material->GetDiffuse(sc.mtlNum), 1.0f);
}

AColor Headlit(const AColor& colour, const Point3& unitNormal, const Point3& toEye) {
    const float distance = Length(toEye);
    const float cosine = distance > 0.0f ? std::min(std::abs(Dot(unitNormal, toEye)) / distance, 1.0f) : 1.0f;
    const float light = 0.25f + 0.75f * cosine;
    return AColor(colour.r * light, colour.g * light, colour.b * light, colour.a);
}

} // namespace host

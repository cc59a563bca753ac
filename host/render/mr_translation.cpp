#include "host/render/mr_translation.h"

#include "host/render/material_shading.h"

#include "hostsdk/std_mat.h"

#include <algorithm>

namespace host {

namespace {

// The translation's own state; maps only pass it back.
class HostTranslation : public imrTranslation {};

// The map a material shows as its diffuse colour, when it has one switched on.
Texmap* DiffuseMap(Mtl* material) {
    auto* standard = dynamic_cast<StdMat*>(material);
    if (standard == nullptr || !standard->SubTexmapOn(ID_DI))
        return nullptr;
    return standard->GetSubTexmap(ID_DI);
}

} // namespace

MentalRayShaders::MentalRayShaders() {
    library.Declare(ChromasiftShaderDeclaration());
}

MentalRayShaders::~MentalRayShaders() {
    for (imrShaderTranslation* translation : translations)
        translation->ReleaseMRShader();
}

void MentalRayShaders::Translate(HostRenderGlobalContext& context, TimeValue t,
                                 const std::function<void(imrShader&)>& translated) {
    HostTranslation translation;
    std::vector<Texmap*> asked;
    for (int i = 0; i < context.NumRenderInstances(); ++i) {
        Texmap* map = DiffuseMap(context.Instance(i).mtl);
        if (map == nullptr || std::find(asked.begin(), asked.end(), map) != asked.end())
            continue;
        asked.push_back(map);
        auto* translator =
            static_cast<imrShaderTranslation*>(map->GetInterface(IMRSHADERTRANSLATION_INTERFACE_ID));
        if (translator == nullptr)
            continue;
        imrShader* shader = translator->GetMRShader(library);
        translations.push_back(translator);
        if (shader == nullptr)
            continue;
        Interval valid = FOREVER;
        translator->TranslateParameters(translation, shader, t, valid);
        if (translated)
            translated(*shader);
        shaders.emplace_back(map, ReadChromasiftShader(*shader));
    }
}

const ChromasiftShaderParams* MentalRayShaders::Find(Texmap* map) const {
    for (const auto& [translatedMap, params] : shaders)
        if (translatedMap == map)
            return &params;
    return nullptr;
}

AColor MentalRayDiffuseColour(Mtl* material, ShadeContext& sc, const ShaderSample& sample,
                              const MentalRayShaders& shaders) {
    if (const ChromasiftShaderParams* params = shaders.Find(DiffuseMap(material)))
        return ShadeChromasift(*params, sample, sc);
    return DiffuseColour(material, sc);
}

} // namespace host

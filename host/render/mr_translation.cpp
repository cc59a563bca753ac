#include "host/render/mr_translation.h"

#include "hostsdk/std_mat.h"

#include <unordered_map>
#include <unordered_set>

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
    std::unordered_set<Texmap*> asked;
    for (int i = 0; i < context.NumRenderInstances(); ++i) {
        Texmap* map = DiffuseMap(context.Instance(i).mtl);
        if (map == nullptr || !asked.insert(map).second)
            continue;
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
    // Looked up here, after the list has stopped growing, so that shading never searches.
    std::unordered_map<Texmap*, const ChromasiftShaderParams*> byMap;
    for (const auto& [map, params] : shaders)
        byMap.emplace(map, &params);
    for (int i = 0; i < context.NumRenderInstances(); ++i) {
        const auto found = byMap.find(DiffuseMap(context.Instance(i).mtl));
        instanceShaders.push_back(found == byMap.end() ? nullptr : found->second);
    }
}

const ChromasiftShaderParams* MentalRayShaders::ForInstance(int instance) const {
    return instance >= 0 && static_cast<std::size_t>(instance) < instanceShaders.size()
               ? instanceShaders[static_cast<std::size_t>(instance)]
               : nullptr;
}

} // namespace host

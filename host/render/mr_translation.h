#pragma once

// The mental ray stand-in's translation of a scene: every map of the rendered materials that translates
// itself into the host's "Chromasift" shader gets a shader instance, whose parameters are read once for
// shading.
#include "host/render/mr_chromasift_shader.h"
#include "host/render/render_instances.h"

#include "hostsdk/mtl.h"

#include <functional>
#include <utility>
#include <vector>

namespace host {

class MentalRayShaders {
public:
    MentalRayShaders();
    MentalRayShaders(const MentalRayShaders&) = delete;
    MentalRayShaders& operator=(const MentalRayShaders&) = delete;
    // Tells every translated map to release its shader.
    ~MentalRayShaders();

    // Asks each diffuse map of the instances' materials once for its shader and has it write the shader's
    // parameters for time t; `translated` (when set) sees each shader right after its translation.
    void Translate(HostRenderGlobalContext& context, TimeValue t,
                   const std::function<void(imrShader&)>& translated);

    // The shader standing for the map, or null when the map was not translated.
    const ChromasiftShaderParams* Find(Texmap* map) const;

private:
    mrShaderLibrary library;
    std::vector<std::pair<Texmap*, ChromasiftShaderParams>> shaders;
    std::vector<imrShaderTranslation*> translations;
};

// The material's diffuse colour under mental ray: a translated diffuse map is replaced by its shader.
AColor MentalRayDiffuseColour(Mtl* material, ShadeContext& sc, const ShaderSample& sample,
                              const MentalRayShaders& shaders);

} // namespace host

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
    // parameters for time t; `translated` (when set) sees each shader right after its translation. Then
    // finds, once for the whole render, the shader each instance's material shows.
    void Translate(HostRenderGlobalContext& context, TimeValue t,
                   const std::function<void(imrShader&)>& translated);

    // The shader that stands for render instance i's diffuse map, or null when the map was not translated
    // (the material then shades as it does under the other renderers).
    const ChromasiftShaderParams* ForInstance(int instance) const;

private:
    mrShaderLibrary library;
    std::vector<std::pair<Texmap*, ChromasiftShaderParams>> shaders;
    std::vector<imrShaderTranslation*> translations;
    std::vector<const ChromasiftShaderParams*> instanceShaders;
};

} // namespace host

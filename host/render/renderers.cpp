#include "host/render/renderers.h"

#include "hostsdk/vray.h"

namespace host {

HostRenderer::~HostRenderer() = default;

Class_ID VRayRenderer::ClassID() {
    return VRAY_RENDERER_CLASS_ID;
}

Class_ID MentalRayRenderer::ClassID() {
    return MENTAL_RAY_RENDERER_CLASS_ID;
}

std::optional<RendererKind> FindRendererKind(const std::string& name) {
    if (name == "scanline")
        return RendererKind::Scanline;
    if (name == "vray")
        return RendererKind::VRay;
    if (name == "mentalray")
        return RendererKind::MentalRay;
    return std::nullopt;
}

HostRenderer* NewRenderer(RendererKind kind) {
    if (kind == RendererKind::VRay)
        return new VRayRenderer();
    if (kind == RendererKind::MentalRay)
        return new MentalRayRenderer();
    return new ScanlineRenderer();
}

const char* RendererName(RendererKind kind) {
    return kind == RendererKind::VRay ? "vray" : (kind == RendererKind::MentalRay ? "mentalray" : "scanline");
}

} // namespace host

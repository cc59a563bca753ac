#include "host/render/renderers.h"

#include "hostsdk/vray.h"

namespace host {

HostRenderer::~HostRenderer() = default;

Class_ID VRayRenderer::ClassID() {
    return VRAY_RENDERER_CLASS_ID;
}

std::optional<RendererKind> FindRendererKind(const std::string& name) {
    if (name == "scanline")
        return RendererKind::Scanline;
    if (name == "vray")
        return RendererKind::VRay;
    return std::nullopt;
}

HostRenderer* NewRenderer(RendererKind kind) {
    if (kind == RendererKind::VRay)
        return new VRayRenderer();
    return new ScanlineRenderer();
}

} // namespace host

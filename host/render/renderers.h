#pragma once

// The host's renderers. They share one rasteriser and differ only in what maps see: their class ID, as
// the host reports the current renderer, and the shading contexts they hand out.
#include "hostsdk/core_interface.h"

#include <optional>
#include <string>

namespace host {

enum class RendererKind { Scanline, VRay, MentalRay };

// The host's own default renderer.
constexpr Class_ID kScanlineRendererClassID(0x4e7b0100, 0x1c5a2c01);

class HostRenderer : public Renderer {
public:
    ~HostRenderer() override;
    virtual RendererKind Kind() const = 0;
};

class ScanlineRenderer : public HostRenderer {
public:
    Class_ID ClassID() override { return kScanlineRendererClassID; }
    void GetClassName(MSTR& name) override { name = L"Scanline"; }
    RendererKind Kind() const override { return RendererKind::Scanline; }
};

// The stand-in of V-Ray: its class ID, and shading contexts that report the instance a sample lies on.
class VRayRenderer : public HostRenderer {
public:
    Class_ID ClassID() override;
    void GetClassName(MSTR& name) override { name = L"V-Ray"; }
    RendererKind Kind() const override { return RendererKind::VRay; }
};

// The stand-in of mental ray: its class ID, so that maps number their geometry before the render; it
// shades translated maps with the host's own shaders.
class MentalRayRenderer : public HostRenderer {
public:
    Class_ID ClassID() override;
    void GetClassName(MSTR& name) override { name = L"mental ray"; }
    RendererKind Kind() const override { return RendererKind::MentalRay; }
};

// "scanline", "vray" or "mentalray"; nothing for any other name.
std::optional<RendererKind> FindRendererKind(const std::string& name);
// The renderer's name as --renderer takes it.
const char* RendererName(RendererKind kind);
// A new renderer, owned by the caller (DeleteThis).
HostRenderer* NewRenderer(RendererKind kind);

} // namespace host

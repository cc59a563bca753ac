// Out-of-line destructors and defaults of the SDK's abstract bases, so that their vtables live in the SDK.
#include "hostsdk/core_interface.h"
#include "hostsdk/load_save.h"
#include "hostsdk/mental_ray.h"
#include "hostsdk/mtl_base.h"
#include "hostsdk/mtl_render_compatibility.h"
#include "hostsdk/param_dlg.h"
#include "hostsdk/shade_context.h"
#include "hostsdk/tex_gen.h"
#include "hostsdk/vray.h"

ShadeContext::~ShadeContext() = default;

Class_ID ShadeContext::ClassID() {
    return Class_ID(0, 0);
}
BOOL ShadeContext::InMtlEditor() {
    return FALSE;
}
int ShadeContext::NodeID() {
    return -1;
}
INode* ShadeContext::Node() {
    return nullptr;
}
Object* ShadeContext::GetEvalObject() {
    return nullptr;
}
TimeValue ShadeContext::CurTime() {
    return 0;
}

ParamDlg::~ParamDlg() = default;
IMtlParams::~IMtlParams() = default;
ISubMap::~ISubMap() = default;
PostLoadCallback::~PostLoadCallback() = default;
ILoad::~ILoad() = default;
ISave::~ISave() = default;
FPInterface::~FPInterface() = default;
FPStaticInterface::~FPStaticInterface() = default;
imrShaderTranslation::~imrShaderTranslation() = default;
imrShader::~imrShader() = default;
imrShaderCreation::~imrShaderCreation() = default;
imrTranslation::~imrTranslation() = default;
imrShaderTranslation_ClassInfo::~imrShaderTranslation_ClassInfo() = default;
IMtlRender_Compatibility_MtlBase::~IMtlRender_Compatibility_MtlBase() = default;
Renderer::~Renderer() = default;
IObjParam::~IObjParam() = default;
MtlBase::~MtlBase() = default;
Texmap::~Texmap() = default;
UVGen::~UVGen() = default;
XYZGen::~XYZGen() = default;
StdXYZGen::~StdXYZGen() = default;
TextureOutput::~TextureOutput() = default;
BitmapTex::~BitmapTex() = default;
ThingParamDlg::~ThingParamDlg() = default;
VUtils::VRayInterface::~VRayInterface() = default;

MSTR MtlBase::GetFullName() {
    MSTR className;
    GetClassName(className);
    return name + L" (" + className + L")";
}

MtlBase& MtlBase::operator=(const MtlBase& other) {
    name = other.name;
    return *this;
}

float Texmap::EvalMono(ShadeContext& sc) {
    const AColor c = EvalColor(sc);
    return (c.r + c.g + c.b) / 3.0f;
}

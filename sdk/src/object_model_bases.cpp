// Out-of-line destructors and defaults of the SDK's abstract bases, so that their vtables live in the SDK.
#include "hostsdk/load_save.h"
#include "hostsdk/mtl_base.h"
#include "hostsdk/param_dlg.h"
#include "hostsdk/shade_context.h"

ShadeContext::~ShadeContext() = default;
ParamDlg::~ParamDlg() = default;
IMtlParams::~IMtlParams() = default;
ISubMap::~ISubMap() = default;
PostLoadCallback::~PostLoadCallback() = default;
ILoad::~ILoad() = default;
ISave::~ISave() = default;

MtlBase& MtlBase::operator=(const MtlBase& other) {
    name = other.name;
    return *this;
}

float Texmap::EvalMono(ShadeContext& sc) {
    const AColor c = EvalColor(sc);
    return (c.r + c.g + c.b) / 3.0f;
}

#include "hostsdk/function_publishing.h"

#include "hostsdk/class_desc.h"
#include "hostsdk/param_types.h"

#include <cstdarg>
#include <stdexcept>

BaseInterface::~BaseInterface() = default;

FPInterfaceDesc::FPInterfaceDesc(Interface_ID id_, const MCHAR* internalName_, StringResID description_,
                                 ClassDesc* cd_, ULONG flags_, ...) {
    va_list args;
    va_start(args, flags_);
    const int tag = va_arg(args, int);
    va_end(args);
    if (tag != p_end)
        throw std::invalid_argument(
            "FPInterfaceDesc: function descriptions are not supported; expected p_end");
    LoadDescriptor(id_, internalName_, description_, cd_, flags_, p_end);
}

void FPInterfaceDesc::LoadDescriptor(Interface_ID id_, const MCHAR* internalName_, StringResID description_,
                                     ClassDesc* cd_, ULONG flags_, ...) {
    va_list args;
    va_start(args, flags_);
    const int tag = va_arg(args, int);
    va_end(args);
    if (tag != p_end)
        throw std::invalid_argument("FPInterfaceDesc::LoadDescriptor: expected p_end after the flags");
    id = id_;
    internalName = internalName_ == nullptr ? MSTR() : MSTR(internalName_);
    description = description_;
    cd = cd_;
    flags = static_cast<USHORT>(flags_);
    if (cd != nullptr)
        cd->AddInterface(this);
}

HINSTANCE FPInterfaceDesc::HInstance() {
    return cd == nullptr ? nullptr : cd->HInstance();
}

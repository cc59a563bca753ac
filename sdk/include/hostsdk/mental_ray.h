#pragma once

// The renderer integration through which a map translates itself into a mental ray shader.
#include "hostsdk/function_publishing.h"

constexpr Interface_ID IMRSHADERTRANSLATION_INTERFACE_ID(0x1c396abd, 0x5f964e0c);
constexpr Interface_ID IMRSHADERTRANSLATION_CLASSINFO_INTERFACE_ID(0x17a76fd6, 0x5ab32bcd);

// Implemented by objects that translate themselves into a shader.
class SDK_API imrShaderTranslation : public BaseInterface {
public:
    ~imrShaderTranslation() override;
    Interface_ID GetID() override { return IMRSHADERTRANSLATION_INTERFACE_ID; }
};

// Published by a class to say which kinds of shader it may be applied as.
class SDK_API imrShaderTranslation_ClassInfo : public FPStaticInterface {
public:
    ~imrShaderTranslation_ClassInfo() override;
    enum ApplyFlags : unsigned int {
        kApplyFlag_Lens = 0x1,
        kApplyFlag_Material = 0x2,
        kApplyFlag_Light = 0x4,
        kApplyFlag_Shadow = 0x8,
        kApplyFlag_Environment = 0x10,
        kApplyFlag_Volume = 0x20,
        kApplyFlag_Texture = 0x40,
        kApplyFlag_Photon = 0x80,
        kApplyFlag_Default = 0x108042,
    };
    virtual ApplyFlags GetApplyTypes() = 0;
};

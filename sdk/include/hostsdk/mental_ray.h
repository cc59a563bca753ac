#pragma once

// The renderer integration through which a map translates itself into a mental ray shader.
#include "hostsdk/function_publishing.h"
#include "hostsdk/param_block.h"
#include "hostsdk/tab.h"

constexpr Interface_ID IMRSHADERTRANSLATION_INTERFACE_ID(0x1c396abd, 0x5f964e0c);
constexpr Interface_ID IMRSHADERTRANSLATION_CLASSINFO_INTERFACE_ID(0x17a76fd6, 0x5ab32bcd);
constexpr Interface_ID IMRSHADER_INTERFACE_ID(0x3b2f7b97, 0x5766e45);

// One instance of a shader declaration: the values of its parameters, and the maps connected to its
// shader-typed parameters (each under the parameter's name followed by ".shader").
class SDK_API imrShader : public BaseInterface {
public:
    ~imrShader() override;
    Interface_ID GetID() override { return IMRSHADER_INTERFACE_ID; }

    virtual const MCHAR* GetName() = 0;
    // The declaration the shader is an instance of.
    virtual const MCHAR* GetDeclarationName() = 0;
    virtual IParamBlock2* GetParametersParamBlock() = 0;
    virtual IParamBlock2* GetConnectionsParamBlock() = 0;
};

// The host's factory of shader instances, handed to maps while a render is translated.
class SDK_API imrShaderCreation {
public:
    virtual ~imrShaderCreation();
    // Null when no shader of that declaration is known. The host owns the shader.
    virtual imrShader* CreateShader(const MCHAR* declarationName, const MCHAR* mtlName) = 0;
};

// The translation of one render in progress; maps only pass it on.
class SDK_API imrTranslation {
public:
    virtual ~imrTranslation();
};

// An object the translated shader depends on beyond the map's own references.
struct AdditionalDependency {
    ReferenceTarget* refTarg = nullptr;
    bool assignAsChild = true;
};
using AdditionalDependencyTable = Tab<AdditionalDependency>;

// Implemented by objects that translate themselves into a shader. The operations are in the order of the
// interface's slots.
class SDK_API imrShaderTranslation : public BaseInterface {
public:
    enum Requirement { kReq_TangentBasisVectors = 0 };

    ~imrShaderTranslation() override;
    Interface_ID GetID() override { return IMRSHADERTRANSLATION_INTERFACE_ID; }

    // Asked at most once per render and object.
    virtual imrShader* GetMRShader(imrShaderCreation& shaderCreation) = 0;
    virtual void ReleaseMRShader() = 0;
    // True asks the host to copy every parameter block value whose name and type match a shader parameter,
    // after TranslateParameters.
    virtual bool NeedsAutomaticParamBlock2Translation() = 0;
    // Writes the shader's parameters for time t; `valid` may be narrowed to the time the values hold for.
    virtual void TranslateParameters(imrTranslation& translation, imrShader* shader, TimeValue t,
                                     Interval& valid) = 0;
    virtual void GetAdditionalReferenceDependencies(AdditionalDependencyTable& refTargets) = 0;
    virtual void TranslateParameters_Advanced(imrTranslation&, imrShader*, TimeValue, Interval&) {}
    virtual bool HasRequirement(Requirement, TimeValue, Interval&, void*) { return false; }
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

#pragma once

#include "map/chromasift.h"

// The class descriptor: registers the map with the host, creates its instances, owns the description of
// its parameter block and publishes the mental ray class information and renderer compatibility.
class Chromasift::Chromasift_ClassDesc : public ClassDesc2,
                                         public imrShaderTranslation_ClassInfo,
                                         public IMtlRender_Compatibility_MtlBase {
public:
    Chromasift_ClassDesc();

    int IsPublic() override { return 1; }
    void* Create(BOOL loading) override;
    const MCHAR* ClassName() override { return L"KR Chromasift"; }
    SClass_ID SuperClassID() override { return TEXMAP_CLASS_ID; }
    Class_ID ClassID() override { return CHROMASIFT_CLASS_ID; }
    const MCHAR* Category() override { return L"mental ray"; }
    BOOL OkToCreate(Interface*) override { return 1; }
    DWORD InitialRollupPageState() override { return 0x7fffffff; }
    const MCHAR* InternalName() override { return L"KR Chromasift"; }
    HINSTANCE HInstance() override;
    void SetUserDlgProc(ParamBlockDesc2* pbd, ParamMap2UserDlgProc* proc) override;
    using ClassDesc2::GetInterface;
    using ClassDesc2::SetUserDlgProc;

    // imrShaderTranslation_ClassInfo: the shader applies as a texture shader only.
    ApplyFlags GetApplyTypes() override { return kApplyFlag_Texture; }

    // IMtlRender_Compatibility_MtlBase: the map works with every renderer.
    bool IsCompatibleWithRenderer(ClassDesc&) override { return true; }
    bool GetCustomMtlBrowserIcon(HIMAGELIST&, int&, int&, int&) override { return false; }

    ParamBlockDesc2 pbDesc;
};

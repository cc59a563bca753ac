#pragma once

// Materials and maps: the sub-map protocol, the material base and the texture map base.
#include "hostsdk/bit_array.h"
#include "hostsdk/color.h"
#include "hostsdk/matrix3.h"
#include "hostsdk/param_dlg.h"
#include "hostsdk/references.h"
#include "hostsdk/shade_context.h"

class Texmap;
class UVGen;
class XYZGen;

// Interface number under which GetInterface(ULONG) answers with a material's sub-map part.
constexpr ULONG I_SUBMAP = 0x1260;

class SDK_API ISubMap {
public:
    virtual ~ISubMap();

    virtual int NumSubTexmaps() { return 0; }
    virtual Texmap* GetSubTexmap(int) { return nullptr; }
    virtual void SetSubTexmap(int, Texmap*) {}
    virtual int SubTexmapOn(int) { return 1; }
    virtual MSTR GetSubTexmapSlotName(int) { return MSTR(); }
    virtual BOOL SetDlgThing(ParamDlg*) { return FALSE; }
    virtual ReferenceTarget* GetRefTarget() = 0;
};

class SDK_API MtlBase : public ReferenceTarget, public ISubMap {
public:
    MtlBase() = default;
    ~MtlBase() override;
    const MSTR& GetName() const { return name; }
    virtual void SetName(const MSTR& newName) { name = newName; }
    // The name followed by the class name in parentheses, as the material editor titles the object.
    MSTR GetFullName();

    // Copies the data every material and map carries: its name.
    MtlBase& operator=(const MtlBase& other);

    virtual ULONG Requirements(int subMtlNum) { return LocalRequirements(subMtlNum); }
    virtual ULONG LocalRequirements(int) { return 0; }
    virtual void MappingsRequired(int subMtlNum, BitArray& mapreq, BitArray& bumpreq) {
        LocalMappingsRequired(subMtlNum, mapreq, bumpreq);
    }
    virtual void LocalMappingsRequired(int, BitArray&, BitArray&) {}

    virtual void Update(TimeValue t, Interval& valid) = 0;
    virtual void Reset() = 0;
    virtual Interval Validity(TimeValue t) = 0;
    virtual ParamDlg* CreateParamDlg(HWND editorWindow, IMtlParams* params) = 0;

    ReferenceTarget* GetRefTarget() override { return this; }

private:
    MSTR name;
};

class SDK_API Texmap : public MtlBase {
public:
    ~Texmap() override;
    SClass_ID SuperClassID() override { return TEXMAP_CLASS_ID; }

    virtual AColor EvalColor(ShadeContext& sc) = 0;
    virtual float EvalMono(ShadeContext& sc);
    virtual Point3 EvalNormalPerturb(ShadeContext& sc) = 0;

    virtual void GetUVTransform(Matrix3& uvtrans) { uvtrans.IdentityMatrix(); }
    virtual int GetTextureTiling() { return 0; }
    virtual int GetUVWSource() { return 0; }
    virtual int GetMapChannel() { return 1; }
    virtual UVGen* GetTheUVGen() { return nullptr; }
    virtual XYZGen* GetTheXYZGen() { return nullptr; }
    virtual void SetOutputLevel(TimeValue, float) {}
};

// Texture tiling flags of GetTextureTiling.
constexpr int U_WRAP = 1 << 0;
constexpr int V_WRAP = 1 << 1;

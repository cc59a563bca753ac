#pragma once

// Coordinate generators, the texture output filter and the bitmap texture, with the host's factories for
// their default implementations.
#include "hostsdk/mtl_base.h"

// Coordinate systems of a 3D coordinate generator.
constexpr int XYZ_COORDS = 0;
constexpr int UVW_COORDS = 1;
constexpr int UVW2_COORDS = 2;
constexpr int XYZ_WORLD_COORDS = 3;

class SDK_API UVGen : public MtlBase {
public:
    ~UVGen() override;
    SClass_ID SuperClassID() override { return UVGEN_CLASS_ID; }
};

class SDK_API XYZGen : public MtlBase {
public:
    ~XYZGen() override;
    SClass_ID SuperClassID() override { return XYZGEN_CLASS_ID; }

    // The sample's point in the chosen coordinate system, transformed by offset, scale and angles, and its
    // derivative for filtering.
    virtual void GetXYZ(ShadeContext& sc, Point3& p, Point3& dp) = 0;
    virtual BOOL IsStdXYZGen() { return FALSE; }
};

class SDK_API StdXYZGen : public XYZGen {
public:
    ~StdXYZGen() override;
    BOOL IsStdXYZGen() override { return TRUE; }

    virtual void SetCoordSystem(int system) = 0;
    virtual int GetCoordSystem() = 0;
    virtual void SetOffs(int axis, float value, TimeValue t) = 0;
    virtual float GetOffs(int axis, TimeValue t) = 0;
    virtual void SetScl(int axis, float value, TimeValue t) = 0;
    virtual float GetScl(int axis, TimeValue t) = 0;
    // Angles in radians.
    virtual void SetAng(int axis, float value, TimeValue t) = 0;
    virtual float GetAng(int axis, TimeValue t) = 0;
    virtual int GetMapChannel() = 0;
    virtual void SetMapChannel(int channel) = 0;
};

class SDK_API TextureOutput : public MtlBase {
public:
    ~TextureOutput() override;
    SClass_ID SuperClassID() override { return TEXOUTPUT_CLASS_ID; }

    virtual AColor Filter(AColor c) = 0;
    virtual float Filter(float f) = 0;
    virtual Point3 Filter(Point3 p) = 0;
    virtual float GetOutputLevel(TimeValue t) = 0;
    virtual void SetOutputLevel(TimeValue t, float level) = 0;
    virtual void SetInvert(BOOL invert) = 0;
    virtual BOOL GetInvert() = 0;
};

class SDK_API BitmapTex : public Texmap {
public:
    ~BitmapTex() override;
    // isUIAction tells whether the user picked the file (the host then reloads and refreshes its UI).
    virtual void SetMapName(const MCHAR* name, bool isUIAction = false) = 0;
    virtual const MCHAR* GetMapName() = 0;
};

// The standard generator's transform of a point: offset, then scale, then rotation about X, Y and Z in
// turn by the angles (radians), each per axis.
SDK_API Point3 TransformCoordinates(Point3 p, const Point3& offset, const Point3& scale, const Point3& angle);

// New default objects, owned by whoever installs them as a reference.
SDK_API StdXYZGen* GetNewDefaultXYZGen();
SDK_API TextureOutput* GetNewDefaultTextureOutput();
SDK_API BitmapTex* NewDefaultBitmapTex();

// Class IDs of the default implementations.
constexpr Class_ID STDXYZGEN_CLASS_ID(0x0000100, 0);
constexpr Class_ID STDTEXOUT_CLASS_ID(0x0000200, 0);
constexpr Class_ID BMTEX_CLASS_ID(0x0000240, 0);

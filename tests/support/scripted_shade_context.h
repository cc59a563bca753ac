#pragma once

// A shading context whose every answer its user sets: the map's tests and its shading fuzz target build
// samples with it. Its class ID says whether it stands for a V-Ray context.
#include "hostsdk/vray.h"

class ScriptedShadeContext : public VUtils::VRayInterface {
public:
    Class_ID ClassID() override { return classId; }
    int NodeID() override { return nodeId; }
    INode* Node() override { return node; }
    Object* GetEvalObject() override { return object; }
    int FaceNumber() override { return face; }
    Point3 UVW(int channel) override { return channel == 99 ? uvw99 : channel == 1 ? uvw : Point3(); }
    Point3 PObj() override { return position; }
    TimeValue CurTime() override { return time; }
    bool GetHitInstanceNumber(int& number) override {
        number = instance;
        return hasInstance;
    }

    Class_ID classId{0, 0};
    int nodeId = -1;
    INode* node = nullptr;
    Object* object = nullptr;
    int face = 0;
    Point3 uvw, uvw99, position;
    int instance = 0;
    bool hasInstance = false;
    // The time being rendered.
    TimeValue time = 0;
};

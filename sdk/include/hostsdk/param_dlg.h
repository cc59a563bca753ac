#pragma once

// Parameter dialogs of the material editor. The Linux build creates no windows: its dialogs keep the state
// that the host and the plug-in exchange with them (the edited object, the sub-dialogs) and nothing else.
#include "hostsdk/max_types.h"
#include "hostsdk/sdk_api.h"

#include <vector>

class IRollupWindow;
class ReferenceTarget;

class SDK_API ParamDlg {
public:
    ParamDlg() = default;
    ParamDlg(const ParamDlg&) = delete;
    ParamDlg& operator=(const ParamDlg&) = delete;
    virtual ~ParamDlg();

    virtual Class_ID ClassID() = 0;
    virtual void SetThing(ReferenceTarget* thing) = 0;
    virtual ReferenceTarget* GetThing() = 0;
    virtual void SetTime(TimeValue) {}
    virtual void ReloadDialog() {}
    virtual void ActivateDlg(BOOL) {}
    virtual void DeleteThis() = 0;
};

// The material editor's interface as a parameter dialog sees it.
class SDK_API IMtlParams {
public:
    virtual ~IMtlParams();
    // The rollup window that parameter dialogs put their rollouts into; null when the editor has none
    // (always, in the Linux build). The Windows build's RollupMtlParams answers with a real one.
    virtual IRollupWindow* GetMtlEditorRollup() { return nullptr; }
};

// A dialog of one object, holding that object; the coordinates and output objects answer with one.
class SDK_API ThingParamDlg : public ParamDlg {
public:
    ThingParamDlg(Class_ID classId, ReferenceTarget* thing) : classId(classId), thing(thing) {}
    ~ThingParamDlg() override;

    Class_ID ClassID() override { return classId; }
    void SetThing(ReferenceTarget* newThing) override { thing = newThing; }
    ReferenceTarget* GetThing() override { return thing; }
    void DeleteThis() override { delete this; }

private:
    Class_ID classId;
    ReferenceTarget* thing;
};

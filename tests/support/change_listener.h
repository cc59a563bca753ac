#pragma once

// Records the change messages that reach what refers to a target; `onChange`, when given, runs at each.
#include "hostsdk/references.h"

#include <functional>
#include <utility>

class ChangeListener : public ReferenceTarget {
public:
    explicit ChangeListener(ReferenceTarget* target, std::function<void()> onChange = {})
        : onChange(std::move(onChange)) {
        ReplaceReference(0, target);
    }
    ~ChangeListener() override { ReplaceReference(0, nullptr, FALSE); }
    SClass_ID SuperClassID() override { return REF_TARGET_CLASS_ID; }
    int NumRefs() override { return 1; }
    RefTargetHandle GetReference(int) override { return target; }
    void SetReference(int, RefTargetHandle newTarget) override { target = newTarget; }
    RefResult NotifyRefChanged(const Interval&, RefTargetHandle, PartID&, RefMessage message, BOOL) override {
        if (message == REFMSG_CHANGE) {
            ++changes;
            if (onChange)
                onChange();
        }
        return REF_SUCCEED;
    }
    RefTargetHandle target = nullptr;
    int changes = 0;

private:
    std::function<void()> onChange;
};

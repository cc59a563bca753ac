#pragma once

// The host's core interface: time slider, renderer, quiet mode, main window and dialog registration.
#include "hostsdk/anim_time.h"
#include "hostsdk/references.h"

#include <atomic>
#include <vector>

class ClassDesc;

class SDK_API Renderer : public ReferenceTarget {
public:
    ~Renderer() override;
    SClass_ID SuperClassID() override { return RENDERER_CLASS_ID; }
};

class SDK_API Interface {
public:
    virtual ~Interface();

    // The time slider. Renderers render at a time of their own, which a range render moves from frame to
    // frame while the slider stays where the user left it.
    virtual TimeValue GetTime() { return currentTime.load(std::memory_order_relaxed); }
    virtual void SetTime(TimeValue t) { currentTime.store(t, std::memory_order_relaxed); }
    // The active time segment: frames 0 to 100 until set.
    virtual Interval GetAnimRange() { return animRange; }
    virtual void SetAnimRange(Interval range) { animRange = range; }
    virtual Renderer* GetCurrentRenderer() { return currentRenderer; }
    virtual void AssignCurRenderer(Renderer* renderer) { currentRenderer = renderer; }
    // In quiet mode the host and its plug-ins show no dialogs.
    virtual BOOL GetQuietMode() { return quietMode; }
    virtual void SetQuietMode(BOOL quiet) { quietMode = quiet; }
    virtual HWND GetMAXHWnd() { return mainWindow; }
    virtual void SetMAXHWnd(HWND window) { mainWindow = window; }
    // Modeless dialogs register so that the host can route keyboard messages to them.
    virtual void RegisterDlgWnd(HWND window);
    virtual int UnRegisterDlgWnd(HWND window);
    const std::vector<HWND>& RegisteredDialogs() const { return dialogs; }

private:
    std::atomic<TimeValue> currentTime{0};
    Interval animRange{0, 100 * (TIME_TICKSPERSEC / 30)};
    Renderer* currentRenderer = nullptr;
    BOOL quietMode = FALSE;
    HWND mainWindow = nullptr;
    std::vector<HWND> dialogs;
};

// The object-level editing interface handed to BeginEditParams.
class SDK_API IObjParam : public Interface {
public:
    ~IObjParam() override;
};

SDK_API Interface* GetCOREInterface();

#pragma once

// The material-editor window shared by the "edit" and "screenshot" commands (Windows build): one top-level
// window whose client area holds the map's sample slot above a rollup window with the map's rollouts, with
// a File menu that opens and saves scenes.
#include "host/edit/material_editor.h"
#include "host/edit/sample_slot_view.h"
#include "host/edit/time_controls.h"

#include "hostsdk/param_dlg.h"
#include "hostsdk/rollup_window.h"

#include <windows.h>

#include <memory>
#include <ostream>
#include <string>

namespace host {

// The File menu's commands.
constexpr UINT kMenuSave = 40001;
constexpr UINT kMenuSaveAs = 40002;
constexpr UINT kMenuExit = 40003;
constexpr UINT kMenuOpen = 40004;

// The window class of a window ("Button", "ComboBox", a custom control's).
std::wstring WindowClassName(HWND window);

class MapWatcher;

class MaterialEditor {
public:
    explicit MaterialEditor(EditorSession& session);
    MaterialEditor(const MaterialEditor&) = delete;
    MaterialEditor& operator=(const MaterialEditor&) = delete;
    ~MaterialEditor();

    // Creates the window, its sample slot, time controls and the map's rollouts, shown or not; false with a
    // message when a part cannot be created.
    bool Open(bool show, std::ostream& err);
    void Close();

    HWND Window() const { return window; }
    HWND Rollup() const { return rollup; }
    HWND ParametersRollout() const { return Rollout(0); }
    HWND AboutRollout() const { return Rollout(1); }

    // The control with that ID in the map's rollouts; the parameters rollout is searched first, since the
    // About rollout repeats one of its IDs.
    HWND FindControl(int id) const;

    // A person's use of the time controls.
    void GoToFrame(int frame) { time.GoToFrame(frame); }
    void SetAnimate(bool on) { time.SetAnimate(on); }

    // Handles the messages waiting for the editor's windows, without waiting for more.
    void PumpMessages();

    // Writes the scene to `file`; the problem (naming the file and the system's reason), empty when saved.
    std::string Save(const std::string& file);

private:
    // The rollout of the map's parameter map with that ID.
    HWND Rollout(int mapId) const;
    // What the host does after the map announced a change: the map's update at the current time (which
    // extracts the palette of a newly chosen picture), then a new picture of the sample slot.
    void MapChanged();
    // The time slider moved: the rollouts show the values at the new time, and the map is updated and its
    // slot rendered at it, as the host does.
    void TimeChanged();
    // The title names the scene file and marks changes not saved yet with an asterisk.
    void ShowTitle();
    bool HasUnsavedChanges();

    // Asks for a scene file to write, or to read; empty when the person cancels.
    std::string AskForSceneFile(bool toOpen) const;
    // File > Open...: the editor closes, once the person agreed, and the command opens the chosen scene.
    void OpenFromMenu();
    void SaveFromMenu(bool askForName);
    // False when the person cancels closing.
    bool AgreeToClose();

    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    EditorSession& session;
    HWND window = nullptr;
    HWND rollup = nullptr;
    std::unique_ptr<RollupMtlParams> params;
    ParamDlg* dialog = nullptr;
    std::string savedScene;
    SampleSlotView slot;
    TimeControls time;
    std::unique_ptr<MapWatcher> watcher;
};

// Replays one action on the editor's controls; returns the problem, empty when it was done.
std::string ReplayEditAction(MaterialEditor& editor, EditorSession& session, const EditAction& action,
                             std::ostream& out);

} // namespace host

#pragma once

// The material-editor window shared by the "edit" and "screenshot" commands (Windows build): one top-level
// window whose client area is a rollup window holding the map's rollouts, with a File menu that saves.
#include "host/edit/material_editor.h"
#include "host/scene_file.h"
#include "host/text.h"

#include "hostsdk/core_interface.h"
#include "hostsdk/custom_controls.h"
#include "hostsdk/param_map.h"
#include "hostsdk/rollup_window.h"

#include <windows.h>

#include <commdlg.h>

#include <filesystem>
#include <memory>
#include <sstream>
#include <string>

namespace host {

constexpr UINT kMenuSave = 40001;
constexpr UINT kMenuSaveAs = 40002;
constexpr UINT kMenuExit = 40003;
constexpr const wchar_t* kEditorClass = L"ChromasiftMaterialEditor";
constexpr int kEditorWidth = 440;
constexpr int kEditorHeight = 820;

inline std::wstring WindowClassName(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

class MaterialEditor {
public:
    explicit MaterialEditor(EditorSession& session) : session(session) {}
    MaterialEditor(const MaterialEditor&) = delete;
    MaterialEditor& operator=(const MaterialEditor&) = delete;
    ~MaterialEditor() { Close(); }

    bool Open(bool show, std::ostream& err) {
        InitCustomControls();
        RegisterEditorClass();
        window = CreateWindowExW(0, kEditorClass, L"Material Editor - Chromasift", WS_OVERLAPPEDWINDOW,
                                 CW_USEDEFAULT, CW_USEDEFAULT, kEditorWidth, kEditorHeight, nullptr,
                                 EditorMenu(), GetModuleHandleW(nullptr), this);
        if (window == nullptr) {
            err << "chromasift: the editor window could not be created\n";
            return false;
        }
        RECT client;
        GetClientRect(window, &client);
        rollup =
            CreateWindowExW(0, ROLLUPWINDOWCLASS, L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL, 0, 0, client.right,
                            client.bottom, window, nullptr, GetModuleHandleW(nullptr), nullptr);
        if (rollup == nullptr) {
            err << "chromasift: the rollup window could not be created\n";
            return false;
        }
        GetCOREInterface()->SetMAXHWnd(window);
        params = std::make_unique<RollupMtlParams>(rollup);
        dialog = session.map.CreateParamDlg(window, params.get());
        if (dialog == nullptr) {
            err << "chromasift: the map's rollouts could not be created\n";
            return false;
        }
        savedScene = SceneToJson(session.scene);
        if (show) {
            ShowWindow(window, SW_SHOWNORMAL);
            UpdateWindow(window);
        }
        return true;
    }

    void Close() {
        if (dialog != nullptr)
            dialog->DeleteThis();
        dialog = nullptr;
        if (window != nullptr)
            DestroyWindow(window);
        window = nullptr;
        if (GetCOREInterface()->GetMAXHWnd() == window)
            GetCOREInterface()->SetMAXHWnd(nullptr);
    }

    HWND Window() const { return window; }

    // The control with that ID in the map's rollouts; the parameters rollout is searched first, since the
    // About rollout repeats one of its IDs.
    HWND FindControl(int id) const {
        IRollupWindow* panels = GetIRollup(rollup);
        if (panels == nullptr)
            return nullptr;
        HWND found = nullptr;
        for (int pass = 0; pass < 2 && found == nullptr; ++pass)
            for (int i = 0; i < panels->GetNumPanels() && found == nullptr; ++i) {
                HWND panel = panels->GetPanelDlg(i);
                if ((pass == 0) == (panel == ParametersRollout()))
                    found = GetDlgItem(panel, id);
            }
        ReleaseIRollup(panels);
        return found;
    }

    // Runs what the host runs when the editor is idle: the map's update, which extracts a palette from a
    // newly chosen picture.
    void Idle() {
        Interval valid = FOREVER;
        session.map.Update(GetCOREInterface()->GetTime(), valid);
    }

    void PumpMessages() {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Idle();
    }

    bool Save(const std::string& file, std::ostream& err) {
        try {
            SaveScene(session.scene, PathFromUtf8(file));
        } catch (const std::exception& error) {
            err << "chromasift: " << error.what() << "\n";
            return false;
        }
        savedScene = SceneToJson(session.scene);
        return true;
    }

    bool HasUnsavedChanges() { return SceneToJson(session.scene) != savedScene; }

    HWND Rollup() const { return rollup; }

    HWND ParametersRollout() const { return Rollout(0); }
    HWND AboutRollout() const { return Rollout(1); }

    // The rollout of the map's parameter map with that ID.
    HWND Rollout(int mapId) const {
        auto* master = dynamic_cast<IAutoMParamDlg*>(dialog);
        if (master == nullptr)
            return nullptr;
        for (int i = 0; i < master->NumMaps(); ++i)
            if (master->GetMap(i)->GetMapID() == mapId)
                return master->GetMap(i)->GetHWnd();
        return nullptr;
    }

private:
    static HMENU EditorMenu() {
        HMENU file = CreatePopupMenu();
        AppendMenuW(file, MF_STRING, kMenuSave, L"&Save\tCtrl+S");
        AppendMenuW(file, MF_STRING, kMenuSaveAs, L"Save &As...");
        AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(file, MF_STRING, kMenuExit, L"E&xit");
        HMENU bar = CreateMenu();
        AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
        return bar;
    }

    static void RegisterEditorClass() {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = WindowProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = kEditorClass;
        RegisterClassExW(&windowClass); // fails harmlessly when registered already
    }

    // Asks for a file name; empty when the person cancels.
    std::string AskForSceneFile() const {
        wchar_t file[MAX_PATH] = L"scene.json";
        OPENFILENAMEW request{};
        request.lStructSize = sizeof(request);
        request.hwndOwner = window;
        request.lpstrFilter = L"Scene files (*.json)\0*.json\0All files\0*.*\0";
        request.lpstrFile = file;
        request.nMaxFile = MAX_PATH;
        request.lpstrDefExt = L"json";
        request.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST;
        return GetSaveFileNameW(&request) ? PathToUtf8(std::filesystem::path(file)) : std::string();
    }

    void SaveFromMenu(bool askForName) {
        std::string file = askForName || session.saveTo.empty() ? AskForSceneFile() : session.saveTo;
        if (file.empty())
            return;
        std::ostringstream problem;
        if (Save(file, problem)) {
            session.saveTo = file;
        } else {
            const std::wstring text = FromUtf8(problem.str());
            MessageBoxW(window, text.c_str(), L"Save", MB_OK | MB_ICONERROR);
        }
    }

    // False when the person cancels closing.
    bool AgreeToClose() {
        if (!HasUnsavedChanges())
            return true;
        switch (MessageBoxW(window, L"Save the changes to the scene?", L"Material Editor",
                            MB_YESNOCANCEL | MB_ICONQUESTION)) {
        case IDYES:
            SaveFromMenu(false);
            return !HasUnsavedChanges();
        case IDNO:
            return true;
        default:
            return false;
        }
    }

    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE)
            SetWindowLongPtrW(
                hwnd, GWLP_USERDATA,
                reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
        auto* editor = reinterpret_cast<MaterialEditor*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (editor == nullptr)
            return DefWindowProcW(hwnd, message, wParam, lParam);
        switch (message) {
        case WM_SIZE:
            if (editor->rollup != nullptr)
                MoveWindow(editor->rollup, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
            return 0;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
            case kMenuSave:
                editor->SaveFromMenu(false);
                return 0;
            case kMenuSaveAs:
                editor->SaveFromMenu(true);
                return 0;
            case kMenuExit:
                PostMessageW(hwnd, WM_CLOSE, 0, 0);
                return 0;
            default:
                break;
            }
            break;
        case WM_CLOSE:
            if (editor->AgreeToClose())
                PostQuitMessage(0);
            return 0;
        default:
            break;
        }
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }

    EditorSession& session;
    HWND window = nullptr;
    HWND rollup = nullptr;
    std::unique_ptr<RollupMtlParams> params;
    ParamDlg* dialog = nullptr;
    std::string savedScene;
};

// Replays one action on the editor's controls; returns the problem, empty when it was done.
std::string ReplayEditAction(MaterialEditor& editor, EditorSession& session, const EditAction& action,
                             std::ostream& out);

} // namespace host

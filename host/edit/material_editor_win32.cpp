#include "host/edit/material_editor.h"

#include "host/scene_file.h"
#include "host/text.h"

#include "hostsdk/core_interface.h"
#include "hostsdk/custom_controls.h"
#include "hostsdk/file_chooser.h"
#include "hostsdk/param_map.h"
#include "hostsdk/rollup_window.h"

#include <windows.h>

#include <commdlg.h>

#include <filesystem>
#include <memory>
#include <sstream>

namespace host {
namespace {

constexpr UINT kMenuSave = 40001;
constexpr UINT kMenuSaveAs = 40002;
constexpr UINT kMenuExit = 40003;
constexpr const wchar_t* kEditorClass = L"ChromasiftMaterialEditor";
constexpr int kEditorWidth = 440;
constexpr int kEditorHeight = 820;

std::wstring WindowClassName(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

// The material editor: one top-level window whose client area is a rollup window holding the map's
// rollouts.
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

private:
    HWND ParametersRollout() const {
        auto* master = dynamic_cast<IAutoMParamDlg*>(dialog);
        if (master == nullptr)
            return nullptr;
        for (int i = 0; i < master->NumMaps(); ++i)
            if (master->GetMap(i)->GetMapID() == 0)
                return master->GetMap(i)->GetHWnd();
        return nullptr;
    }

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

// Replays one action; returns the problem, empty when it was done.
std::string Replay(MaterialEditor& editor, EditorSession& session, const EditAction& action,
                   std::ostream& out) {
    const auto control = [&](int id, HWND& found) -> std::string {
        found = editor.FindControl(id);
        if (found == nullptr)
            return "the map's rollouts have no control " + std::to_string(id);
        // The control's own style: a script's editor window is never shown.
        if ((GetWindowLongW(found, GWL_STYLE) & WS_VISIBLE) == 0)
            return "control " + std::to_string(id) + " is hidden";
        return std::string();
    };
    HWND target = nullptr;
    switch (action.kind) {
    case EditAction::Kind::Click: {
        if (std::string problem = control(action.control, target); !problem.empty())
            return problem;
        const std::wstring kind = WindowClassName(target);
        if (_wcsicmp(kind.c_str(), L"Button") == 0) {
            SendMessageW(target, BM_CLICK, 0, 0);
        } else if (kind == CUSTBUTTONWINDOWCLASS) {
            RECT rect;
            GetClientRect(target, &rect);
            const LPARAM centre = MAKELPARAM(rect.right / 2, rect.bottom / 2);
            SendMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, centre);
            SendMessageW(target, WM_LBUTTONUP, 0, centre);
        } else {
            return "control " + std::to_string(action.control) + " is not a button";
        }
        break;
    }
    case EditAction::Kind::Spinner: {
        if (std::string problem = control(action.control, target); !problem.empty())
            return problem;
        ISpinnerControl* spinner = GetISpinner(target);
        if (spinner == nullptr)
            return "control " + std::to_string(action.control) + " is not a spinner";
        spinner->SetValue(static_cast<float>(action.value), TRUE);
        ReleaseISpinner(spinner);
        break;
    }
    case EditAction::Kind::Choose: {
        if (std::string problem = control(action.control, target); !problem.empty())
            return problem;
        if (_wcsicmp(WindowClassName(target).c_str(), L"ComboBox") != 0)
            return "control " + std::to_string(action.control) + " is not a list";
        const std::wstring item = FromUtf8(action.text);
        const LRESULT index = SendMessageW(target, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                           reinterpret_cast<LPARAM>(item.c_str()));
        if (index == CB_ERR)
            return "list " + std::to_string(action.control) + " has no item '" + action.text + "'";
        SendMessageW(target, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        SendMessageW(GetParent(target), WM_COMMAND, MAKEWPARAM(action.control, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(target));
        break;
    }
    case EditAction::Kind::Bitmap: {
        const std::filesystem::path file = std::filesystem::absolute(PathFromUtf8(action.text));
        if (!std::filesystem::is_regular_file(file))
            return action.text + ": no such file";
        constexpr int kBitmapButton = 1030;
        if (std::string problem = control(kBitmapButton, target); !problem.empty())
            return problem;
        const MSTR chosenFile = file.wstring();
        BitmapFileChooser previous = SetBitmapFileChooser([&](HWND, const MSTR&, MSTR& chosen) {
            chosen = chosenFile;
            return true;
        });
        RECT rect;
        GetClientRect(target, &rect);
        const LPARAM centre = MAKELPARAM(rect.right / 2, rect.bottom / 2);
        SendMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, centre);
        SendMessageW(target, WM_LBUTTONUP, 0, centre);
        SetBitmapFileChooser(std::move(previous));
        break;
    }
    case EditAction::Kind::Save: {
        const std::string file = action.text.empty() ? session.saveTo : action.text;
        if (file.empty())
            return "save needs a file name: give one, or open a scene file, or use -o";
        std::ostringstream problem;
        if (!editor.Save(file, problem))
            return problem.str();
        out << "Saved " << file << "\n";
        break;
    }
    }
    editor.PumpMessages();
    return std::string();
}

} // namespace

int RunMaterialEditor(EditorSession& session, std::ostream& err) {
    MaterialEditor editor(session);
    if (!editor.Open(true, err))
        return 1;
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_KEYDOWN && message.wParam == 'S' &&
            (GetKeyState(VK_CONTROL) & 0x8000) != 0) {
            SendMessageW(editor.Window(), WM_COMMAND, kMenuSave, 0);
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
        if (!PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE))
            editor.Idle();
    }
    return 0;
}

int ReplayEditScript(EditorSession& session, const std::vector<EditAction>& actions, std::ostream& out,
                     std::ostream& err) {
    // A script runs without a person to answer message boxes.
    GetCOREInterface()->SetQuietMode(TRUE);
    MaterialEditor editor(session);
    if (!editor.Open(false, err))
        return 1;
    editor.PumpMessages();
    for (const EditAction& action : actions) {
        const std::string problem = Replay(editor, session, action, out);
        if (!problem.empty()) {
            err << "chromasift: script line " << action.line << ": " << problem << "\n";
            return 1;
        }
    }
    return 0;
}

} // namespace host

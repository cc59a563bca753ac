#include "host/edit/material_editor_window.h"

#include "host/base/text.h"
#include "host/scene/scene_file.h"

#include "hostsdk/core_interface.h"
#include "hostsdk/custom_control_messages.h"
#include "hostsdk/custom_controls.h"
#include "hostsdk/param_map.h"
#include "hostsdk/references.h"

#include <commdlg.h>

#include <algorithm>
#include <filesystem>

namespace host {

namespace {

constexpr const wchar_t* kEditorClass = L"ChromasiftMaterialEditor";
constexpr int kEditorWidth = 440;
constexpr int kEditorHeight = 820 + SampleSlotView::kHeight;
// Posted to the editor window when the map announced a change to its dependents.
constexpr UINT kMapChanged = WM_APP + 2;

HMENU EditorMenu() {
    HMENU file = CreatePopupMenu();
    AppendMenuW(file, MF_STRING, kMenuOpen, L"&Open...");
    AppendMenuW(file, MF_STRING, kMenuSave, L"&Save\tCtrl+S");
    AppendMenuW(file, MF_STRING, kMenuSaveAs, L"Save &As...");
    AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(file, MF_STRING, kMenuExit, L"E&xit");
    HMENU bar = CreateMenu();
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
    return bar;
}

} // namespace

// The editor's reference to the map: the map announces its changes to its dependents, and the editor, like
// the host's, then updates the map and renders its sample slot again. One message stands for any number of
// changes announced before it is handled.
class MapWatcher : public ReferenceMaker {
public:
    MapWatcher(HWND window, Texmap& map) : window(window) { ReplaceReference(0, &map, FALSE); }
    MapWatcher(const MapWatcher&) = delete;
    MapWatcher& operator=(const MapWatcher&) = delete;
    ~MapWatcher() override { ReplaceReference(0, nullptr, FALSE); }

    // A reference maker of the host's own, never stored or shown: its super class is the generic one.
    SClass_ID SuperClassID() override { return REF_TARGET_CLASS_ID; }
    int NumRefs() override { return 1; }
    RefTargetHandle GetReference(int i) override { return i == 0 ? map : nullptr; }
    RefResult NotifyRefChanged(const Interval&, RefTargetHandle, PartID&, RefMessage message, BOOL) override {
        if (message == REFMSG_CHANGE && !posted)
            posted = PostMessageW(window, kMapChanged, 0, 0) != 0;
        return REF_SUCCEED;
    }
    // Called when the posted message is handled: later changes post a new one.
    void Handled() { posted = false; }

protected:
    void SetReference(int i, RefTargetHandle target) override {
        if (i == 0)
            map = target;
    }

private:
    HWND window;
    RefTargetHandle map = nullptr;
    bool posted = false;
};

std::wstring WindowClassName(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

MaterialEditor::MaterialEditor(EditorSession& session) : session(session) {}

MaterialEditor::~MaterialEditor() {
    Close();
}

bool MaterialEditor::Open(bool show, std::ostream& err) {
    InitCustomControls();
    // Registering again fails harmlessly.
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kEditorClass;
    RegisterClassExW(&windowClass);
    window = CreateWindowExW(0, kEditorClass, L"Material Editor - Chromasift", WS_OVERLAPPEDWINDOW,
                             CW_USEDEFAULT, CW_USEDEFAULT, kEditorWidth, kEditorHeight, nullptr, EditorMenu(),
                             GetModuleHandleW(nullptr), this);
    if (window == nullptr) {
        err << "chromasift: the editor window could not be created\n";
        return false;
    }
    if (!slot.Create(window)) {
        err << "chromasift: the sample slot could not be created\n";
        return false;
    }
    if (!time.Create(window, SampleSlotView::kMargin * 3 + SampleSlotView::kSlotSize + 4,
                     SampleSlotView::kMargin + 66)) {
        err << "chromasift: the time controls could not be created\n";
        return false;
    }
    RECT client;
    GetClientRect(window, &client);
    rollup = CreateWindowExW(0, ROLLUPWINDOWCLASS, L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL, 0,
                             SampleSlotView::kHeight, client.right, client.bottom - SampleSlotView::kHeight,
                             window, nullptr, GetModuleHandleW(nullptr), nullptr);
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
    ShowTitle();
    watcher = std::make_unique<MapWatcher>(window, session.map);
    slot.Render(session.map, GetCOREInterface()->GetTime());
    if (show) {
        ShowWindow(window, SW_SHOWNORMAL);
        UpdateWindow(window);
    }
    return true;
}

void MaterialEditor::Close() {
    // The render thread lets go of the map before anything of it goes away.
    slot.Stop();
    watcher.reset();
    if (dialog != nullptr)
        dialog->DeleteThis();
    dialog = nullptr;
    // The host's main window is this one no more: message boxes must not name a destroyed owner.
    if (window != nullptr && GetCOREInterface()->GetMAXHWnd() == window)
        GetCOREInterface()->SetMAXHWnd(nullptr);
    if (window != nullptr)
        DestroyWindow(window);
    window = nullptr;
}

HWND MaterialEditor::FindControl(int id) const {
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

void MaterialEditor::MapChanged() {
    if (watcher != nullptr)
        watcher->Handled();
    const TimeValue now = GetCOREInterface()->GetTime();
    Interval valid = FOREVER;
    session.map.Update(now, valid);
    slot.Render(session.map, now);
    ShowTitle();
}

void MaterialEditor::TimeChanged() {
    if (dialog != nullptr)
        dialog->ReloadDialog();
    MapChanged();
}

void MaterialEditor::ShowTitle() {
    const std::string name = session.saveTo.empty() ? std::string("Untitled")
                                                    : PathToUtf8(PathFromUtf8(session.saveTo).filename());
    const std::wstring title =
        FromUtf8(name + (HasUnsavedChanges() ? " *" : "") + " - Material Editor - Chromasift");
    SetWindowTextW(window, title.c_str());
}

void MaterialEditor::PumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

std::string MaterialEditor::Save(const std::string& file) {
    try {
        SaveScene(session.scene, PathFromUtf8(file));
    } catch (const std::exception& error) {
        return error.what();
    }
    savedScene = SceneToJson(session.scene);
    if (window != nullptr)
        ShowTitle();
    return std::string();
}

bool MaterialEditor::HasUnsavedChanges() {
    return SceneToJson(session.scene) != savedScene;
}

HWND MaterialEditor::Rollout(int mapId) const {
    auto* master = dynamic_cast<IAutoMParamDlg*>(dialog);
    if (master == nullptr)
        return nullptr;
    for (int i = 0; i < master->NumMaps(); ++i)
        if (master->GetMap(i)->GetMapID() == mapId)
            return master->GetMap(i)->GetHWnd();
    return nullptr;
}

std::string MaterialEditor::AskForSceneFile(bool toOpen) const {
    wchar_t file[MAX_PATH] = L"scene.json";
    if (toOpen)
        file[0] = L'\0';
    OPENFILENAMEW request{};
    request.lStructSize = sizeof(request);
    request.hwndOwner = window;
    request.lpstrFilter = L"Scene files (*.json)\0*.json\0All files\0*.*\0";
    request.lpstrFile = file;
    request.nMaxFile = MAX_PATH;
    request.lpstrDefExt = L"json";
    request.lpstrTitle = toOpen ? L"Open Scene" : L"Save Scene As";
    request.Flags = toOpen ? OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY
                           : OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST;
    const BOOL chosen = toOpen ? GetOpenFileNameW(&request) : GetSaveFileNameW(&request);
    return chosen ? PathToUtf8(std::filesystem::path(file)) : std::string();
}

void MaterialEditor::OpenFromMenu() {
    const std::string file = AskForSceneFile(true);
    if (file.empty() || !AgreeToClose())
        return;
    session.openNext = file;
    PostQuitMessage(0);
}

void MaterialEditor::SaveFromMenu(bool askForName) {
    std::string file = askForName || session.saveTo.empty() ? AskForSceneFile(false) : session.saveTo;
    if (file.empty())
        return;
    if (const std::string problem = Save(file); problem.empty()) {
        session.saveTo = file;
    } else {
        const std::wstring text = FromUtf8(problem);
        MessageBoxW(window, text.c_str(), L"Save", MB_OK | MB_ICONERROR);
    }
}

bool MaterialEditor::AgreeToClose() {
    if (!HasUnsavedChanges())
        return true;
    switch (MessageBoxW(window, L"Save the changes to the scene?", L"Unsaved changes",
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

LRESULT CALLBACK MaterialEditor::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
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
            MoveWindow(editor->rollup, 0, SampleSlotView::kHeight, LOWORD(lParam),
                       std::max(HIWORD(lParam) - SampleSlotView::kHeight, 0), TRUE);
        return 0;
    case kMapChanged:
        editor->MapChanged();
        return 0;
    case kSlotPictureReady:
        editor->slot.ShowFinishedPicture();
        return 0;
    case WM_MOUSEWHEEL:
        // The wheel scrolls the rollouts wherever the pointer is in the editor.
        if (editor->rollup != nullptr)
            SendMessageW(editor->rollup, message, wParam, lParam);
        return 0;
    case CC_SPINNER_CHANGE:
        if (editor->time.SpinnerChanged(LOWORD(wParam)))
            editor->TimeChanged();
        return 0;
    case WM_COMMAND:
        if (editor->time.Command(LOWORD(wParam), HIWORD(wParam)))
            return 0;
        if (editor->slot.Command(LOWORD(wParam), HIWORD(wParam))) {
            editor->slot.Render(editor->session.map, GetCOREInterface()->GetTime());
            return 0;
        }
        switch (LOWORD(wParam)) {
        case kMenuOpen:
            editor->OpenFromMenu();
            return 0;
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

} // namespace host

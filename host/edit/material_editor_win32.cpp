#include "host/edit/material_editor.h"

#include "host/base/text.h"
#include "host/edit/material_editor_window.h"
#include "plugin/resource_ids.h"

#include "hostsdk/anim_time.h"
#include "hostsdk/core_interface.h"
#include "hostsdk/custom_controls.h"
#include "hostsdk/file_chooser.h"

#include <filesystem>
#include <ostream>

namespace host {

std::string ReplayEditAction(MaterialEditor& editor, EditorSession& session, const EditAction& action,
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
        if (std::string problem = control(IDC_BITMAP_BUTTON, target); !problem.empty())
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
    case EditAction::Kind::Time: {
        // The slider, and so the frame spinner, reaches only over the animation range.
        const int frame = static_cast<int>(action.value);
        const Interval range = GetCOREInterface()->GetAnimRange();
        if (FramesToTicks(frame) < range.Start() || FramesToTicks(frame) > range.End())
            return "frame " + std::to_string(frame) + " lies outside the animation range, frames " +
                   std::to_string(range.Start() / GetTicksPerFrame()) + " to " +
                   std::to_string(range.End() / GetTicksPerFrame());
        editor.GoToFrame(frame);
        break;
    }
    case EditAction::Kind::Animate:
        editor.SetAnimate(action.value != 0.0);
        break;
    case EditAction::Kind::Save: {
        const std::string file = action.text.empty() ? session.saveTo : action.text;
        if (file.empty())
            return "save needs a file name: give one, or open a scene file, or use -o";
        if (std::string problem = editor.Save(file); !problem.empty())
            return problem;
        out << "Saved " << file << "\n";
        break;
    }
    }
    editor.PumpMessages();
    return std::string();
}

bool HasWindowSystem() {
    return true;
}

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
        const std::string problem = ReplayEditAction(editor, session, action, out);
        if (!problem.empty()) {
            err << "chromasift: script line " << action.line << ": " << problem << "\n";
            return 1;
        }
    }
    return 0;
}

} // namespace host

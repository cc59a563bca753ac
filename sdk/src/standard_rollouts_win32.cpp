#include "standard_rollouts.h"

#include "custom_controls_internal.h"
#include "standard_rollout_ids.h"

#include "hostsdk/core_interface.h"
#include "hostsdk/rollup_window.h"

#include <algorithm>
#include <functional>
#include <numbers>
#include <vector>

namespace {

// One spinner of a rollout and the setting it edits.
struct SpinnerField {
    int edit;
    int spinner;
    EditSpinnerType type;
    float low;
    float high;
    float step;
    std::function<float()> get;
    std::function<void(float)> set;
};

// A rollout of one standard object in the editor's rollup window. Its controls always show the object's
// settings: they are read from the object whenever the rollout opens or the object changes.
class SettingsRollout : public ParamDlg {
public:
    SettingsRollout(ReferenceTarget& object, IRollupWindow* rollup) : object(&object), rollup(rollup) {
        OpenRollouts().push_back(this);
    }
    ~SettingsRollout() override {
        auto& open = OpenRollouts();
        open.erase(std::remove(open.begin(), open.end(), this), open.end());
        if (window != nullptr && rollup != nullptr) {
            const int index = rollup->GetPanelIndex(window);
            if (index >= 0)
                rollup->DeleteRollup(index, 1);
        }
    }

    Class_ID ClassID() override { return object->ClassID(); }
    void SetThing(ReferenceTarget* thing) override {
        object = thing;
        ReloadDialog();
    }
    ReferenceTarget* GetThing() override { return object; }
    void ReloadDialog() override {
        if (window == nullptr)
            return;
        for (const SpinnerField& field : spinners)
            if (ISpinnerControl* spinner = GetISpinner(GetDlgItem(window, field.spinner)))
                spinner->SetValue(field.get(), FALSE);
        ShowOtherControls();
    }
    void DeleteThis() override { delete this; }

    // Appends the rollout; false when the dialog could not be created.
    bool Open(int dialogTemplate, const wchar_t* title) {
        return rollup != nullptr &&
               rollup->AppendRollup(hostsdk_controls::SdkModule(), MAKEINTRESOURCEW(dialogTemplate),
                                    Procedure, title, reinterpret_cast<LPARAM>(this)) >= 0;
    }

    static std::vector<SettingsRollout*>& OpenRollouts() {
        static std::vector<SettingsRollout*> open;
        return open;
    }

protected:
    virtual void ShowOtherControls() {}
    virtual void Command(int /*control*/) {}

    ReferenceTarget* object;
    std::vector<SpinnerField> spinners;
    HWND window = nullptr;

private:
    static INT_PTR CALLBACK Procedure(HWND dlg, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_INITDIALOG) {
            SetWindowLongPtrW(dlg, DWLP_USER, lParam);
            auto* rollout = reinterpret_cast<SettingsRollout*>(lParam);
            rollout->window = dlg;
            rollout->SetUpSpinners();
            rollout->ReloadDialog();
            return TRUE;
        }
        auto* rollout = reinterpret_cast<SettingsRollout*>(GetWindowLongPtrW(dlg, DWLP_USER));
        if (rollout == nullptr)
            return FALSE;
        switch (message) {
        case CC_SPINNER_CHANGE:
            for (const SpinnerField& field : rollout->spinners)
                if (field.spinner == LOWORD(wParam))
                    if (ISpinnerControl* spinner = GetISpinner(GetDlgItem(dlg, field.spinner)))
                        field.set(field.type == EDITTYPE_INT ? static_cast<float>(spinner->GetIVal())
                                                             : spinner->GetFVal());
            return TRUE;
        case WM_COMMAND:
            rollout->Command(LOWORD(wParam));
            return TRUE;
        case WM_DESTROY:
            rollout->window = nullptr;
            SetWindowLongPtrW(dlg, DWLP_USER, 0);
            return FALSE;
        default:
            return FALSE;
        }
    }

    void SetUpSpinners() {
        for (const SpinnerField& field : spinners) {
            ISpinnerControl* spinner = GetISpinner(GetDlgItem(window, field.spinner));
            if (spinner == nullptr)
                continue;
            spinner->LinkToEdit(GetDlgItem(window, field.edit), field.type);
            if (field.type == EDITTYPE_INT)
                spinner->SetLimits(static_cast<int>(field.low), static_cast<int>(field.high), FALSE);
            else
                spinner->SetLimits(field.low, field.high, FALSE);
            spinner->SetScale(field.step);
        }
    }

    IRollupWindow* rollup;
};

constexpr float kDegrees = 180.0f / std::numbers::pi_v<float>;
constexpr const wchar_t* kSources[] = {L"Object XYZ", L"Explicit Map Channel", L"Vertex Color Channel",
                                       L"World XYZ"};

class CoordinatesRollout : public SettingsRollout {
public:
    CoordinatesRollout(StdXYZGen& coordinates, IRollupWindow* rollup)
        : SettingsRollout(coordinates, rollup), coordinates(coordinates) {
        spinners.push_back({IDC_COORD_CHANNEL_EDIT, IDC_COORD_CHANNEL_SPIN, EDITTYPE_INT, 1.0f, 99.0f, 1.0f,
                            [this] { return static_cast<float>(this->coordinates.GetMapChannel()); },
                            [this](float v) { this->coordinates.SetMapChannel(static_cast<int>(v)); }});
        for (int axis = 0; axis < 3; ++axis) {
            const auto id = [axis](int kind) { return IDC_COORD_FIRST_FIELD + 2 * (3 * kind + axis); };
            spinners.push_back({id(0), id(0) + 1, EDITTYPE_FLOAT, -1e6f, 1e6f, 0.01f,
                                [this, axis] { return this->coordinates.GetOffs(axis, Now()); },
                                [this, axis](float v) { this->coordinates.SetOffs(axis, v, Now()); }});
            spinners.push_back({id(1), id(1) + 1, EDITTYPE_FLOAT, -1e6f, 1e6f, 0.01f,
                                [this, axis] { return this->coordinates.GetScl(axis, Now()); },
                                [this, axis](float v) { this->coordinates.SetScl(axis, v, Now()); }});
            spinners.push_back(
                {id(2), id(2) + 1, EDITTYPE_FLOAT, -360000.0f, 360000.0f, 0.1f,
                 [this, axis] { return this->coordinates.GetAng(axis, Now()) * kDegrees; },
                 [this, axis](float v) { this->coordinates.SetAng(axis, v / kDegrees, Now()); }});
        }
    }

private:
    static TimeValue Now() { return GetCOREInterface()->GetTime(); }

    void ShowOtherControls() override {
        HWND sources = GetDlgItem(window, IDC_COORD_SOURCE);
        if (SendMessageW(sources, CB_GETCOUNT, 0, 0) == 0)
            for (const wchar_t* source : kSources)
                SendMessageW(sources, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(source));
        SendMessageW(sources, CB_SETCURSEL, static_cast<WPARAM>(coordinates.GetCoordSystem()), 0);
    }
    void Command(int control) override {
        if (control != IDC_COORD_SOURCE)
            return;
        const LRESULT chosen = SendDlgItemMessageW(window, IDC_COORD_SOURCE, CB_GETCURSEL, 0, 0);
        if (chosen >= 0 && chosen != coordinates.GetCoordSystem())
            coordinates.SetCoordSystem(static_cast<int>(chosen));
    }

    StdXYZGen& coordinates;
};

class OutputRollout : public SettingsRollout {
public:
    OutputRollout(TextureOutput& output, IRollupWindow* rollup)
        : SettingsRollout(output, rollup), output(output) {
        spinners.push_back(
            {IDC_OUTPUT_AMOUNT_EDIT, IDC_OUTPUT_AMOUNT_SPIN, EDITTYPE_FLOAT, 0.0f, 100.0f, 0.01f,
             [this] { return this->output.GetOutputLevel(GetCOREInterface()->GetTime()); },
             [this](float v) { this->output.SetOutputLevel(GetCOREInterface()->GetTime(), v); }});
    }

private:
    void ShowOtherControls() override {
        CheckDlgButton(window, IDC_OUTPUT_INVERT, output.GetInvert() ? BST_CHECKED : BST_UNCHECKED);
    }
    void Command(int control) override {
        if (control == IDC_OUTPUT_INVERT)
            output.SetInvert(IsDlgButtonChecked(window, IDC_OUTPUT_INVERT) == BST_CHECKED);
    }

    TextureOutput& output;
};

template <class Rollout, class Object>
ParamDlg* CreateRollout(Object& object, IMtlParams* params, int dialogTemplate, const wchar_t* title) {
    IRollupWindow* rollup = params == nullptr ? nullptr : params->GetMtlEditorRollup();
    if (rollup == nullptr)
        return new ThingParamDlg(object.ClassID(), &object);
    auto* rollout = new Rollout(object, rollup);
    if (!rollout->Open(dialogTemplate, title)) {
        delete rollout;
        return new ThingParamDlg(object.ClassID(), &object);
    }
    return rollout;
}

} // namespace

ParamDlg* CreateCoordinatesDlg(StdXYZGen& coordinates, IMtlParams* params) {
    return CreateRollout<CoordinatesRollout>(coordinates, params, IDD_STD_COORDINATES, L"Coordinates");
}

ParamDlg* CreateOutputDlg(TextureOutput& output, IMtlParams* params) {
    return CreateRollout<OutputRollout>(output, params, IDD_STD_OUTPUT, L"Output");
}

void ShowChangedSettings(ReferenceTarget* object) {
    for (SettingsRollout* rollout : SettingsRollout::OpenRollouts())
        if (rollout->GetThing() == object)
            rollout->ReloadDialog();
}

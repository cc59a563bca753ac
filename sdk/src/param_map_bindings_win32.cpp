// The controls of a rollout bound to parameters by the block descriptor's p_ui entries: set up once when
// the dialog opens, shown from the block, and stored into the block when the user changes them.
#include "param_map_bindings_win32.h"

#include "hostsdk/bitmap.h"
#include "hostsdk/class_desc.h"
#include "hostsdk/core_interface.h"
#include "hostsdk/custom_controls.h"
#include "hostsdk/file_chooser.h"
#include "hostsdk/mtl_base.h"

namespace {

// Limits of a spinner whose parameter declares no range.
constexpr int kIntNoLimit = 1 << 30;
constexpr float kFloatNoLimit = 1.0e30f;

// Spinners bind scalar parameters only: an edit and a spinner.
bool IsScalarSpinner(const ParamDef& def) {
    return def.controlType == TYPE_SPINNER && def.controlIds.size() == 2;
}

// The value stored when item `k` is chosen: its p_vals entry, else its position.
int ListValue(const ParamDef& def, int k) {
    return k >= 0 && static_cast<std::size_t>(k) < def.listValues.size()
               ? def.listValues[static_cast<std::size_t>(k)]
               : k;
}

template <class Visit> void ForEachBound(IParamMap2& map, Visit visit) {
    IParamBlock2* block = map.GetParamBlock();
    if (block == nullptr || map.GetHWnd() == nullptr)
        return;
    ParamBlockDesc2* desc = block->GetDesc();
    for (int i = 0; i < desc->Count(); ++i) {
        const ParamDef& def = desc->GetParamDefByIndex(i);
        if (def.hasUi && def.uiMapId == map.GetMapID() && !def.controlIds.empty() && !is_tab(def.type))
            visit(*block, def);
    }
}

void SetButtonText(HWND dlg, int id, const MSTR& text) {
    const HWND control = GetDlgItem(dlg, id);
    if (ICustButton* button = GetICustButton(control)) {
        button->SetText(text.c_str());
        ReleaseICustButton(button);
    } else if (control != nullptr) {
        SetWindowTextW(control, text.c_str());
    }
}

MSTR MapButtonText(Texmap* map) {
    if (map == nullptr)
        return L"None";
    if (map->GetName().empty()) {
        MSTR className;
        map->GetClassName(className);
        return className;
    }
    return map->GetFullName();
}

// The file's name without its folder, as the button has room for.
MSTR BitmapButtonText(const PBBitmap* bitmap) {
    const MSTR path = bitmap == nullptr || bitmap->bi.Name() == nullptr ? MSTR() : MSTR(bitmap->bi.Name());
    if (path.empty())
        return L"None";
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == MSTR::npos ? path : path.substr(slash + 1);
}

void SetUpSpinner(HWND dlg, const ParamDef& def) {
    ISpinnerControl* spinner = GetISpinner(GetDlgItem(dlg, def.controlIds[1]));
    if (spinner == nullptr)
        return;
    spinner->LinkToEdit(GetDlgItem(dlg, def.controlIds[0]), static_cast<EditSpinnerType>(def.editType));
    if (is_float_type(def.type)) {
        if (def.hasRange)
            spinner->SetLimits(static_cast<float>(def.rangeLow.f), static_cast<float>(def.rangeHigh.f),
                               FALSE);
        else
            spinner->SetLimits(-kFloatNoLimit, kFloatNoLimit, FALSE);
        spinner->SetResetValue(static_cast<float>(def.defaultValue.f));
    } else {
        if (def.hasRange)
            spinner->SetLimits(def.rangeLow.i, def.rangeHigh.i, FALSE);
        else
            spinner->SetLimits(-kIntNoLimit, kIntNoLimit, FALSE);
        spinner->SetResetValue(def.defaultValue.i);
    }
    spinner->SetScale(def.spinnerScale > 0.0 ? static_cast<float>(def.spinnerScale) : 1.0f);
    ReleaseISpinner(spinner);
}

void FillList(HWND dlg, ClassDesc* cd, const ParamDef& def) {
    const HWND list = GetDlgItem(dlg, def.controlIds[0]);
    if (list == nullptr)
        return;
    SendMessageW(list, CB_RESETCONTENT, 0, 0);
    // A sorted list puts items anywhere: each item carries its position in the descriptor's list.
    for (std::size_t k = 0; k < def.itemStrings.size(); ++k) {
        const MCHAR* text = cd == nullptr ? L"" : cd->GetRsrcString(def.itemStrings[k]);
        const LRESULT item = SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
        if (item >= 0)
            SendMessageW(list, CB_SETITEMDATA, static_cast<WPARAM>(item), static_cast<LPARAM>(k));
    }
}

void ShowParam(HWND dlg, IParamBlock2& block, const ParamDef& def, TimeValue t) {
    const std::vector<int>& ids = def.controlIds;
    switch (def.controlType) {
    case TYPE_SPINNER:
        if (IsScalarSpinner(def))
            if (ISpinnerControl* spinner = GetISpinner(GetDlgItem(dlg, ids[1]))) {
                if (is_float_type(def.type))
                    spinner->SetValue(block.GetFloat(def.id, t), FALSE);
                else
                    spinner->SetValue(block.GetInt(def.id, t), FALSE);
                ReleaseISpinner(spinner);
            }
        break;
    case TYPE_SINGLECHECKBOX:
        CheckDlgButton(dlg, ids[0], block.GetInt(def.id, t) != 0 ? BST_CHECKED : BST_UNCHECKED);
        break;
    case TYPE_INT_COMBOBOX: {
        const HWND list = GetDlgItem(dlg, ids[0]);
        const int value = block.GetInt(def.id, t);
        const LRESULT count = SendMessageW(list, CB_GETCOUNT, 0, 0);
        LRESULT selected = -1; // a value no item stores leaves the list without a selection
        for (LRESULT item = 0; item < count; ++item)
            if (ListValue(def, static_cast<int>(SendMessageW(list, CB_GETITEMDATA, static_cast<WPARAM>(item),
                                                             0))) == value)
                selected = item;
        SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
        break;
    }
    case TYPE_TEXMAPBUTTON:
        SetButtonText(dlg, ids[0], MapButtonText(block.GetTexmap(def.id, t)));
        break;
    case TYPE_BITMAPBUTTON:
        SetButtonText(dlg, ids[0], BitmapButtonText(block.GetBitmap(def.id, t)));
        break;
    default:
        break;
    }
}

void ChooseBitmap(HWND dlg, IParamBlock2& block, const ParamDef& def, TimeValue t) {
    const PBBitmap* current = block.GetBitmap(def.id, t);
    MSTR chosen;
    if (!ChooseBitmapFile(
            dlg, current == nullptr || current->bi.Name() == nullptr ? MSTR() : MSTR(current->bi.Name()),
            chosen))
        return;
    PBBitmap picked{BitmapInfo(chosen.c_str())};
    block.SetValue(def.id, t, &picked);
    // The parameter holds the loaded bitmap, as a bitmap chosen in the host's browser does; a file that
    // does not load leaves it with the name only.
    if (PBBitmap* stored = block.GetBitmap(def.id, t))
        stored->Load();
    ShowParam(dlg, block, def, t);
}

// Stores the user's change of a bound control; true when the message came from one.
bool StoreCommand(HWND dlg, IParamBlock2& block, const ParamDef& def, TimeValue t, int control, int code) {
    const std::vector<int>& ids = def.controlIds;
    switch (def.controlType) {
    case TYPE_SINGLECHECKBOX:
        if (ids[0] != control)
            return false;
        if (code == BN_CLICKED)
            block.SetValue(def.id, t, IsDlgButtonChecked(dlg, control) == BST_CHECKED ? 1 : 0);
        return true;
    case TYPE_INT_COMBOBOX:
        if (ids[0] != control)
            return false;
        if (code == CBN_SELCHANGE) {
            const LRESULT item = SendDlgItemMessageW(dlg, control, CB_GETCURSEL, 0, 0);
            if (item >= 0)
                block.SetValue(
                    def.id, t,
                    ListValue(def, static_cast<int>(SendDlgItemMessageW(dlg, control, CB_GETITEMDATA,
                                                                        static_cast<WPARAM>(item), 0))));
        }
        return true;
    case TYPE_BITMAPBUTTON:
        if (ids[0] != control)
            return false;
        if (code == BN_CLICKED)
            ChooseBitmap(dlg, block, def, t);
        return true;
    case TYPE_TEXMAPBUTTON:
        // Choosing a map needs the host's map browser; the button only shows the map.
        return ids[0] == control;
    default:
        return false;
    }
}

} // namespace

void SetUpBoundControls(IParamMap2& map) {
    const HWND dlg = map.GetHWnd();
    ForEachBound(map, [&](IParamBlock2& block, const ParamDef& def) {
        if (IsScalarSpinner(def))
            SetUpSpinner(dlg, def);
        else if (def.controlType == TYPE_INT_COMBOBOX)
            FillList(dlg, block.GetDesc()->ClassDescriptor(), def);
    });
}

void ShowBoundParams(IParamMap2& map, ParamID id) {
    const TimeValue t = GetCOREInterface()->GetTime();
    ForEachBound(map, [&](IParamBlock2& block, const ParamDef& def) {
        if (id < 0 || def.id == id)
            ShowParam(map.GetHWnd(), block, def, t);
    });
}

bool StoreFromBoundControl(IParamMap2& map, TimeValue t, UINT msg, WPARAM wParam) {
    bool handled = false;
    ForEachBound(map, [&](IParamBlock2& block, const ParamDef& def) {
        if (handled)
            return;
        if (msg == CC_SPINNER_CHANGE && IsScalarSpinner(def) && def.controlIds[1] == LOWORD(wParam)) {
            if (ISpinnerControl* spinner = GetISpinner(GetDlgItem(map.GetHWnd(), def.controlIds[1]))) {
                if (is_float_type(def.type))
                    block.SetValue(def.id, t, spinner->GetFVal());
                else
                    block.SetValue(def.id, t, spinner->GetIVal());
                ReleaseISpinner(spinner);
            }
            handled = true;
        } else if (msg == WM_COMMAND) {
            handled = StoreCommand(map.GetHWnd(), block, def, t, LOWORD(wParam), HIWORD(wParam));
        }
    });
    return handled;
}

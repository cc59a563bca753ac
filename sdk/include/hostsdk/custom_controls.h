#pragma once

// The host's custom controls (Windows build only): the window classes that dialog templates name as
// CONTROL classes, and the interfaces through which dialog code drives them.
//
// The classes are global (CS_GLOBALCLASS), so that templates in any module, plug-ins included, find them;
// they must be registered before the first dialog that names them is created. The host calls
// InitCustomControls at start; parameter-dialog creation calls it too, so that a host that forgot still
// works. The interfaces live as long as their window: Release* is accepted for symmetry and does nothing.
#include "hostsdk/custom_control_messages.h"
#include "hostsdk/max_types.h"
#include "hostsdk/param_types.h"
#include "hostsdk/sdk_api.h"

constexpr const wchar_t* CUSTEDITWINDOWCLASS = L"CustEdit";
constexpr const wchar_t* CUSTBUTTONWINDOWCLASS = L"CustButton";
constexpr const wchar_t* SPINNERWINDOWCLASS = L"SpinnerControl";
constexpr const wchar_t* ROLLUPWINDOWCLASS = L"RollupWindow";

// Registers CustEdit, CustButton, SpinnerControl and RollupWindow as global classes of the SDK library.
// TRUE when all four are registered (now or before).
SDK_API BOOL InitCustomControls();
// Unregisters them again; windows of these classes must be gone by then. Dialogs naming them then fail
// to create, as they do on a host that never registered them.
SDK_API void UnregisterCustomControls();

class SDK_API ICustomControl {
public:
    virtual ~ICustomControl();
    virtual HWND GetHwnd() = 0;
    virtual void Enable(BOOL onOff = TRUE) = 0;
    virtual void Disable() = 0;
    virtual BOOL IsEnabled() = 0;
};

// A spinner: a value kept within its limits, changed by clicking its upper or lower half (one step) or
// by dragging vertically (one step per pixel), shown in a linked edit field.
class SDK_API ISpinnerControl : public ICustomControl {
public:
    virtual float GetFVal() = 0;
    virtual int GetIVal() = 0;
    // The step of one click or one pixel of dragging.
    virtual void SetScale(float step) = 0;
    // Values are clamped into the limits; `notify` sends CC_SPINNER_CHANGE (HIWORD FALSE) to the parent.
    virtual void SetValue(float value, int notify) = 0;
    virtual void SetValue(int value, int notify) = 0;
    virtual void SetLimits(int min, int max, int limitCurValue = TRUE) = 0;
    virtual void SetLimits(float min, float max, int limitCurValue = TRUE) = 0;
    // Shows the value in `edit` (a CustEdit) and takes typed values from it; the edit type decides
    // whether the spinner counts in integers or floating point.
    virtual void LinkToEdit(HWND edit, EditSpinnerType type) = 0;
    // The value a right click on the idle spinner returns to.
    virtual void SetResetValue(float value) = 0;
    virtual void SetResetValue(int value) = 0;
};

// An edit field. A typed value is committed by Enter or by leaving the field: a linked spinner then
// takes it over; otherwise Enter is reported with WM_CUSTEDIT_ENTER when WantReturn is on.
class SDK_API ICustEdit : public ICustomControl {
public:
    virtual void GetText(MCHAR* buffer, int capacity) = 0;
    virtual void GetText(MSTR& text) = 0;
    virtual void SetText(const MCHAR* text) = 0;
    virtual void SetText(int value) = 0;
    virtual void SetText(float value, int precision = 3) = 0;
    // The text read as a number; *valid tells whether all of it was one.
    virtual int GetInt(BOOL* valid = nullptr) = 0;
    virtual float GetFloat(BOOL* valid = nullptr) = 0;
    virtual void WantReturn(BOOL yes) = 0;
    // TRUE once after Enter was pressed (reading clears it).
    virtual BOOL GotReturn() = 0;
};

enum CustButType { CBT_PUSH = 0, CBT_CHECK = 1 };

// A push button or a button that stays pressed (check type); a click sends WM_COMMAND BN_CLICKED.
class SDK_API ICustButton : public ICustomControl {
public:
    virtual void GetText(MSTR& text) = 0;
    virtual void SetText(const MCHAR* text) = 0;
    virtual void SetType(CustButType type) = 0;
    virtual BOOL IsChecked() = 0;
    virtual void SetCheck(BOOL checked) = 0;
};

// Null when the window is not a control of that class.
SDK_API ISpinnerControl* GetISpinner(HWND window);
SDK_API void ReleaseISpinner(ISpinnerControl* spinner);
SDK_API ICustEdit* GetICustEdit(HWND window);
SDK_API void ReleaseICustEdit(ICustEdit* edit);
SDK_API ICustButton* GetICustButton(HWND window);
SDK_API void ReleaseICustButton(ICustButton* button);

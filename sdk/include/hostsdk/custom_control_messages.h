#pragma once

// Messages the host's custom controls send to their parent dialog. Portable: dialog procedures that
// switch on them compile in every build, although only the Windows build has controls that send them.
#include "hostsdk/win32.h"

// A spinner's value changed. LOWORD(wParam): the spinner's control ID; HIWORD(wParam): TRUE while the
// user still holds the mouse button (dragging or auto-repeat), FALSE for a settled value; lParam: the
// spinner's ISpinnerControl.
constexpr UINT CC_SPINNER_CHANGE = WM_USER + 600;
// The mouse button went down on a spinner; wParam and lParam as for CC_SPINNER_CHANGE.
constexpr UINT CC_SPINNER_BUTTONDOWN = WM_USER + 601;
// The mouse button was released: HIWORD(wParam) is FALSE when the drag was cancelled with the right
// button (the value is back to where it started).
constexpr UINT CC_SPINNER_BUTTONUP = WM_USER + 602;
// Enter was pressed in a CustEdit that wants returns: wParam the control ID, lParam its window.
constexpr UINT WM_CUSTEDIT_ENTER = WM_USER + 685;

#include "ui/chromasift_dlg_proc.h"

#include "map/chromasift.h"

constinit ChromasiftDlgProc theChromasiftDlgProc;

INT_PTR ChromasiftDlgProc::DlgProc(TimeValue, IParamMap2*, HWND, UINT, WPARAM, LPARAM) {
    // The parameter map has already handled the controls bound to parameters; the rollout's own controls
    // (category list, mode buttons, swatches) are handled in the Windows user interface.
    return FALSE;
}

void ChromasiftDlgProc::SetThing(ReferenceTarget* thing) {
    map = dynamic_cast<Chromasift*>(thing);
}

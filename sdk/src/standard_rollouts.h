#pragma once

// The material-editor dialogs of the standard coordinates and output objects. In the Windows build they
// are rollouts in the editor's rollup window ("Coordinates", "Output") whose controls edit the object;
// elsewhere, and without a rollup window, the dialogs only hold the object.
#include "hostsdk/param_dlg.h"
#include "hostsdk/tex_gen.h"

ParamDlg* CreateCoordinatesDlg(StdXYZGen& coordinates, IMtlParams* params);
ParamDlg* CreateOutputDlg(TextureOutput& output, IMtlParams* params);

// Shows the object's settings again in its open rollouts, after something other than them changed it.
void ShowChangedSettings(ReferenceTarget* object);

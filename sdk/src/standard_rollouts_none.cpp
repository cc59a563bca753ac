#include "standard_rollouts.h"

ParamDlg* CreateCoordinatesDlg(StdXYZGen& coordinates, IMtlParams*) {
    return new ThingParamDlg(coordinates.ClassID(), &coordinates);
}

ParamDlg* CreateOutputDlg(TextureOutput& output, IMtlParams*) {
    return new ThingParamDlg(output.ClassID(), &output);
}

void ShowChangedSettings(ReferenceTarget*) {}

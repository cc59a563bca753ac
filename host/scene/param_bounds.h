#pragma once

// What the scene loader accepts as a stored number of a parameter, as the host's scripting does: the
// range the parameter declares, the positions of its list, and for the Chromasift map's parameters that
// declare neither, what they can mean.
#include "hostsdk/param_block_desc.h"

#include <optional>
#include <string>

namespace host {

struct ParamBounds {
    double low;
    double high;
};

// Nothing for a parameter any number suits. The combined mode's bounds hold only for a second-version
// map: the first version's upgrade converts or keeps whatever number it finds.
std::optional<ParamBounds> StoredParamBounds(const Class_ID& owner, const ParamDef& def);

// "1 to 100", "0.1 to 10", "1 or 2".
std::string BoundsText(const ParamBounds& bounds);

} // namespace host

#include "ui/about_rollout.h"

#include "plugin/resource_ids.h"
#include "ui/documentation_link.h"
#include "ui/rollout_controls.h"
#include "ui/version_text.h"

#include <algorithm>

namespace {

// The label holds at most 255 characters; the version text is plain ASCII.
std::wstring LabelText(const std::string& text) {
    return std::wstring(text.begin(),
                        text.begin() + static_cast<std::ptrdiff_t>(std::min<std::size_t>(text.size(), 255)));
}

} // namespace

void InitAboutRollout(HWND rollout) {
    SetRolloutControlText(rollout, IDC_VERSION_LABEL, LabelText(FindPluginVersionText()));
    MakeRolloutHyperlink(rollout, IDC_DOCUMENTATION_LINK);
}

void AboutRolloutCommand(HWND rollout, int control) {
    if (control == IDC_DOCUMENTATION_LINK)
        OpenDocumentation(rollout);
}

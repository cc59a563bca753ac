#include "ui/version_text.h"

// Linux modules carry no version resource.
std::string FileVersionText(const std::wstring&) {
    return kNoVersionText;
}

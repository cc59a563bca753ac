#include "ui/manual_reorder.h"

bool RunReorderDialog(Palette&) {
    return false;
}

#include "host/base/progress_display.h"

#include <io.h>

#include <cstdio>

namespace host {

bool StderrIsTerminal() {
    return _isatty(_fileno(stderr)) != 0;
}

bool StdoutIsTerminal() {
    return _isatty(_fileno(stdout)) != 0;
}

} // namespace host

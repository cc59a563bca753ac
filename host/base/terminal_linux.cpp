#include "host/base/progress_display.h"

#include <unistd.h>

#include <cstdlib>
#include <string>

namespace host {

bool StderrIsTerminal() {
    const char* term = std::getenv("TERM");
    return isatty(STDERR_FILENO) != 0 && !(term != nullptr && std::string(term) == "dumb");
}

bool StdoutIsTerminal() {
    return isatty(STDOUT_FILENO) != 0;
}

} // namespace host

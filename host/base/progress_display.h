#pragma once

// Render progress on a terminal: one line that counts up in place.
#include <chrono>
#include <ostream>
#include <string>

namespace host {

// True when standard error is a terminal, where a progress line can redraw itself.
bool StderrIsTerminal();
// True when standard output is a terminal, which a picture's bytes would only garble.
bool StdoutIsTerminal();

class ProgressDisplay {
public:
    // Shows nothing unless enabled.
    ProgressDisplay(std::ostream& out, bool enabled, std::string label);
    ProgressDisplay(const ProgressDisplay&) = delete;
    ProgressDisplay& operator=(const ProgressDisplay&) = delete;
    ~ProgressDisplay();

    // Redraws the line when the whole percentage changes.
    void Update(int done, int total);
    // Ends the line; the destructor does it too.
    void Finish();

private:
    std::ostream& out;
    bool enabled;
    std::string label;
    int shownPercent = -1;
    bool open = false;
    std::chrono::steady_clock::time_point start;
};

} // namespace host

#include "host/base/progress_display.h"

#include <cstdio>

namespace host {

ProgressDisplay::ProgressDisplay(std::ostream& out, bool enabled, std::string label)
    : out(out), enabled(enabled), label(std::move(label)), start(std::chrono::steady_clock::now()) {}

ProgressDisplay::~ProgressDisplay() {
    Finish();
}

void ProgressDisplay::Update(int done, int total) {
    if (!enabled || total <= 0)
        return;
    const int percent = static_cast<int>(static_cast<long long>(done) * 100 / total);
    if (percent == shownPercent)
        return;
    shownPercent = percent;
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    constexpr int kBarWidth = 30;
    const int filled = percent * kBarWidth / 100;
    char line[160];
    std::snprintf(line, sizeof line, "\r%s [%-*s] %3d%%  %.1f s", label.c_str(), kBarWidth,
                  std::string(static_cast<std::size_t>(filled), '#').c_str(), percent, seconds);
    out << line << std::flush;
    open = true;
}

void ProgressDisplay::Finish() {
    if (open)
        out << "\n" << std::flush;
    open = false;
}

} // namespace host

#include "host/base/removed_on_signal.h"

namespace host {

// Windows ends a console program on Ctrl-C without such signals' handlers running in a useful state; its
// temporary files are left to the system's cleaning of the temporary folder.
RemovedOnSignal::RemovedOnSignal(const std::filesystem::path&) {}

RemovedOnSignal::~RemovedOnSignal() = default;

} // namespace host

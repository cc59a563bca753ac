#include "hostsdk/large_arrays.h"

// Large pages on Windows need a privilege that users seldom hold: arrays stay on ordinary pages.
void AdviseHugePages(void*, std::size_t) {}

#pragma once

// The limits a model reader process runs under (Linux build).
#include <cstdint>

namespace host {

// The memory a reader may use when the options set none: half of the machine's memory, at least 1 GiB.
// A file the model library can read honestly needs a small multiple of its size; a reader that loops
// allocating should meet its limit while the rest of the machine (the tool itself, which goes on to render)
// keeps the other half.
std::uint64_t DefaultModelReaderMemoryLimit();

// Whether a limit on the address space can work in this build: the sanitizers reserve terabytes of it for
// their shadow memory, so sanitized builds run readers without one.
bool AddressSpaceLimitWorks();

// In the reader: limits this process's address space to `bytes` (when the build allows it, and `bytes` is not
// 0), and makes a failed allocation end the process with kModelReaderOutOfMemoryStatus rather than unwind
// through the model library, which may catch the exception and report a confusing parse error.
void ApplyModelReaderMemoryLimit(std::uint64_t bytes);

} // namespace host

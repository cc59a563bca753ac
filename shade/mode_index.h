#pragma once

// How each distribution mode turns what it reads from a sample into a palette index, as plain functions
// of the active colour count n (at least 1). Float products are formed in the order written; to truncate
// is to convert toward zero, a value out of the 32-bit range (or NaN) giving INT32_MIN.
#include <cstdint>

namespace mode_index {

int32_t Truncate(float value);
// The value reinterpreted as unsigned, modulo n.
uint32_t UnsignedModulo(int32_t value, uint32_t n);
// A value below 0 becomes 0, one above n - 1 becomes n - 1.
uint32_t Clamp(int32_t index, uint32_t n);

// "Random": r from the library's stream.
uint32_t Random(double r, uint32_t n);
// "Linear" and "Mirror": from the evaluation counter's old value. The second half of a mirror period
// runs back from n - 1 to 0.
uint32_t Linear(uint32_t counter, uint32_t n);
uint32_t Mirror(uint32_t counter, uint32_t n);
// The coordinate modes on the point (u, v, w).
uint32_t Mapping1D(float u, uint32_t n);
uint32_t Mapping2D(float u, float v, uint32_t n);
uint32_t Mapping3D(float u, float v, float w, uint32_t n);
uint32_t Tiles(float u, float v, int32_t rows, int32_t columns, uint32_t n);
// "Input map": the input map's mono value.
uint32_t InputMap(float value, uint32_t n);
// "BerconTile(Lin)": the first component of map channel 99, holding the negated tile number.
uint32_t BerconTileLinear(float u99, uint32_t n);
// The key of "BerconTile(Rnd)".
int32_t BerconTileKey(float u99);
// Values of an outside instancing plug-in: "Object (linear)"/"Object (random)" key, "Per Element" index.
int32_t InstanceKey(float first);
uint32_t InstanceElement(float first, float second, uint32_t n);
// "Object (linear)" without instance values, and "Material ID": -1 (none) gives entry 0.
uint32_t NumberOrZero(int32_t number, uint32_t n);

} // namespace mode_index

#pragma once

// How each distribution mode turns what it reads from a sample into a palette index, as plain functions
// of the active colour count n (at least 1). Float products are formed in the order written; to truncate
// is to convert toward zero, a value out of the 32-bit range (or NaN) giving INT32_MIN. Defined here, so
// that shading, which runs them on every sample, pays no call for them.
#include <cmath>
#include <cstdint>

namespace mode_index {

inline int32_t Truncate(float value) {
    // The processor's truncating conversion is the rule itself: toward zero, and INT32_MIN (its "integer
    // indefinite") for NaN and for every value at or beyond 2^31 either way, where a cast is undefined.
    // Written as the instruction, since a compiler folding a constant argument follows the cast instead.
    int32_t result;
    asm("cvttss2si %1, %0" : "=r"(result) : "x"(value));
    return result;
}

// The value reinterpreted as unsigned, modulo n.
inline uint32_t UnsignedModulo(int32_t value, uint32_t n) {
    return static_cast<uint32_t>(value) % n;
}

// A value below 0 becomes 0, one above n - 1 becomes n - 1.
inline uint32_t Clamp(int32_t index, uint32_t n) {
    if (index < 0)
        return 0;
    return static_cast<uint32_t>(index) > n - 1 ? n - 1 : static_cast<uint32_t>(index);
}

// "Random": r from the library's stream.
inline uint32_t Random(double r, uint32_t n) {
    return Clamp(Truncate(static_cast<float>(r) * static_cast<float>(n - 1)), n);
}

// "Linear" and "Mirror": from the evaluation counter's old value. The second half of a mirror period
// runs back from n - 1 to 0.
inline uint32_t Linear(uint32_t counter, uint32_t n) {
    return counter % n;
}
inline uint32_t Mirror(uint32_t counter, uint32_t n) {
    const uint32_t m = counter % (2 * n);
    return m <= n - 1 ? m : 2 * n - 1 - m;
}

// The coordinate modes on the point (u, v, w). "2D Mapping" and "3D Mapping" lay the colours on a square
// and a cube whose sides depend on n only: SquareSide(n) and CubeSide(n), which a caller shading many
// samples with one n may work out once.
inline uint32_t Mapping1D(float u, uint32_t n) {
    return Clamp(Truncate(static_cast<float>(n) * u), n);
}
inline float SquareSide(uint32_t n) {
    return static_cast<float>(Truncate(std::sqrt(static_cast<float>(n))));
}
float CubeSide(uint32_t n);
inline uint32_t Mapping2D(float u, float v, float side, uint32_t n) {
    return Clamp(Truncate((side * v) * side + side * u), n);
}
inline uint32_t Mapping2D(float u, float v, uint32_t n) {
    return Mapping2D(u, v, SquareSide(n), n);
}
inline uint32_t Mapping3D(float u, float v, float w, float side, uint32_t n) {
    return Clamp(Truncate(((side * v) * side + side * u) + ((side * w) * side) * side), n);
}
inline uint32_t Mapping3D(float u, float v, float w, uint32_t n) {
    return Mapping3D(u, v, w, CubeSide(n), n);
}
inline uint32_t Tiles(float u, float v, int32_t rows, int32_t columns, uint32_t n) {
    // Wide arithmetic: the row and column of a wild coordinate must not overflow.
    const int64_t index =
        int64_t{Truncate(static_cast<float>(rows) * v)} * columns + Truncate(static_cast<float>(columns) * u);
    if (index < 0)
        return 0;
    return index > int64_t{n} - 1 ? static_cast<uint32_t>(index % n) : static_cast<uint32_t>(index);
}

// "Input map": the input map's mono value.
inline uint32_t InputMap(float value, uint32_t n) {
    return Clamp(Truncate(static_cast<float>(n) * value), n);
}

// "BerconTile(Lin)": the first component of map channel 99, holding the negated tile number.
inline uint32_t BerconTileLinear(float u99, uint32_t n) {
    if (n == 1)
        return 0;
    int64_t id = Truncate(-u99);
    const int64_t period = int64_t{n} - 1;
    if (id < 0)
        id = (id % period + period) % period;
    return id > int64_t{n} - 1 ? static_cast<uint32_t>(id % n) : static_cast<uint32_t>(id);
}
// The key of "BerconTile(Rnd)".
inline int32_t BerconTileKey(float u99) {
    return Truncate(-u99);
}

// Values of an outside instancing plug-in: "Object (linear)"/"Object (random)" key, "Per Element" index.
inline int32_t InstanceKey(float first) {
    return Truncate(first * 10000.0f);
}
inline uint32_t InstanceElement(float first, float second, uint32_t n) {
    return UnsignedModulo(Truncate((first + second) * 50000.0f), n);
}

// "Object (linear)" without instance values, and "Material ID": -1 (none) gives entry 0.
inline uint32_t NumberOrZero(int32_t number, uint32_t n) {
    return number == -1 ? 0 : UnsignedModulo(number, n);
}

} // namespace mode_index

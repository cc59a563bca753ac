#include "palette/centre_index.h"

#include <algorithm>
#include <cmath>
#include <immintrin.h>
#include <limits>

// Why leaving a centre out of a cell's candidates is exact.
//
// A sample's float distance to a centre depends on the rounded differences only through |fl(x_d - c_d)|,
// squared and summed in a fixed order. Rounding to nearest is monotone and symmetric, so |fl(x_d - c_d)|
// never decreases when |x_d - c_d| grows, and neither does the float distance. For every sample x inside a
// box [lo, hi]:
// - |x_d - c_d| <= max(|lo_d - c_d|, |hi_d - c_d|), so fd(x, c) <= "far": the same float formula on those
//   larger differences;
// - |x_d - c_d| >= max(lo_d - c_d, c_d - hi_d, 0), so fd(x, c) >= "near": the formula on those gaps.
// Let U be the smallest far over all centres. A centre whose near exceeds U is strictly farther from every
// sample of the box than the centre attaining U, so it is never a sample's nearest and can be left out.
// The remaining candidates are measured exactly, in index order, with the plain tie rule. The argument
// holds in float itself, overflow to infinity included; only NaN (from non-finite input) breaks it.

namespace {

constexpr uint32_t kVector = 8;
constexpr float kInfinity = std::numeric_limits<float>::infinity();
// Identical centres are looked for only among this many; beyond, all are kept (merely slower).
constexpr uint32_t kMostDeduplicated = 1024;

// Centres stored component by component: component d of centre i at data[d * stride + i]; entries from
// count up to stride are +inf.
struct Columns {
    const float* data;
    uint32_t stride;
    uint32_t count;
};

uint32_t RoundUpToVector(uint32_t count) {
    return (count + kVector - 1) / kVector * kVector;
}

// ---- Plain loops: the definition itself, valid for every value.

uint32_t ScanScalar(const Columns& c, const float* sample) {
    uint32_t index = 0;
    float best = 0.0f;
    for (uint32_t i = 0; i < c.count; ++i) {
        float sum = 0.0f;
        for (uint32_t d = 0; d < 4; ++d) {
            const float diff = sample[d] - c.data[d * c.stride + i];
            sum += diff * diff;
        }
        if (i == 0 || sum < best) {
            best = sum;
            index = i;
        }
    }
    return index;
}

// Copies the centres that can be nearest to a point of [lo, hi] into candidates (in index order, laid
// out like c) and their positions into map; returns how many.
uint32_t CandidatesScalar(const Columns& c, const float* lo, const float* hi, float* candidates,
                          uint32_t* map) {
    float smallestFar = kInfinity;
    for (uint32_t i = 0; i < c.count; ++i) {
        float far = 0.0f;
        for (uint32_t d = 0; d < 4; ++d) {
            const float centre = c.data[d * c.stride + i];
            const float reach = std::max(std::fabs(centre - lo[d]), std::fabs(hi[d] - centre));
            far += reach * reach;
        }
        smallestFar = std::min(smallestFar, far);
    }
    uint32_t count = 0;
    for (uint32_t i = 0; i < c.count; ++i) {
        float near = 0.0f;
        for (uint32_t d = 0; d < 4; ++d) {
            const float centre = c.data[d * c.stride + i];
            const float gap = std::max(std::max(lo[d] - centre, centre - hi[d]), 0.0f);
            near += gap * gap;
        }
        if (near <= smallestFar) {
            for (uint32_t d = 0; d < 4; ++d)
                candidates[d * c.stride + count] = c.data[d * c.stride + i];
            map[count++] = i;
        }
    }
    return count;
}

void AssignCellScalar(const Columns& candidates, const uint32_t* map, const float* samples,
                      const uint32_t* order, uint32_t begin, uint32_t end, const uint32_t* original,
                      uint32_t* indices) {
    for (uint32_t p = begin; p < end; ++p)
        indices[order[p]] = original[map[ScanScalar(candidates, samples + size_t{order[p]} * 4)]];
}

// ---- SSE2: four centres per instruction.

inline __m128 DistancesSse2(const __m128* s, const float* c0, uint32_t stride) {
    __m128 d = _mm_sub_ps(s[0], _mm_loadu_ps(c0));
    __m128 q = _mm_mul_ps(d, d);
    d = _mm_sub_ps(s[1], _mm_loadu_ps(c0 + stride));
    q = _mm_add_ps(q, _mm_mul_ps(d, d));
    d = _mm_sub_ps(s[2], _mm_loadu_ps(c0 + 2 * stride));
    q = _mm_add_ps(q, _mm_mul_ps(d, d));
    d = _mm_sub_ps(s[3], _mm_loadu_ps(c0 + 3 * stride));
    return _mm_add_ps(q, _mm_mul_ps(d, d));
}

uint32_t ScanSse2(const Columns& c, const float* sample) {
    const __m128 s[4] = {_mm_set1_ps(sample[0]), _mm_set1_ps(sample[1]), _mm_set1_ps(sample[2]),
                         _mm_set1_ps(sample[3])};
    __m128 best = _mm_set1_ps(kInfinity);
    __m128i bestIndex = _mm_setzero_si128();
    __m128i index = _mm_setr_epi32(0, 1, 2, 3);
    const __m128i step = _mm_set1_epi32(4);
    for (uint32_t i = 0; i < c.stride; i += 4) {
        const __m128 q = DistancesSse2(s, c.data + i, c.stride);
        const __m128 closer = _mm_cmplt_ps(q, best);
        best = _mm_or_ps(_mm_and_ps(closer, q), _mm_andnot_ps(closer, best));
        const __m128i take = _mm_castps_si128(closer);
        bestIndex = _mm_or_si128(_mm_and_si128(take, index), _mm_andnot_si128(take, bestIndex));
        index = _mm_add_epi32(index, step);
    }
    // Each lane kept the first of its equal values; the first overall is the lowest index among the lanes
    // holding the minimum.
    alignas(16) float values[4];
    alignas(16) uint32_t indices[4];
    _mm_store_ps(values, best);
    _mm_store_si128(reinterpret_cast<__m128i*>(indices), bestIndex);
    uint32_t winner = 0;
    for (uint32_t lane = 1; lane < 4; ++lane) {
        if (values[lane] < values[winner] ||
            (values[lane] == values[winner] && indices[lane] < indices[winner]))
            winner = lane;
    }
    return indices[winner];
}

inline __m128 AbsSse2(__m128 v) {
    return _mm_andnot_ps(_mm_set1_ps(-0.0f), v);
}

uint32_t CandidatesSse2(const Columns& c, const float* lo, const float* hi, float* candidates,
                        uint32_t* map) {
    const __m128 low[4] = {_mm_set1_ps(lo[0]), _mm_set1_ps(lo[1]), _mm_set1_ps(lo[2]), _mm_set1_ps(lo[3])};
    const __m128 high[4] = {_mm_set1_ps(hi[0]), _mm_set1_ps(hi[1]), _mm_set1_ps(hi[2]), _mm_set1_ps(hi[3])};
    __m128 smallestFar = _mm_set1_ps(kInfinity);
    for (uint32_t i = 0; i < c.stride; i += 4) {
        __m128 far = _mm_setzero_ps();
        for (uint32_t d = 0; d < 4; ++d) {
            const __m128 centre = _mm_loadu_ps(c.data + d * c.stride + i);
            const __m128 reach =
                _mm_max_ps(AbsSse2(_mm_sub_ps(centre, low[d])), AbsSse2(_mm_sub_ps(high[d], centre)));
            far = d == 0 ? _mm_mul_ps(reach, reach) : _mm_add_ps(far, _mm_mul_ps(reach, reach));
        }
        smallestFar = _mm_min_ps(smallestFar, far);
    }
    smallestFar = _mm_min_ps(smallestFar, _mm_shuffle_ps(smallestFar, smallestFar, _MM_SHUFFLE(1, 0, 3, 2)));
    const __m128 limit =
        _mm_min_ps(smallestFar, _mm_shuffle_ps(smallestFar, smallestFar, _MM_SHUFFLE(2, 3, 0, 1)));
    uint32_t count = 0;
    for (uint32_t i = 0; i < c.stride; i += 4) {
        __m128 near = _mm_setzero_ps();
        for (uint32_t d = 0; d < 4; ++d) {
            const __m128 centre = _mm_loadu_ps(c.data + d * c.stride + i);
            const __m128 gap = _mm_max_ps(_mm_max_ps(_mm_sub_ps(low[d], centre), _mm_sub_ps(centre, high[d])),
                                          _mm_setzero_ps());
            near = d == 0 ? _mm_mul_ps(gap, gap) : _mm_add_ps(near, _mm_mul_ps(gap, gap));
        }
        for (uint32_t bits = static_cast<uint32_t>(_mm_movemask_ps(_mm_cmple_ps(near, limit))); bits != 0;
             bits &= bits - 1) {
            const uint32_t j = i + static_cast<uint32_t>(__builtin_ctz(bits));
            if (j >= c.count) // padding, which qualifies only when every far overflowed to infinity
                break;
            for (uint32_t d = 0; d < 4; ++d)
                candidates[d * c.stride + count] = c.data[d * c.stride + j];
            map[count++] = j;
        }
    }
    return count;
}

void AssignCellSse2(const Columns& candidates, const uint32_t* map, const float* samples,
                    const uint32_t* order, uint32_t begin, uint32_t end, const uint32_t* original,
                    uint32_t* indices) {
    for (uint32_t p = begin; p < end; ++p)
        indices[order[p]] = original[map[ScanSse2(candidates, samples + size_t{order[p]} * 4)]];
}

// ---- AVX2: eight centres per instruction.

__attribute__((target("avx2"))) inline __m256 DistancesAvx2(const __m256* s, const float* c0,
                                                            uint32_t stride) {
    __m256 d = _mm256_sub_ps(s[0], _mm256_loadu_ps(c0));
    __m256 q = _mm256_mul_ps(d, d);
    d = _mm256_sub_ps(s[1], _mm256_loadu_ps(c0 + stride));
    q = _mm256_add_ps(q, _mm256_mul_ps(d, d));
    d = _mm256_sub_ps(s[2], _mm256_loadu_ps(c0 + 2 * stride));
    q = _mm256_add_ps(q, _mm256_mul_ps(d, d));
    d = _mm256_sub_ps(s[3], _mm256_loadu_ps(c0 + 3 * stride));
    return _mm256_add_ps(q, _mm256_mul_ps(d, d));
}

// Every lane set to the smallest lane (the values hold no NaN).
__attribute__((target("avx2"))) inline __m256 MinimumAvx2(__m256 v) {
    v = _mm256_min_ps(v, _mm256_permute2f128_ps(v, v, 1));
    v = _mm256_min_ps(v, _mm256_permute_ps(v, _MM_SHUFFLE(1, 0, 3, 2)));
    return _mm256_min_ps(v, _mm256_permute_ps(v, _MM_SHUFFLE(2, 3, 0, 1)));
}

__attribute__((target("avx2"))) inline uint32_t MinimumAvx2(__m256i v) {
    v = _mm256_min_epu32(v, _mm256_permute2x128_si256(v, v, 1));
    v = _mm256_min_epu32(v, _mm256_shuffle_epi32(v, _MM_SHUFFLE(1, 0, 3, 2)));
    v = _mm256_min_epu32(v, _mm256_shuffle_epi32(v, _MM_SHUFFLE(2, 3, 0, 1)));
    return static_cast<uint32_t>(_mm256_cvtsi256_si32(v));
}

__attribute__((target("avx2"))) inline uint32_t ScanAvx2(const Columns& c, const __m256* s) {
    if (c.stride == kVector) {
        // One vector: the first lane holding the minimum is the lowest index.
        const __m256 q = DistancesAvx2(s, c.data, c.stride);
        const __m256 minimum = MinimumAvx2(q);
        return static_cast<uint32_t>(
            __builtin_ctz(static_cast<uint32_t>(_mm256_movemask_ps(_mm256_cmp_ps(q, minimum, _CMP_EQ_OQ)))));
    }
    __m256 best = _mm256_set1_ps(kInfinity);
    __m256i bestIndex = _mm256_setzero_si256();
    __m256i index = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
    const __m256i step = _mm256_set1_epi32(8);
    for (uint32_t i = 0; i < c.stride; i += 8) {
        const __m256 q = DistancesAvx2(s, c.data + i, c.stride);
        const __m256 closer = _mm256_cmp_ps(q, best, _CMP_LT_OQ);
        best = _mm256_blendv_ps(best, q, closer);
        bestIndex = _mm256_blendv_epi8(bestIndex, index, _mm256_castps_si256(closer));
        index = _mm256_add_epi32(index, step);
    }
    // Each lane kept the first of its equal values; the first overall is the lowest index among the lanes
    // holding the minimum.
    const __m256 atMinimum = _mm256_cmp_ps(best, MinimumAvx2(best), _CMP_EQ_OQ);
    return MinimumAvx2(_mm256_blendv_epi8(_mm256_set1_epi32(-1), bestIndex, _mm256_castps_si256(atMinimum)));
}

__attribute__((target("avx2"))) uint32_t ScanAvx2(const Columns& c, const float* sample) {
    const __m256 s[4] = {_mm256_set1_ps(sample[0]), _mm256_set1_ps(sample[1]), _mm256_set1_ps(sample[2]),
                         _mm256_set1_ps(sample[3])};
    return ScanAvx2(c, s);
}

__attribute__((target("avx2"))) inline __m256 AbsAvx2(__m256 v) {
    return _mm256_andnot_ps(_mm256_set1_ps(-0.0f), v);
}

__attribute__((target("avx2"))) uint32_t CandidatesAvx2(const Columns& c, const float* lo, const float* hi,
                                                        float* candidates, uint32_t* map) {
    __m256 low[4], high[4];
    for (uint32_t d = 0; d < 4; ++d) {
        low[d] = _mm256_set1_ps(lo[d]);
        high[d] = _mm256_set1_ps(hi[d]);
    }
    __m256 smallestFar = _mm256_set1_ps(kInfinity);
    for (uint32_t i = 0; i < c.stride; i += 8) {
        __m256 far = _mm256_setzero_ps();
        for (uint32_t d = 0; d < 4; ++d) {
            const __m256 centre = _mm256_loadu_ps(c.data + d * c.stride + i);
            const __m256 reach = _mm256_max_ps(AbsAvx2(_mm256_sub_ps(centre, low[d])),
                                               AbsAvx2(_mm256_sub_ps(high[d], centre)));
            far = d == 0 ? _mm256_mul_ps(reach, reach) : _mm256_add_ps(far, _mm256_mul_ps(reach, reach));
        }
        smallestFar = _mm256_min_ps(smallestFar, far);
    }
    const __m256 limit = MinimumAvx2(smallestFar);
    uint32_t count = 0;
    for (uint32_t i = 0; i < c.stride; i += 8) {
        __m256 near = _mm256_setzero_ps();
        for (uint32_t d = 0; d < 4; ++d) {
            const __m256 centre = _mm256_loadu_ps(c.data + d * c.stride + i);
            const __m256 gap =
                _mm256_max_ps(_mm256_max_ps(_mm256_sub_ps(low[d], centre), _mm256_sub_ps(centre, high[d])),
                              _mm256_setzero_ps());
            near = d == 0 ? _mm256_mul_ps(gap, gap) : _mm256_add_ps(near, _mm256_mul_ps(gap, gap));
        }
        for (uint32_t bits =
                 static_cast<uint32_t>(_mm256_movemask_ps(_mm256_cmp_ps(near, limit, _CMP_LE_OQ)));
             bits != 0; bits &= bits - 1) {
            const uint32_t j = i + static_cast<uint32_t>(__builtin_ctz(bits));
            if (j >= c.count) // padding, which qualifies only when every far overflowed to infinity
                break;
            for (uint32_t d = 0; d < 4; ++d)
                candidates[d * c.stride + count] = c.data[d * c.stride + j];
            map[count++] = j;
        }
    }
    return count;
}

__attribute__((target("avx2"))) void AssignCellAvx2(const Columns& candidates, const uint32_t* map,
                                                    const float* samples, const uint32_t* order,
                                                    uint32_t begin, uint32_t end, const uint32_t* original,
                                                    uint32_t* indices) {
    for (uint32_t p = begin; p < end; ++p) {
        const float* sample = samples + size_t{order[p]} * 4;
        const __m256 s[4] = {_mm256_set1_ps(sample[0]), _mm256_set1_ps(sample[1]), _mm256_set1_ps(sample[2]),
                             _mm256_set1_ps(sample[3])};
        indices[order[p]] = original[map[ScanAvx2(candidates, s)]];
    }
}

using ScanFunction = uint32_t (*)(const Columns&, const float*);
using CandidatesFunction = uint32_t (*)(const Columns&, const float*, const float*, float*, uint32_t*);
using AssignCellFunction = void (*)(const Columns&, const uint32_t*, const float*, const uint32_t*, uint32_t,
                                    uint32_t, const uint32_t*, uint32_t*);

struct Kernels {
    ScanFunction scan;
    CandidatesFunction candidates;
    AssignCellFunction assignCell;
};

Kernels KernelsFor(SimdLevel simd) {
    switch (simd) {
    case SimdLevel::Avx2:
        return {ScanAvx2, CandidatesAvx2, AssignCellAvx2};
    case SimdLevel::Sse2:
        return {ScanSse2, CandidatesSse2, AssignCellSse2};
    default:
        return {ScanScalar, CandidatesScalar, AssignCellScalar};
    }
}

bool SameCentre(const float* a, const float* b) {
    return a[0] == b[0] && a[1] == b[1] && a[2] == b[2] && a[3] == b[3];
}

} // namespace

bool CentreIndex::AllFinite(const float* values, size_t count) {
    const __m128 magnitude = _mm_castsi128_ps(_mm_set1_epi32(0x7FFFFFFF));
    const __m128 largest = _mm_set1_ps(std::numeric_limits<float>::max());
    __m128 finite = _mm_castsi128_ps(_mm_set1_epi32(-1));
    size_t i = 0;
    for (; i + 4 <= count; i += 4) // an ordered comparison is false for NaN
        finite = _mm_and_ps(finite, _mm_cmple_ps(_mm_and_ps(_mm_loadu_ps(values + i), magnitude), largest));
    bool result = _mm_movemask_ps(finite) == 0xF;
    for (; i < count; ++i)
        result &= std::isfinite(values[i]);
    return result;
}

void CentreIndex::Build(const float* centres, uint32_t centreCount, SimdLevel level) {
    k = centreCount;
    simd = ResolveSimdLevel(level);
    original.clear();
    for (uint32_t i = 0; i < k; ++i) {
        const float* centre = centres + size_t{i} * 4;
        bool repeated = false;
        if (k <= kMostDeduplicated) {
            for (size_t u = 0; u < original.size() && !repeated; ++u)
                repeated = SameCentre(centres + size_t{original[u]} * 4, centre);
        }
        if (!repeated)
            original.push_back(i);
    }
    distinct = static_cast<uint32_t>(original.size());
    stride = RoundUpToVector(distinct);
    columns.assign(size_t{stride} * 4, kInfinity);
    for (uint32_t i = 0; i < distinct; ++i)
        for (uint32_t d = 0; d < 4; ++d)
            columns[d * stride + i] = centres[size_t{original[i]} * 4 + d];
}

uint32_t CentreIndex::Nearest(const float* sample) const {
    const Columns all{columns.data(), stride, distinct};
    return original[KernelsFor(simd).scan(all, sample)];
}

void CentreIndex::Assign(const float* samples, uint32_t begin, uint32_t end, uint32_t* indices) const {
    const ScanFunction scan = KernelsFor(simd).scan;
    const Columns all{columns.data(), stride, distinct};
    for (uint32_t s = begin; s < end; ++s)
        indices[s] = original[scan(all, samples + size_t{s} * 4)];
}

namespace {

// The centres that remain possible for one box: component by component with +inf padding, and each
// one's position among the distinct centres.
struct CandidateSet {
    explicit CandidateSet(uint32_t capacity)
        : data(size_t{capacity} * 4), map(capacity), scratch(size_t{capacity} * 4), picked(capacity) {}

    Columns View() const { return {data.data(), stride, count}; }

    // Keeps the centres of from (positions fromMap, or none for all distinct centres) that can be nearest
    // to a point of [lo, hi].
    void Filter(const Kernels& kernels, const Columns& from, const uint32_t* fromMap, const float* lo,
                const float* hi) {
        count = kernels.candidates(from, lo, hi, scratch.data(), picked.data());
        stride = RoundUpToVector(count);
        for (uint32_t i = 0; i < count; ++i)
            map[i] = fromMap != nullptr ? fromMap[picked[i]] : picked[i];
        for (uint32_t d = 0; d < 4; ++d) {
            const auto source = scratch.begin() + d * from.stride;
            const auto target = data.begin() + d * stride;
            std::copy(source, source + count, target);
            std::fill(target + count, target + stride, kInfinity);
        }
    }

    // The nearest of these centres for the samples at positions [begin, end) of cells.
    void Assign(const Kernels& kernels, const SampleCells& cells, uint32_t begin, uint32_t end,
                const uint32_t* original, uint32_t* indices) const {
        if (count == 1) {
            for (uint32_t p = begin; p < end; ++p)
                indices[cells.Order()[p]] = original[map[0]];
            return;
        }
        kernels.assignCell(View(), map.data(), cells.Samples(), cells.Order(), begin, end, original, indices);
    }

    std::vector<float> data;
    std::vector<uint32_t> map;
    std::vector<float> scratch;
    std::vector<uint32_t> picked;
    uint32_t stride = 0;
    uint32_t count = 0;
};

} // namespace

void CentreIndex::AssignBlocks(const SampleCells& cells, uint32_t firstBlock, uint32_t endBlock,
                               uint32_t* indices) const {
    const Kernels kernels = KernelsFor(simd);
    const Columns all{columns.data(), stride, distinct};
    CandidateSet blockSet(stride), cellSet(stride);
    for (uint32_t block = firstBlock; block < endBlock; ++block) {
        const uint32_t firstCell = cells.FirstCell(block);
        const uint32_t endCell = cells.FirstCell(block + 1);
        blockSet.Filter(kernels, all, nullptr, cells.BlockLow(block), cells.BlockHigh(block));
        // One vector of candidates costs a sample no more than fewer would.
        if (blockSet.count <= kVector) {
            blockSet.Assign(kernels, cells, cells.Begin(firstCell), cells.End(endCell - 1), original.data(),
                            indices);
            continue;
        }
        for (uint32_t cell = firstCell; cell < endCell; ++cell) {
            cellSet.Filter(kernels, blockSet.View(), blockSet.map.data(), cells.CellLow(cell),
                           cells.CellHigh(cell));
            cellSet.Assign(kernels, cells, cells.Begin(cell), cells.End(cell), original.data(), indices);
        }
    }
}

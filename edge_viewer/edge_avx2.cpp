// The SIMD edge map with AVX2, 32 bytes a step; this file alone is compiled
// with -mavx2, and runs only where the CPU has AVX2 (edge_dispatch.cpp).
// Only intrinsics and the kernel declarations are included (see
// edge_kernels.hpp).

#include <immintrin.h>

#include "edge_kernels.hpp"

namespace rimtrace {

namespace {

using Vector = __m256i;
constexpr int kLanes = 32;

[[gnu::always_inline]] inline Vector load(const std::uint8_t* p) {
    return _mm256_loadu_si256(reinterpret_cast<const Vector*>(p));
}
[[gnu::always_inline]] inline void store(std::uint8_t* p, Vector v) {
    _mm256_storeu_si256(reinterpret_cast<Vector*>(p), v);
}
[[gnu::always_inline]] inline Vector lesser(Vector a, Vector b) { return _mm256_min_epu8(a, b); }
[[gnu::always_inline]] inline Vector greater(Vector a, Vector b) { return _mm256_max_epu8(a, b); }
[[gnu::always_inline]] inline Vector subtract(Vector a, Vector b) { return _mm256_sub_epi8(a, b); }
[[gnu::always_inline]] inline Vector equal(Vector a, Vector b) { return _mm256_cmpeq_epi8(a, b); }
[[gnu::always_inline]] inline Vector splat(std::uint8_t v) { return _mm256_set1_epi8(static_cast<char>(v)); }

#include "edge_simd.inc"

}  // namespace

void edgeAvx2(const std::uint8_t* source, std::size_t sourceStep, std::uint8_t* map,
              std::size_t mapStep, int rows, int cols, int threshold) {
    edgeSimd(source, sourceStep, map, mapStep, rows, cols, threshold);
}

}  // namespace rimtrace

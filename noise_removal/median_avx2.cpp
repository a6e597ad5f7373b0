// The SIMD median with AVX2, 32 bytes a step; this file alone is compiled
// with -mavx2, and runs only where the CPU has AVX2 (median_dispatch.cpp).
// Only intrinsics and the kernel declarations are included (see
// median_kernels.hpp).

#include <immintrin.h>

#include "median_kernels.hpp"

namespace speckwipe {

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

#include "median_simd.inc"

}  // namespace

void medianAvx2(const std::uint8_t* source, std::size_t sourceStep, std::uint8_t* destination,
                std::size_t destinationStep, int rows, int cols) {
    medianSimd(source, sourceStep, destination, destinationStep, rows, cols);
}

}  // namespace speckwipe

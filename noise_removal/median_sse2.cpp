// The SIMD median with SSE2, which every x86-64 CPU has. Only intrinsics
// and the kernel declarations are included (see median_kernels.hpp).

#include <emmintrin.h>

#include "median_kernels.hpp"

namespace speckwipe {

namespace {

using Vector = __m128i;
constexpr int kLanes = 16;

[[gnu::always_inline]] inline Vector load(const std::uint8_t* p) {
    return _mm_loadu_si128(reinterpret_cast<const Vector*>(p));
}
[[gnu::always_inline]] inline void store(std::uint8_t* p, Vector v) {
    _mm_storeu_si128(reinterpret_cast<Vector*>(p), v);
}
[[gnu::always_inline]] inline Vector lesser(Vector a, Vector b) { return _mm_min_epu8(a, b); }
[[gnu::always_inline]] inline Vector greater(Vector a, Vector b) { return _mm_max_epu8(a, b); }

#include "median_simd.inc"

}  // namespace

void medianSse2(const std::uint8_t* source, std::size_t sourceStep, std::uint8_t* destination,
                std::size_t destinationStep, int rows, int cols) {
    medianSimd(source, sourceStep, destination, destinationStep, rows, cols);
}

}  // namespace speckwipe

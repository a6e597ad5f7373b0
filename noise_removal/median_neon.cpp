// The SIMD median with NEON, which every arm64 CPU has. Only intrinsics
// and the kernel declarations are included (see median_kernels.hpp).

#include <arm_neon.h>

#include "median_kernels.hpp"

namespace speckwipe {

namespace {

using Vector = uint8x16_t;
constexpr int kLanes = 16;

[[gnu::always_inline]] inline Vector load(const std::uint8_t* p) { return vld1q_u8(p); }
[[gnu::always_inline]] inline void store(std::uint8_t* p, Vector v) { vst1q_u8(p, v); }
[[gnu::always_inline]] inline Vector lesser(Vector a, Vector b) { return vminq_u8(a, b); }
[[gnu::always_inline]] inline Vector greater(Vector a, Vector b) { return vmaxq_u8(a, b); }

#include "median_simd.inc"

}  // namespace

void medianNeon(const std::uint8_t* source, std::size_t sourceStep, std::uint8_t* destination,
                std::size_t destinationStep, int rows, int cols) {
    medianSimd(source, sourceStep, destination, destinationStep, rows, cols);
}

}  // namespace speckwipe

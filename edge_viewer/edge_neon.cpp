// The SIMD edge map with NEON, which every arm64 CPU has. Only intrinsics
// and the kernel declarations are included (see edge_kernels.hpp).

#include <arm_neon.h>

#include "edge_kernels.hpp"

namespace rimtrace {

namespace {

using Vector = uint8x16_t;
constexpr int kLanes = 16;

[[gnu::always_inline]] inline Vector load(const std::uint8_t* p) { return vld1q_u8(p); }
[[gnu::always_inline]] inline void store(std::uint8_t* p, Vector v) { vst1q_u8(p, v); }
[[gnu::always_inline]] inline Vector lesser(Vector a, Vector b) { return vminq_u8(a, b); }
[[gnu::always_inline]] inline Vector greater(Vector a, Vector b) { return vmaxq_u8(a, b); }
[[gnu::always_inline]] inline Vector subtract(Vector a, Vector b) { return vsubq_u8(a, b); }
[[gnu::always_inline]] inline Vector equal(Vector a, Vector b) { return vceqq_u8(a, b); }
[[gnu::always_inline]] inline Vector splat(std::uint8_t v) { return vdupq_n_u8(v); }

#include "edge_simd.inc"

}  // namespace

void edgeNeon(const std::uint8_t* source, std::size_t sourceStep, std::uint8_t* map,
              std::size_t mapStep, int rows, int cols, int threshold) {
    edgeSimd(source, sourceStep, map, mapStep, rows, cols, threshold);
}

}  // namespace rimtrace

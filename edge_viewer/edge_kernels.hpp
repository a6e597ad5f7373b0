#pragma once
// The kernels of the edge map (the list of those built, and the choice
// among them, are edge_dispatch.hpp's).
// No OpenCV here: the AVX2 kernel's file is compiled with -mavx2, and any
// inline library code it included could reach the rest of the program.
//
// A kernel computes rows 1 to rows-2 of a map of rows x cols bytes from a
// source of that size (rows of each step bytes apart): map pixel (r, c),
// 1 <= c <= cols-2, becomes 255 when the range of the 3x3 neighbourhood of
// source (r, c) is at least threshold, else 0, and the frame pixels (r, 0)
// and (r, cols-1) become 0 in the same pass, while the row is in the cache
// (clearing them afterwards cost 8 % of a pass over a 12-megapixel
// picture). It writes nothing else, rows 0 and rows-1 among them, needs
// 1 <= threshold <= 255 (other thresholds don't depend on the pixels), and
// does nothing for pictures without interior.

#include <cstddef>
#include <cstdint>

namespace rimtrace {

using EdgeKernel = void (*)(const std::uint8_t* source, std::size_t sourceStep, std::uint8_t* map,
                            std::size_t mapStep, int rows, int cols, int threshold);

// Column max and min first, then across (see edge_kernels.cpp), in plain
// C++ that compilers vectorise for any CPU. Also the fallback of the SIMD
// kernels for pictures narrower than one vector.
void edgePortable(const std::uint8_t* source, std::size_t sourceStep, std::uint8_t* map,
                  std::size_t mapStep, int rows, int cols, int threshold);

// The local range (largest minus smallest value of the 3x3 neighbourhood)
// of columns 1 to width-2 of the row centre, between the rows above and
// below, into out[1] to out[width-2]; plain C++ that compilers vectorise.
// For what is computed once per picture, not per threshold (map_view.hpp).
void localRangeRow(const std::uint8_t* above, const std::uint8_t* centre, const std::uint8_t* below,
                   std::uint8_t* out, int width);

// Row ranges shared by row pairs, in strips of vectors (see edge_simd.inc):
// SSE2 (every x86-64 CPU), AVX2, NEON (every arm64 CPU). Each is built only
// for the targets that have it; edge_dispatch.hpp lists those built.
void edgeSse2(const std::uint8_t* source, std::size_t sourceStep, std::uint8_t* map,
              std::size_t mapStep, int rows, int cols, int threshold);
void edgeAvx2(const std::uint8_t* source, std::size_t sourceStep, std::uint8_t* map,
              std::size_t mapStep, int rows, int cols, int threshold);
void edgeNeon(const std::uint8_t* source, std::size_t sourceStep, std::uint8_t* map,
              std::size_t mapStep, int rows, int cols, int threshold);

}  // namespace rimtrace

#pragma once
// The kernels of the 3x3 median (the list of those built, and the choice
// among them, are median_dispatch.hpp's).
// No OpenCV here: the AVX2 kernel's file is compiled with -mavx2, and any
// inline library code it included could reach the rest of the program.
//
// A kernel filters a whole picture of rows x cols bytes (rows from source
// and destination, each step bytes apart): every interior pixel of
// destination, 1 <= r <= rows-2 and 1 <= c <= cols-2, becomes the median of
// the 3x3 neighbourhood of (r, c) in source. It writes nothing else, reads
// source only, and does nothing for pictures without interior.

#include <cstddef>
#include <cstdint>

namespace speckwipe {

using MedianKernel = void (*)(const std::uint8_t* source, std::size_t sourceStep,
                              std::uint8_t* destination, std::size_t destinationStep, int rows,
                              int cols);

// The definition: for each pixel, gather the neighbourhood, selection-sort
// it and take the middle value. Slow; every other kernel is held to it.
void medianPlain(const std::uint8_t* source, std::size_t sourceStep, std::uint8_t* destination,
                 std::size_t destinationStep, int rows, int cols);

// The column trick in plain C++ that compilers vectorise for any CPU (see
// median_kernels.cpp). Also the fallback of the SIMD kernels for pictures
// narrower than one vector.
void medianPortable(const std::uint8_t* source, std::size_t sourceStep, std::uint8_t* destination,
                    std::size_t destinationStep, int rows, int cols);

// Row sorts shared by row pairs, in strips of vectors (see median_simd.inc):
// SSE2 (every x86-64 CPU), AVX2, NEON (every arm64 CPU). Each is built only
// for the targets that have it; median_dispatch.hpp lists those built.
void medianSse2(const std::uint8_t* source, std::size_t sourceStep, std::uint8_t* destination,
                std::size_t destinationStep, int rows, int cols);
void medianAvx2(const std::uint8_t* source, std::size_t sourceStep, std::uint8_t* destination,
                std::size_t destinationStep, int rows, int cols);
void medianNeon(const std::uint8_t* source, std::size_t sourceStep, std::uint8_t* destination,
                std::size_t destinationStep, int rows, int cols);

}  // namespace speckwipe

#include "median_kernels.hpp"

#include "neighbourhood.hpp"

namespace speckwipe {

namespace {

using Byte = std::uint8_t;

inline Byte lesser(Byte a, Byte b) { return a < b ? a : b; }
inline Byte greater(Byte a, Byte b) { return a < b ? b : a; }

// Median of three without branches: clamp c into [min(a,b), max(a,b)].
inline Byte median3(Byte a, Byte b, Byte c) {
    return greater(lesser(a, b), lesser(greater(a, b), c));
}

// The column trick. Sort each column of the window (top, centre, bottom
// values) into low <= mid <= high. Then the median of the nine is
//     median3(largest low, median3 of the three mids, smallest high).
// This is the identity behind Paeth's nine-element median network (Graphics
// Gems, 1990). Every step is a min or a max, so by the 0-1 principle it holds
// for all byte values once it holds for all 512 windows of 0s and 1s; the
// tests check exactly that, and random windows besides.
//
// Being all byte min and max, the loop vectorises for whatever the compiler
// targets. __restrict spares it run-time alias checks between the rows.
void columnMedianRow(const Byte* __restrict above, const Byte* __restrict centre,
                     const Byte* __restrict below, Byte* __restrict out, int width) {
    for (int c = 1; c < width - 1; ++c) {
        Byte low[3], mid[3], high[3];
        for (int k = 0; k < 3; ++k) {
            const Byte a = above[c - 1 + k], b = centre[c - 1 + k], d = below[c - 1 + k];
            low[k] = lesser(lesser(a, b), d);
            high[k] = greater(greater(a, b), d);
            mid[k] = median3(a, b, d);
        }
        const Byte largestLow = greater(greater(low[0], low[1]), low[2]);
        const Byte smallestHigh = lesser(lesser(high[0], high[1]), high[2]);
        out[c] = median3(largestLow, median3(mid[0], mid[1], mid[2]), smallestHigh);
    }
}

}  // namespace

void medianPlain(const Byte* source, std::size_t sourceStep, Byte* destination,
                 std::size_t destinationStep, int rows, int cols) {
    int buffer[9];
    for (int r = 1; r < rows - 1; ++r) {
        const Byte* centre = source + r * sourceStep;
        for (int c = 1; c < cols - 1; ++c) {
            gatherNeighbourhood(centre - sourceStep, centre, centre + sourceStep, c, buffer);
            sortNeighbourhood(buffer);
            destination[r * destinationStep + c] = static_cast<Byte>(buffer[4]);
        }
    }
}

void medianPortable(const Byte* source, std::size_t sourceStep, Byte* destination,
                    std::size_t destinationStep, int rows, int cols) {
    for (int r = 1; r < rows - 1; ++r) {
        const Byte* centre = source + r * sourceStep;
        columnMedianRow(centre - sourceStep, centre, centre + sourceStep,
                        destination + r * destinationStep, cols);
    }
}

}  // namespace speckwipe

#include "edge_kernels.hpp"

namespace rimtrace {

namespace {

using Byte = std::uint8_t;

constexpr Byte kEdge = 255;
constexpr Byte kBackground = 0;

inline Byte lesser(Byte a, Byte b) { return a < b ? a : b; }
inline Byte greater(Byte a, Byte b) { return a < b ? b : a; }

// The column trick. The range of the 3x3 window is the largest of the three
// column maxima minus the smallest of the three column minima, so each
// column's max and min come first (two min/max steps each), then three
// across. All byte min/max, so the loops that use it vectorise for whatever
// the compiler targets.
[[gnu::always_inline]] inline Byte rangeAt(const Byte* above, const Byte* centre,
                                           const Byte* below, int c) {
    Byte high[3], low[3];
    for (int k = 0; k < 3; ++k) {
        const Byte a = above[c - 1 + k], b = centre[c - 1 + k], d = below[c - 1 + k];
        high[k] = greater(greater(a, b), d);
        low[k] = lesser(lesser(a, b), d);
    }
    return static_cast<Byte>(greater(greater(high[0], high[1]), high[2]) -
                             lesser(lesser(low[0], low[1]), low[2]));
}

// "range >= threshold" becomes a compare of bytes. __restrict spares the
// compiler run-time alias checks between the rows.
void columnEdgeRow(const Byte* __restrict above, const Byte* __restrict centre,
                   const Byte* __restrict below, Byte* __restrict out, int width, Byte threshold) {
    for (int c = 1; c < width - 1; ++c) {
        out[c] = rangeAt(above, centre, below, c) >= threshold ? kEdge : kBackground;
    }
}

}  // namespace

void edgePortable(const Byte* source, std::size_t sourceStep, Byte* map, std::size_t mapStep,
                  int rows, int cols, int threshold) {
    for (int r = 1; r < rows - 1; ++r) {
        const Byte* centre = source + r * sourceStep;
        Byte* out = map + r * mapStep;
        columnEdgeRow(centre - sourceStep, centre, centre + sourceStep, out, cols,
                      static_cast<Byte>(threshold));
        out[0] = out[cols - 1] = kBackground;
    }
}

void localRangeRow(const Byte* __restrict above, const Byte* __restrict centre,
                   const Byte* __restrict below, Byte* __restrict out, int width) {
    for (int c = 1; c < width - 1; ++c) out[c] = rangeAt(above, centre, below, c);
}

}  // namespace rimtrace

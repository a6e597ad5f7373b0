#pragma once
// One 3x3 neighbourhood as nine ints, and the selection sort that defines
// what "sorted" means for the trace and for the plain median.

#include <cstdint>

namespace speckwipe {

// Fills buffer with the neighbourhood of column col, in raster order: the
// three rows above/centre/below, each from col-1 to col+1. Bytes are widened
// without sign, so every entry is 0..255.
void gatherNeighbourhood(const std::uint8_t* above, const std::uint8_t* centre,
                         const std::uint8_t* below, int col, int (&buffer)[9]);

// Ascending selection sort: pass i finds the smallest value of positions
// i..8 (the earliest on ties) and swaps it into position i.
void sortNeighbourhood(int (&buffer)[9]);

}  // namespace speckwipe

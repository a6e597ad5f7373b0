#include "neighbourhood.hpp"

#include <utility>

namespace speckwipe {

void gatherNeighbourhood(const std::uint8_t* above, const std::uint8_t* centre,
                         const std::uint8_t* below, int col, int (&buffer)[9]) {
    const std::uint8_t* rows[3] = {above, centre, below};
    int position = 0;
    for (const std::uint8_t* row : rows) {
        for (int c = col - 1; c <= col + 1; ++c) {
            buffer[position++] = row[c];
        }
    }
}

void sortNeighbourhood(int (&buffer)[9]) {
    for (int i = 0; i < 8; ++i) {
        int smallest = i;
        for (int j = i; j < 9; ++j) {
            if (buffer[j] < buffer[smallest]) {
                smallest = j;
            }
        }
        std::swap(buffer[i], buffer[smallest]);
    }
}

}  // namespace speckwipe

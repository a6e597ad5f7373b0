// Draws the programs' Windows icons into the folder named on the command
// line: speckwipe.ico (a grey disc whose left half is still sprinkled with
// black and white specks, the right half wiped clean) and rimtrace.ico
// (the white rim of a disc on black above a slider). Each holds the
// picture at 16, 32, 48 and 256 pixels, drawn anew at each size, as PNG
// (which Windows reads in icons since Vista). Deterministic: same bytes on
// every build.

#include <cmath>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include <opencv2/core.hpp>
#include <opencv2/imgcodecs.hpp>

namespace {

const int kSizes[] = {16, 32, 48, 256};

// The colour of a point of the icon, given as x and y from 0 to 1.
using Painter = cv::Vec4b (*)(double x, double y, int size);

const cv::Vec4b kClear(0, 0, 0, 0);

double distanceFromCentre(double x, double y) { return std::hypot(x - 0.5, y - 0.5); }

// Black and white specks on a regular, jittered grid: deterministic.
bool speckAt(double x, double y, int size, bool& white) {
    const int cells = size < 32 ? 4 : 7;
    const int cx = static_cast<int>(x * cells), cy = static_cast<int>(y * cells);
    const double jitterX = ((cx * 37 + cy * 11) % 10) / 20.0, jitterY = ((cx * 13 + cy * 29) % 10) / 20.0;
    const double sx = (cx + 0.25 + jitterX) / cells, sy = (cy + 0.25 + jitterY) / cells;
    white = (cx + cy) % 2 == 0;
    return sx < 0.45 && std::max(std::abs(x - sx), std::abs(y - sy)) < std::max(0.5 / size, 0.025);
}

cv::Vec4b paintSpeckwipe(double x, double y, int size) {
    if (distanceFromCentre(x, y) > 0.47) return kClear;
    bool white = false;
    if (speckAt(x, y, size, white)) return white ? cv::Vec4b(255, 255, 255, 255) : cv::Vec4b(0, 0, 0, 255);
    const auto grey = static_cast<std::uint8_t>(110 + 60 * (1 - y));
    return cv::Vec4b(grey, grey, grey, 255);
}

cv::Vec4b paintRimtrace(double x, double y, int size) {
    const double rim = std::max(1.2 / size, 0.045);
    const double fromCentre = std::hypot(x - 0.5, y - 0.42);
    if (std::abs(fromCentre - 0.3) < rim) return cv::Vec4b(255, 255, 255, 255);
    if (y > 0.82 && y < 0.94) {
        if (std::abs(x - 0.64) < 0.06) return cv::Vec4b(215, 120, 0, 255);  // the slider's handle
        if (std::abs(y - 0.88) < std::max(0.6 / size, 0.015) && x > 0.08 && x < 0.92) {
            return cv::Vec4b(160, 160, 160, 255);  // its groove
        }
    }
    return cv::Vec4b(0, 0, 0, 255);
}

cv::Mat draw(Painter paint, int size) {
    cv::Mat icon(size, size, CV_8UC4);
    for (int r = 0; r < size; ++r) {
        cv::Vec4b* row = icon.ptr<cv::Vec4b>(r);
        for (int c = 0; c < size; ++c) row[c] = paint((c + 0.5) / size, (r + 0.5) / size, size);
    }
    return icon;
}

void putLittleEndian(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// An .ico file: its header, one directory entry per size, then the PNGs.
bool writeIcon(const std::string& path, Painter paint) {
    std::vector<std::vector<std::uint8_t>> images;
    for (int size : kSizes) {
        images.emplace_back();
        if (!cv::imencode(".png", draw(paint, size), images.back())) return false;
    }
    std::string header;
    putLittleEndian(header, 0, 2);  // reserved
    putLittleEndian(header, 1, 2);  // an icon, not a cursor
    putLittleEndian(header, static_cast<std::uint32_t>(images.size()), 2);
    std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        const int size = kSizes[i];
        putLittleEndian(header, size == 256 ? 0 : size, 1);  // width; 0 means 256
        putLittleEndian(header, size == 256 ? 0 : size, 1);  // height
        putLittleEndian(header, 0, 2);                       // no palette, reserved
        putLittleEndian(header, 1, 2);                       // colour planes
        putLittleEndian(header, 32, 2);                      // bits per pixel
        putLittleEndian(header, static_cast<std::uint32_t>(images[i].size()), 4);
        putLittleEndian(header, offset, 4);
        offset += static_cast<std::uint32_t>(images[i].size());
    }
    std::ofstream file(path, std::ios::binary);
    file << header;
    for (const auto& image : images) file.write(reinterpret_cast<const char*>(image.data()), image.size());
    return static_cast<bool>(file);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_icons FOLDER\n";
        return 2;
    }
    const std::string folder = argv[1];
    const bool written = writeIcon(folder + "/speckwipe.ico", paintSpeckwipe) &&
                         writeIcon(folder + "/rimtrace.ico", paintRimtrace);
    if (!written) std::cerr << "make_icons: cannot write the icons into " << folder << "\n";
    return written ? 0 : 1;
}

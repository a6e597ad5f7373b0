// Draws the programs' icons into the folder named on the command line:
// speckwipe's (a grey disc whose left half is still sprinkled with black
// and white specks, the right half wiped clean) and rimtrace's (the white
// rim of a disc on black above a slider). For Windows, speckwipe.ico and
// rimtrace.ico, each with the picture at 16, 32, 48 and 256 pixels as PNG
// (which Windows reads in icons since Vista); for Linux desktops, the
// hicolor theme's tree, hicolor/NxN/apps/NAME.png at the usual sizes and
// hicolor/scalable/apps/NAME.svg with the same shapes. Each size is drawn
// anew. Deterministic: same bytes on every build.

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include <opencv2/core.hpp>
#include <opencv2/imgcodecs.hpp>

namespace {

const int kIcoSizes[] = {16, 32, 48, 256};
const int kThemeSizes[] = {16, 24, 32, 48, 64, 128, 256};

// The colour of a point of the icon, given as x and y from 0 to 1.
using Painter = cv::Vec4b (*)(double x, double y, int size);

const cv::Vec4b kClear(0, 0, 0, 0);

double distanceFromCentre(double x, double y) { return std::hypot(x - 0.5, y - 0.5); }

// The shapes, in units of the icon's side (0 to 1), shared by the pixels
// and the scalable drawing.
constexpr double kDiscRadius = 0.47;
constexpr double kRimCentreY = 0.42, kRimRadius = 0.3;
constexpr double kSliderTop = 0.82, kSliderBottom = 0.94, kHandleX = 0.64, kHandleHalfWidth = 0.06;
constexpr double kGrooveY = 0.88, kGrooveLeft = 0.08, kGrooveRight = 0.92;

int speckCells(int size) { return size < 32 ? 4 : 7; }
double speckHalfSide(int size) { return std::max(0.5 / size, 0.025); }
double rimHalfWidth(int size) { return std::max(1.2 / size, 0.045); }
double grooveHalfHeight(int size) { return std::max(0.6 / size, 0.015); }
std::uint8_t discGrey(double y) { return static_cast<std::uint8_t>(110 + 60 * (1 - y)); }

// The speck of grid cell (cx, cy): its centre, its colour, and whether it
// is drawn at all (on the left half only). Jittered, but deterministic.
bool speckOfCell(int cx, int cy, int cells, double& sx, double& sy, bool& white) {
    const double jitterX = ((cx * 37 + cy * 11) % 10) / 20.0, jitterY = ((cx * 13 + cy * 29) % 10) / 20.0;
    sx = (cx + 0.25 + jitterX) / cells;
    sy = (cy + 0.25 + jitterY) / cells;
    white = (cx + cy) % 2 == 0;
    return sx < 0.45;
}

// Black and white specks on a regular, jittered grid.
bool speckAt(double x, double y, int size, bool& white) {
    const int cells = speckCells(size);
    double sx = 0, sy = 0;
    return speckOfCell(static_cast<int>(x * cells), static_cast<int>(y * cells), cells, sx, sy, white) &&
           std::max(std::abs(x - sx), std::abs(y - sy)) < speckHalfSide(size);
}

cv::Vec4b paintSpeckwipe(double x, double y, int size) {
    if (distanceFromCentre(x, y) > kDiscRadius) return kClear;
    bool white = false;
    if (speckAt(x, y, size, white)) return white ? cv::Vec4b(255, 255, 255, 255) : cv::Vec4b(0, 0, 0, 255);
    const std::uint8_t grey = discGrey(y);
    return cv::Vec4b(grey, grey, grey, 255);
}

cv::Vec4b paintRimtrace(double x, double y, int size) {
    const double fromCentre = std::hypot(x - 0.5, y - kRimCentreY);
    if (std::abs(fromCentre - kRimRadius) < rimHalfWidth(size)) return cv::Vec4b(255, 255, 255, 255);
    if (y > kSliderTop && y < kSliderBottom) {
        if (std::abs(x - kHandleX) < kHandleHalfWidth) return cv::Vec4b(215, 120, 0, 255);  // the handle
        if (std::abs(y - kGrooveY) < grooveHalfHeight(size) && x > kGrooveLeft && x < kGrooveRight) {
            return cv::Vec4b(160, 160, 160, 255);  // its groove
        }
    }
    return cv::Vec4b(0, 0, 0, 255);
}

// The same shapes as SVG, on a 256-unit square, as drawn at 256 pixels.
constexpr int kSvgSide = 256;

std::string svgNumber(double unit) {
    std::ostringstream out;
    out << std::round(unit * kSvgSide * 100) / 100;
    return out.str();
}

std::string svgRect(double left, double top, double width, double height, const char* fill) {
    return "  <rect x=\"" + svgNumber(left) + "\" y=\"" + svgNumber(top) + "\" width=\"" + svgNumber(width) +
           "\" height=\"" + svgNumber(height) + "\" fill=\"" + fill + "\"/>\n";
}

std::string svgOpen() {
    const std::string side = std::to_string(kSvgSide);
    return "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + side + "\" height=\"" + side +
           "\" viewBox=\"0 0 " + side + " " + side + "\">\n";
}

std::string speckwipeSvg() {
    std::string svg = svgOpen() +
        "  <defs>\n"
        "    <linearGradient id=\"disc\" x1=\"0\" y1=\"0\" x2=\"0\" y2=\"1\">\n"
        "      <stop offset=\"0\" stop-color=\"rgb(170,170,170)\"/>\n"
        "      <stop offset=\"1\" stop-color=\"rgb(110,110,110)\"/>\n"
        "    </linearGradient>\n"
        "    <clipPath id=\"inside\"><circle cx=\"" + svgNumber(0.5) + "\" cy=\"" + svgNumber(0.5) +
        "\" r=\"" + svgNumber(kDiscRadius) + "\"/></clipPath>\n"
        "  </defs>\n"
        "  <circle cx=\"" + svgNumber(0.5) + "\" cy=\"" + svgNumber(0.5) + "\" r=\"" +
        svgNumber(kDiscRadius) + "\" fill=\"url(#disc)\"/>\n"
        "  <g clip-path=\"url(#inside)\">\n";
    const int cells = speckCells(kSvgSide);
    const double half = speckHalfSide(kSvgSide);
    for (int cy = 0; cy < cells; ++cy) {
        for (int cx = 0; cx < cells; ++cx) {
            double sx = 0, sy = 0;
            bool white = false;
            if (!speckOfCell(cx, cy, cells, sx, sy, white)) continue;
            svg += "  " + svgRect(sx - half, sy - half, 2 * half, 2 * half, white ? "white" : "black");
        }
    }
    return svg + "  </g>\n</svg>\n";
}

std::string rimtraceSvg() {
    return svgOpen() + svgRect(0, 0, 1, 1, "black") +
           "  <circle cx=\"" + svgNumber(0.5) + "\" cy=\"" + svgNumber(kRimCentreY) + "\" r=\"" +
           svgNumber(kRimRadius) + "\" fill=\"none\" stroke=\"white\" stroke-width=\"" +
           svgNumber(2 * rimHalfWidth(kSvgSide)) + "\"/>\n" +
           svgRect(kGrooveLeft, kGrooveY - grooveHalfHeight(kSvgSide), kGrooveRight - kGrooveLeft,
                   2 * grooveHalfHeight(kSvgSide), "rgb(160,160,160)") +
           svgRect(kHandleX - kHandleHalfWidth, kSliderTop, 2 * kHandleHalfWidth, kSliderBottom - kSliderTop,
                   "rgb(0,120,215)") +
           "</svg>\n";
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
bool writeIco(const std::string& path, Painter paint) {
    std::vector<std::vector<std::uint8_t>> images;
    for (int size : kIcoSizes) {
        images.emplace_back();
        if (!cv::imencode(".png", draw(paint, size), images.back())) return false;
    }
    std::string header;
    putLittleEndian(header, 0, 2);  // reserved
    putLittleEndian(header, 1, 2);  // an icon, not a cursor
    putLittleEndian(header, static_cast<std::uint32_t>(images.size()), 2);
    std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        const int size = kIcoSizes[i];
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

bool writeText(const std::filesystem::path& path, const std::string& text) {
    std::error_code ignored;
    std::filesystem::create_directories(path.parent_path(), ignored);
    std::ofstream file(path, std::ios::binary);
    file << text;
    return static_cast<bool>(file);
}

// The program's icon in the hicolor theme's tree under folder.
bool writeThemeIcons(const std::filesystem::path& folder, const std::string& name, Painter paint,
                     const std::string& svg) {
    for (int size : kThemeSizes) {
        std::vector<std::uint8_t> png;
        if (!cv::imencode(".png", draw(paint, size), png)) return false;
        const std::string side = std::to_string(size);
        const std::string bytes(png.begin(), png.end());
        if (!writeText(folder / "hicolor" / (side + "x" + side) / "apps" / (name + ".png"), bytes)) return false;
    }
    return writeText(folder / "hicolor" / "scalable" / "apps" / (name + ".svg"), svg);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_icons FOLDER\n";
        return 2;
    }
    const std::string folder = argv[1];
    const bool written = writeIco(folder + "/speckwipe.ico", paintSpeckwipe) &&
                         writeIco(folder + "/rimtrace.ico", paintRimtrace) &&
                         writeThemeIcons(folder, "speckwipe", paintSpeckwipe, speckwipeSvg()) &&
                         writeThemeIcons(folder, "rimtrace", paintRimtrace, rimtraceSvg());
    if (!written) std::cerr << "make_icons: cannot write the icons into " << folder << "\n";
    return written ? 0 : 1;
}

// Draws the project's sample pictures into the folder named on the command
// line: circles.jpg (grey discs sprinkled with salt-and-pepper specks, for
// speckwipe) and vantrel.jpg (shapes and strokes of many contrasts over
// gradients, for rimtrace). Deterministic: same bytes on every build.

#include <cmath>
#include <cstdint>
#include <iostream>
#include <string>
#include <vector>

#include <opencv2/core.hpp>
#include <opencv2/imgcodecs.hpp>

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr int kJpegQuality = 95;

// Calls paint(r, c) for every pixel of the picture.
template <typename Paint>
void forEachPixel(cv::Mat& picture, Paint paint) {
    for (int r = 0; r < picture.rows; ++r) {
        std::uint8_t* row = picture.ptr<std::uint8_t>(r);
        for (int c = 0; c < picture.cols; ++c) row[c] = paint(r, c, row[c]);
    }
}

void fillDisc(cv::Mat& picture, int centreRow, int centreCol, int radius, int value) {
    forEachPixel(picture, [&](int r, int c, std::uint8_t old) {
        const int dr = r - centreRow, dc = c - centreCol;
        return dr * dr + dc * dc <= radius * radius ? static_cast<std::uint8_t>(value) : old;
    });
}

void fillBox(cv::Mat& picture, int top, int left, int height, int width, int value) {
    picture(cv::Rect(left, top, width, height)).setTo(value);
}

// A straight stroke of the given half-width from (r0,c0) to (r1,c1).
void drawStroke(cv::Mat& picture, double r0, double c0, double r1, double c1, double halfWidth,
                int value) {
    const double dr = r1 - r0, dc = c1 - c0, length2 = dr * dr + dc * dc;
    forEachPixel(picture, [&](int r, int c, std::uint8_t old) {
        double t = ((r - r0) * dr + (c - c0) * dc) / length2;
        t = t < 0 ? 0 : (t > 1 ? 1 : t);
        const double er = r - (r0 + t * dr), ec = c - (c0 + t * dc);
        return std::sqrt(er * er + ec * ec) <= halfWidth ? static_cast<std::uint8_t>(value) : old;
    });
}

void sprinkleSpecks(cv::Mat& picture, cv::RNG& rng, double share) {
    const int count = static_cast<int>(share * picture.total());
    for (int i = 0; i < count; ++i) {
        const int r = rng.uniform(0, picture.rows), c = rng.uniform(0, picture.cols);
        picture.at<std::uint8_t>(r, c) = rng.uniform(0, 2) ? 255 : 0;
    }
}

void addNoise(cv::Mat& picture, cv::RNG& rng, int amplitude) {
    forEachPixel(picture, [&](int, int, std::uint8_t old) {
        return cv::saturate_cast<std::uint8_t>(old + rng.uniform(-amplitude, amplitude + 1));
    });
}

cv::Mat drawCircles() {
    cv::Mat picture(kHeight, kWidth, CV_8UC1);
    forEachPixel(picture, [](int r, int c, std::uint8_t) {
        return static_cast<std::uint8_t>(35 + (r + c) / 56);
    });
    const int discs[][4] = {{120, 140, 90, 200}, {320, 150, 70, 150}, {140, 400, 60, 230},
                            {340, 430, 100, 110}, {250, 280, 35, 180}, {60, 560, 30, 90},
                            {420, 590, 25, 250}, {70, 300, 20, 130}};
    for (const auto& d : discs) fillDisc(picture, d[0], d[1], d[2], d[3]);
    cv::RNG rng(20261208);
    sprinkleSpecks(picture, rng, 0.04);
    return picture;
}

cv::Mat drawVantrel() {
    cv::Mat picture(kHeight, kWidth, CV_8UC1);
    forEachPixel(picture, [](int r, int c, std::uint8_t) {
        return static_cast<std::uint8_t>(30 + c * 170 / kWidth + r * 20 / kHeight);
    });
    fillBox(picture, 40, 40, 120, 160, 230);    // strong contrast
    fillBox(picture, 60, 260, 100, 140, 120);   // medium
    fillBox(picture, 50, 450, 110, 150, 150);   // faint against the gradient
    fillDisc(picture, 330, 140, 90, 20);
    fillDisc(picture, 320, 360, 70, 170);
    fillDisc(picture, 360, 540, 60, 105);
    drawStroke(picture, 200, 20, 460, 300, 2.5, 250);
    drawStroke(picture, 230, 620, 450, 420, 1.5, 60);
    drawStroke(picture, 20, 300, 190, 620, 4.0, 90);
    drawStroke(picture, 250, 250, 250, 470, 1.0, 200);
    cv::RNG rng(8122026);
    addNoise(picture, rng, 6);
    return picture;
}

bool writePicture(const std::string& path, const cv::Mat& picture) {
    const std::vector<int> options = {cv::IMWRITE_JPEG_QUALITY, kJpegQuality};
    if (cv::imwrite(path, picture, options)) return true;
    std::cerr << "make_samples: cannot write " << path << "\n";
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_samples FOLDER\n";
        return 2;
    }
    const std::string folder = argv[1];
    const bool written = writePicture(folder + "/circles.jpg", drawCircles()) &&
                         writePicture(folder + "/vantrel.jpg", drawVantrel());
    return written ? 0 : 1;
}

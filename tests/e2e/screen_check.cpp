// Checks screenshots of the programs' windows against pictures computed
// here independently, with OpenCV's imgproc as the oracle.
//
//   screen_check grey   PICTURE SHOT        the picture, as grey, is in the shot
//   screen_check median PICTURE SHOT        its 3x3 median (frame kept) is in the shot
//   screen_check edges  PICTURE T SHOT      its edge map at threshold T is in the shot
//   screen_check thresholds PICTURE SHOT    prints every threshold 0..256 whose
//                                           edge map is in the shot
//   screen_check trace  PICTURE             prints the expected console trace
//   screen_check handle SHOT                prints "x y left" of the slider's
//                                           handle and the groove's left end
//   screen_check win32-thumb SHOT           prints "x y" of the middle of a
//                                           Win32 trackbar's thumb
//   screen_check huge-png FILE              writes a PNG whose header claims
//                                           200000x200000 pixels
//   screen_check large-png SIZE FILE        writes a real grey PNG of SIZE x SIZE
//                                           pixels, a gradient
//   screen_check socket FILE                leaves a Unix socket at FILE
//   screen_check icon ICON SCALE SHOT       the icon (a PNG with alpha), SCALE
//                                           times its size, is in the shot,
//                                           where it is opaque
//   screen_check reference PICTURE          shows, until Esc, what rimtrace
//                                           should: the map at 100 in "reference"
//                                           with the slider "threshhold", 0..255
//
// "In the shot" means pixel for pixel at one place, with red = green = blue
// (for an icon, its colours, where it is opaque).
// Exit status: 0 yes, 1 no, 2 usage or unreadable files.

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include <opencv2/core.hpp>
#include <opencv2/highgui.hpp>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

namespace {

cv::Mat readOrExit(const std::string& path, int flags) {
    cv::Mat picture = cv::imread(path, flags);
    if (picture.empty()) {
        std::cerr << "screen_check: cannot read " << path << "\n";
        std::exit(2);
    }
    return picture;
}

cv::Mat medianWithFrame(const cv::Mat& grey) {
    cv::Mat result;
    cv::medianBlur(grey, result, 3);
    const int r = grey.rows - 1, c = grey.cols - 1;
    grey.row(0).copyTo(result.row(0));
    grey.row(r).copyTo(result.row(r));
    grey.col(0).copyTo(result.col(0));
    grey.col(c).copyTo(result.col(c));
    return result;
}

// The range of each 3x3 neighbourhood: dilation minus erosion.
cv::Mat localRange(const cv::Mat& grey) {
    cv::Mat range;
    cv::morphologyEx(grey, range, cv::MORPH_GRADIENT, cv::Mat::ones(3, 3, CV_8U));
    return range;
}

cv::Mat edgeMap(const cv::Mat& range, int threshold) {
    cv::Mat map = range >= std::max(threshold, 0);
    if (threshold > 255) map.setTo(0);
    map.row(0).setTo(0);
    map.row(map.rows - 1).setTo(0);
    map.col(0).setTo(0);
    map.col(map.cols - 1).setTo(0);
    return map;
}

// The places where the picture's top row matches the shot's first channel.
// Cheap, and few places pass it, so the full comparison runs only there.
std::vector<cv::Point> placesOfTopRow(const cv::Mat& topRow, const cv::Mat& shot, int height) {
    cv::Mat firstChannel;
    cv::extractChannel(shot, firstChannel, 0);
    std::vector<cv::Point> places;
    for (int y = 0; y + height <= shot.rows; ++y) {
        for (int x = 0; x + topRow.cols <= shot.cols; ++x) {
            const cv::Rect place(x, y, topRow.cols, 1);
            if (cv::norm(firstChannel(place), topRow, cv::NORM_INF) == 0) places.emplace_back(x, y);
        }
    }
    return places;
}

bool matchesAt(const cv::Mat& expected, const cv::Mat& shot, cv::Point place) {
    const cv::Mat region = shot(cv::Rect(place, expected.size()));
    std::vector<cv::Mat> channels;
    cv::split(region, channels);
    for (const cv::Mat& channel : channels) {
        if (cv::norm(channel, expected, cv::NORM_INF) != 0) return false;
    }
    return true;
}

bool appearsAtAny(const cv::Mat& expected, const cv::Mat& shot,
                  const std::vector<cv::Point>& places) {
    for (const cv::Point& place : places) {
        if (matchesAt(expected, shot, place)) return true;
    }
    return false;
}

bool appearsIn(const cv::Mat& expected, const cv::Mat& shot) {
    return appearsAtAny(expected, shot, placesOfTopRow(expected.row(0), shot, expected.rows));
}

void printTrace(const cv::Mat& grey) {
    for (int c = 1; c < std::min(grey.cols - 1, 5); ++c) {
        std::vector<int> values;
        for (int r = 0; r < 3; ++r)
            for (int k = -1; k <= 1; ++k) values.push_back(grey.at<uchar>(r, c + k));
        for (int pass = 0; pass < 2; ++pass) {
            for (int v : values) std::cout << v << " ";
            std::cout << "\n";
            std::sort(values.begin(), values.end());
        }
    }
}

// Qt paints the slider's groove blue left of the handle; the handle starts
// where the blue ends. Finds the lowest row with a run of 20 blue pixels in
// a row (tick marks below the groove may be blue too, but apart).
int printHandle(const cv::Mat& shot) {
    for (int y = shot.rows - 1; y >= 0; --y) {
        const cv::Vec3b* row = shot.ptr<cv::Vec3b>(y);
        int runStart = -1;
        for (int x = 0; x <= shot.cols; ++x) {
            const bool blue = x < shot.cols && row[x][0] > row[x][2] + 40;  // BGR
            if (blue && runStart < 0) runStart = x;
            if (blue || runStart < 0) continue;
            if (x - runStart >= 20) {
                std::cout << x - 1 + 5 << " " << y << " " << runStart << "\n";
                return 0;
            }
            runStart = -1;
        }
    }
    return 1;
}

// A mid-grey pixel, as the Win32 trackbar draws its thumb's outline.
bool outlineGrey(const cv::Vec3b& p) {
    return p[0] == p[1] && p[1] == p[2] && p[0] >= 0x90 && p[0] <= 0xC0;
}

// How many pixels of column x from row y down are the outline grey.
int greyRunDown(const cv::Mat& shot, int x, int y) {
    int length = 0;
    while (y + length < shot.rows && outlineGrey(shot.at<cv::Vec3b>(y + length, x))) ++length;
    return length;
}

// The Win32 trackbar's thumb (under Wine) is a white box whose left and
// right outlines are mid-grey columns at least 12 pixels tall, 6 to 16
// apart; text and the map have no such pair. Prints the box's middle.
int printWin32Thumb(const cv::Mat& shot) {
    constexpr int kTall = 12;
    for (int y = 0; y + kTall < shot.rows; ++y) {
        for (int x = 0; x < shot.cols; ++x) {
            if (greyRunDown(shot, x, y) < kTall || (y > 0 && outlineGrey(shot.at<cv::Vec3b>(y - 1, x)))) continue;
            for (int right = x + 6; right <= x + 16 && right < shot.cols; ++right) {
                const int middle = (x + right) / 2;
                if (greyRunDown(shot, right, y) >= kTall &&
                    shot.at<cv::Vec3b>(y + kTall / 2, middle) == cv::Vec3b(255, 255, 255)) {
                    std::cout << middle << " " << y + kTall / 2 << "\n";
                    return 0;
                }
            }
        }
    }
    return 1;
}

// A valid PNG signature and header chunk claiming 200000x200000 grey
// pixels, then a tiny data chunk (an empty zlib stream) and the end chunk:
// decoders see the size before any pixel.
int writeHugePng(const std::string& path) {
    const auto bigEndian = [](std::uint32_t v) {
        return std::string{static_cast<char>(v >> 24), static_cast<char>(v >> 16),
                           static_cast<char>(v >> 8), static_cast<char>(v)};
    };
    const auto chunk = [&](const std::string& type, const std::string& data) {
        std::uint32_t crc = 0xFFFFFFFFu;  // CRC-32 of type and data, as PNG wants
        for (unsigned char byte : type + data) {
            crc ^= byte;
            for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
        return bigEndian(static_cast<std::uint32_t>(data.size())) + type + data + bigEndian(~crc);
    };
    const std::string header = bigEndian(200000) + bigEndian(200000) + std::string("\x08\0\0\0\0", 5);
    std::ofstream(path, std::ios::binary) << "\x89PNG\r\n\x1a\n" << chunk("IHDR", header)
                                          << chunk("IDAT", std::string("\x78\x9c\x03\0\0\0\0\x01", 8))
                                          << chunk("IEND", "");
    return 0;
}

// A grey PNG of size x size pixels, a gradient across, that decodes
// whole: for pictures that load but leave too little memory for the rest.
int writeLargePng(int size, const std::string& path) {
    cv::Mat row(1, size, CV_8UC1);
    for (int c = 0; c < size; ++c) row.at<std::uint8_t>(c) = static_cast<std::uint8_t>(c * 256LL / size);
    cv::Mat picture;
    cv::repeat(row, size, 1, picture);
    return cv::imwrite(path, picture, {cv::IMWRITE_PNG_COMPRESSION, 1}) ? 0 : 2;
}

// A Unix socket bound at path (it stays after we exit), for a picture's
// path that is neither a file nor a directory.
int leaveSocket(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) return 2;
    std::memcpy(address.sun_path, path.data(), path.size());
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    const bool bound = bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    close(fd);
    return bound ? 0 : 2;
}

// The window rimtrace should show at its start, made here from the fixed
// names and values rimtrace must use; a screenshot of each must be equal.
int showReference(const cv::Mat& grey) {
    const int start = 100;
    cv::namedWindow("reference", cv::WINDOW_AUTOSIZE);
    cv::createTrackbar("threshhold", "reference", nullptr, 255);
    cv::setTrackbarPos("threshhold", "reference", start);
    cv::imshow("reference", edgeMap(localRange(grey), start));
    while ((cv::waitKey(30) & 0xFF) != 27) {
    }
    return 0;
}

// Whether the icon's opaque pixels are in the shot, exactly, at one place,
// as a toolbar draws an icon over its own background: at its size, or on a
// scaled desktop scale times as large, each pixel a square of them (Qt's
// toolbar then enlarges its 16-pixel icons so).
bool iconAppearsIn(cv::Mat icon, const cv::Mat& shot, int scale) {
    if (icon.channels() != 4) return false;
    if (scale > 1) cv::resize(icon, icon, cv::Size(), scale, scale, cv::INTER_NEAREST);
    if (shot.cols < icon.cols || shot.rows < icon.rows) return false;
    cv::Mat colours, alpha, opaque, differences;
    cv::cvtColor(icon, colours, cv::COLOR_BGRA2BGR);
    cv::extractChannel(icon, alpha, 3);
    cv::compare(alpha, 255, opaque, cv::CMP_EQ);
    cv::cvtColor(opaque, opaque, cv::COLOR_GRAY2BGR);
    opaque.convertTo(opaque, CV_32FC3, 1.0 / 255);
    cv::matchTemplate(shot, colours, differences, cv::TM_SQDIFF, opaque);
    double least = 0;
    cv::minMaxLoc(differences, &least);
    return least < 0.5;
}

int usage() {
    std::cerr << "usage: screen_check grey|median PICTURE SHOT | edges PICTURE T SHOT |"
                 " thresholds PICTURE SHOT | trace PICTURE | handle SHOT | win32-thumb SHOT |"
                 " huge-png FILE |"
                 " large-png SIZE FILE | socket FILE | icon ICON SCALE SHOT |"
                 " reference PICTURE\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() < 2) return usage();
    const std::string& mode = args[0];
    if (mode == "handle") return printHandle(readOrExit(args[1], cv::IMREAD_COLOR));
    if (mode == "win32-thumb") return printWin32Thumb(readOrExit(args[1], cv::IMREAD_COLOR));
    if (mode == "huge-png") return writeHugePng(args[1]);
    if (mode == "socket") return leaveSocket(args[1]);
    if (mode == "large-png" && args.size() == 3) return writeLargePng(std::atoi(args[1].c_str()), args[2]);
    if (mode == "icon" && args.size() == 4) {
        const cv::Mat icon = readOrExit(args[1], cv::IMREAD_UNCHANGED);
        return iconAppearsIn(icon, readOrExit(args[3], cv::IMREAD_COLOR), std::atoi(args[2].c_str())) ? 0 : 1;
    }
    const cv::Mat grey = readOrExit(args[1], cv::IMREAD_GRAYSCALE);
    if (mode == "reference" && args.size() == 2) return showReference(grey);
    if (mode == "trace" && args.size() == 2) {
        if (grey.rows >= 3) printTrace(grey);
        return 0;
    }
    if ((mode == "grey" || mode == "median") && args.size() == 3) {
        const cv::Mat expected = mode == "grey" ? grey : medianWithFrame(grey);
        return appearsIn(expected, readOrExit(args[2], cv::IMREAD_COLOR)) ? 0 : 1;
    }
    if (mode == "edges" && args.size() == 4) {
        const cv::Mat expected = edgeMap(localRange(grey), std::atoi(args[2].c_str()));
        return appearsIn(expected, readOrExit(args[3], cv::IMREAD_COLOR)) ? 0 : 1;
    }
    if (mode == "thresholds" && args.size() == 3) {
        const cv::Mat shot = readOrExit(args[2], cv::IMREAD_COLOR);
        const cv::Mat range = localRange(grey);
        // Every map's top row is black, so the candidate places are shared.
        const cv::Mat blackRow = cv::Mat::zeros(1, grey.cols, CV_8UC1);
        const auto places = placesOfTopRow(blackRow, shot, grey.rows);
        bool any = false;
        for (int t = 0; t <= 256; ++t) {
            if (appearsAtAny(edgeMap(range, t), shot, places)) {
                std::cout << t << " ";
                any = true;
            }
        }
        std::cout << "\n";
        return any ? 0 : 1;
    }
    return usage();
}

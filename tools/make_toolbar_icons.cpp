// Draws the icons that OpenCV's Qt window asks the desktop's icon theme for
// (its toolbar's zoom, save, copy and properties buttons) into FOLDER, as an
// icon theme of their own: FOLDER/icons/hicolor/NxN/actions/NAME.png, its
// index.theme and its icon-theme.cache. A desktop whose theme has none
// would show the buttons as text, a toolbar far wider than most pictures;
// the programs offer this
// folder to Qt after the desktop's own. Dark strokes on a clear ground, as
// the usual toolbar icons; each size drawn anew, smoothed by 4x4 samples a
// pixel. Deterministic: same bytes on every build.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include <opencv2/core.hpp>
#include <opencv2/imgcodecs.hpp>

namespace {

const int kSizes[] = {16, 24, 32, 48};
constexpr int kSamplesPerSide = 4;

// Colours, blue-green-red-alpha.
const cv::Vec4b kClear(0, 0, 0, 0);
const cv::Vec4b kInk(64, 60, 56, 255);
const cv::Vec4b kGlass(250, 232, 205, 255);
const cv::Vec4b kPaper(255, 255, 255, 255);

// A point of the icon, x and y from 0 to 1, and how thick a stroke is there.
struct Point {
    double x, y;
    double stroke;  // half a stroke's width, at least one pixel wide
};

bool inRect(const Point& p, double left, double top, double right, double bottom) {
    return p.x >= left && p.x <= right && p.y >= top && p.y <= bottom;
}

// The outline of a rectangle, drawn inside it.
bool onRectOutline(const Point& p, double left, double top, double right, double bottom) {
    const double w = 2 * p.stroke;
    return inRect(p, left, top, right, bottom) && !inRect(p, left + w, top + w, right - w, bottom - w);
}

bool nearSegment(const Point& p, double ax, double ay, double bx, double by, double halfWidth) {
    const double dx = bx - ax, dy = by - ay;
    const double t = std::clamp(((p.x - ax) * dx + (p.y - ay) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
    return std::hypot(p.x - ax - t * dx, p.y - ay - t * dy) <= halfWidth;
}

// A magnifying glass, its lens centred at (kLens, kLens), with what the
// lens shows drawn by mark in ink.
constexpr double kLens = 0.4, kLensRadius = 0.29;

cv::Vec4b magnifier(const Point& p, bool (*mark)(const Point&)) {
    const double fromLens = std::hypot(p.x - kLens, p.y - kLens);
    if (std::abs(fromLens - kLensRadius) <= p.stroke) return kInk;
    if (fromLens < kLensRadius) return mark(p) ? kInk : kGlass;
    if (nearSegment(p, 0.62, 0.62, 0.9, 0.9, 1.6 * p.stroke)) return kInk;
    return kClear;
}

bool dash(const Point& p) { return std::abs(p.y - kLens) <= p.stroke && std::abs(p.x - kLens) <= 0.15; }
bool plus(const Point& p) {
    return dash(p) || (std::abs(p.x - kLens) <= p.stroke && std::abs(p.y - kLens) <= 0.15);
}
bool one(const Point& p) {  // "1": its stem and its flag
    return (std::abs(p.x - kLens - 0.02) <= p.stroke && std::abs(p.y - kLens) <= 0.15) ||
           nearSegment(p, kLens + 0.02, kLens - 0.15, kLens - 0.07, kLens - 0.07, p.stroke);
}
bool frame(const Point& p) { return onRectOutline(p, kLens - 0.14, kLens - 0.11, kLens + 0.14, kLens + 0.11); }

cv::Vec4b zoomIn(const Point& p) { return magnifier(p, plus); }
cv::Vec4b zoomOut(const Point& p) { return magnifier(p, dash); }
cv::Vec4b zoomOriginal(const Point& p) { return magnifier(p, one); }
cv::Vec4b zoomFitBest(const Point& p) { return magnifier(p, frame); }

// An arrow down into a tray.
cv::Vec4b documentSave(const Point& p) {
    const bool shaft = std::abs(p.x - 0.5) <= 1.4 * p.stroke && p.y >= 0.1 && p.y <= 0.5;
    const bool head = p.y >= 0.4 && p.y <= 0.66 && std::abs(p.x - 0.5) <= 0.66 - p.y;
    const bool tray = inRect(p, 0.12, 0.6, 0.88, 0.88) && !inRect(p, 0.12 + 2.8 * p.stroke, 0.5, 0.88 - 2.8 * p.stroke,
                                                                 0.88 - 2.8 * p.stroke);
    return shaft || head || tray ? kInk : kClear;
}

// A sheet, white, outlined.
cv::Vec4b sheet(const Point& p, double left, double top, double right, double bottom) {
    if (onRectOutline(p, left, top, right, bottom)) return kInk;
    return inRect(p, left, top, right, bottom) ? kPaper : kClear;
}

// Two sheets, the copy over the original.
cv::Vec4b editCopy(const Point& p) {
    const cv::Vec4b front = sheet(p, 0.36, 0.3, 0.88, 0.92);
    return front != kClear ? front : sheet(p, 0.12, 0.08, 0.64, 0.7);
}

// A sheet with lines of text.
cv::Vec4b documentProperties(const Point& p) {
    const cv::Vec4b page = sheet(p, 0.18, 0.06, 0.82, 0.94);
    if (page != kPaper) return page;
    for (double line : {0.3, 0.5, 0.7}) {
        if (std::abs(p.y - line) <= p.stroke && p.x >= 0.3 && p.x <= 0.7) return kInk;
    }
    return page;
}

using Painter = cv::Vec4b (*)(const Point&);

struct Icon {
    const char* name;
    Painter paint;
};

const Icon kIcons[] = {
    {"zoom-in", zoomIn},           {"zoom-out", zoomOut},         {"zoom-original", zoomOriginal},
    {"zoom-fit-best", zoomFitBest}, {"document-save", documentSave}, {"edit-copy", editCopy},
    {"document-properties", documentProperties},
};

// Each pixel the mean of its samples, colours weighted by their cover.
cv::Mat draw(Painter paint, int size) {
    const double stroke = std::max(0.55 / size, 0.035);
    cv::Mat icon(size, size, CV_8UC4);
    for (int r = 0; r < size; ++r) {
        cv::Vec4b* row = icon.ptr<cv::Vec4b>(r);
        for (int c = 0; c < size; ++c) {
            cv::Vec4d sum(0, 0, 0, 0);
            for (int sr = 0; sr < kSamplesPerSide; ++sr) {
                for (int sc = 0; sc < kSamplesPerSide; ++sc) {
                    const Point p{(c + (sc + 0.5) / kSamplesPerSide) / size,
                                  (r + (sr + 0.5) / kSamplesPerSide) / size, stroke};
                    const cv::Vec4b colour = paint(p);
                    for (int k = 0; k < 3; ++k) sum[k] += colour[k] * colour[3];
                    sum[3] += colour[3];
                }
            }
            const double alpha = sum[3] / (kSamplesPerSide * kSamplesPerSide);
            row[c] = kClear;
            if (sum[3] == 0) continue;
            for (int k = 0; k < 3; ++k) row[c][k] = cv::saturate_cast<uchar>(sum[k] / sum[3]);
            row[c][3] = cv::saturate_cast<uchar>(alpha);
        }
    }
    return icon;
}

std::string sizeFolder(int size) { return std::to_string(size) + "x" + std::to_string(size) + "/actions"; }

// The theme's index: one folder of action icons per size.
std::string indexTheme() {
    std::string folders, sections;
    for (int size : kSizes) {
        folders += (folders.empty() ? "" : ",") + sizeFolder(size);
        sections += "\n[" + sizeFolder(size) + "]\nSize=" + std::to_string(size) + "\nContext=Actions\nType=Threshold\n";
    }
    return "[Icon Theme]\nName=Hicolor\nComment=OpenCV's toolbar icons, for desktops without them\nDirectories=" +
           folders + "\n" + sections;
}

// The theme's icon cache, in the format of GTK's gtk-update-icon-cache,
// which Qt reads too: which folders hold each icon. Without it Qt looks for
// every icon in each of the folders the hicolor theme of the system lists
// (some 200, each file name tried with three suffixes): about 15 ms of
// each start. Big-endian, every 32-bit field aligned to 4.
constexpr std::uint32_t kNone = 0xFFFFFFFF;
constexpr std::uint16_t kPngSuffix = 1;

void put16(std::string& out, std::uint16_t value) {
    out += static_cast<char>(value >> 8);
    out += static_cast<char>(value & 0xFF);
}
void put32(std::string& out, std::uint32_t value) {
    put16(out, static_cast<std::uint16_t>(value >> 16));
    put16(out, static_cast<std::uint16_t>(value & 0xFFFF));
}
// A name's room in the cache: its terminating zero and padding to the
// next multiple of 4.
std::uint32_t nameRoom(const std::string& name) { return static_cast<std::uint32_t>(name.size() / 4 * 4 + 4); }
void putName(std::string& out, const std::string& name) {
    out += name;
    out.append(nameRoom(name) - name.size(), '\0');
}

std::uint32_t iconNameHash(const char* name) {
    std::uint32_t hash = static_cast<std::uint32_t>(static_cast<signed char>(*name));
    for (const char* c = name + 1; *c != '\0'; ++c) hash = (hash << 5) - hash + static_cast<std::uint32_t>(*c);
    return hash;
}

std::string iconThemeCache() {
    constexpr std::uint32_t kIconCount = sizeof(kIcons) / sizeof(kIcons[0]);
    constexpr std::uint32_t kSizeCount = sizeof(kSizes) / sizeof(kSizes[0]);
    constexpr std::uint32_t kHeader = 12, kHash = kHeader, kBuckets = kIconCount;
    constexpr std::uint32_t kIconRecords = kHash + 4 + 4 * kBuckets;
    constexpr std::uint32_t kImageLists = kIconRecords + 12 * kIconCount;
    constexpr std::uint32_t kImageList = 4 + 8 * kSizeCount;
    constexpr std::uint32_t kFolderList = kImageLists + kImageList * kIconCount;
    // The folders' names, then the icons', follow the folder list.
    std::uint32_t namesAt = kFolderList + 4 + 4 * kSizeCount;
    std::string cache;
    put16(cache, 1);  // version 1.0
    put16(cache, 0);
    put32(cache, kHash);
    put32(cache, kFolderList);
    // Each bucket starts a chain of icons through their first field.
    std::uint32_t first[kBuckets], next[kIconCount];
    std::fill(first, first + kBuckets, kNone);
    for (std::uint32_t i = kIconCount; i-- > 0;) {
        const std::uint32_t bucket = iconNameHash(kIcons[i].name) % kBuckets;
        next[i] = first[bucket];
        first[bucket] = kIconRecords + 12 * i;
    }
    put32(cache, kBuckets);
    for (std::uint32_t bucket : first) put32(cache, bucket);
    std::string folders;
    for (int size : kSizes) putName(folders, sizeFolder(size));
    std::uint32_t iconNameAt = namesAt + static_cast<std::uint32_t>(folders.size());
    for (std::uint32_t i = 0; i < kIconCount; ++i) {
        put32(cache, next[i]);
        put32(cache, iconNameAt);
        put32(cache, kImageLists + kImageList * i);
        iconNameAt += nameRoom(kIcons[i].name);
    }
    for (std::uint32_t i = 0; i < kIconCount; ++i) {
        put32(cache, kSizeCount);
        for (std::uint16_t folder = 0; folder < kSizeCount; ++folder) {
            put16(cache, folder);
            put16(cache, kPngSuffix);
            put32(cache, 0);  // no image data in the cache
        }
    }
    put32(cache, kSizeCount);
    for (int size : kSizes) {
        put32(cache, namesAt);
        namesAt += nameRoom(sizeFolder(size));
    }
    cache += folders;
    for (const Icon& icon : kIcons) putName(cache, icon.name);
    return cache;
}

// The cache is written last: Qt takes it only when it is no older than the
// theme's folders.
bool writeIcons(const std::filesystem::path& theme) {
    std::error_code ignored;
    for (int size : kSizes) {
        std::filesystem::create_directories(theme / sizeFolder(size), ignored);
        for (const Icon& icon : kIcons) {
            const std::string path = (theme / sizeFolder(size) / (std::string(icon.name) + ".png")).string();
            if (!cv::imwrite(path, draw(icon.paint, size))) return false;
        }
    }
    std::ofstream index(theme / "index.theme", std::ios::binary);
    index << indexTheme();
    std::ofstream cache(theme / "icon-theme.cache", std::ios::binary);
    cache << iconThemeCache();
    return index && cache;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_toolbar_icons FOLDER\n";
        return 2;
    }
    const std::filesystem::path theme = std::filesystem::path(argv[1]) / "icons" / "hicolor";
    if (writeIcons(theme)) return 0;
    std::cerr << "make_toolbar_icons: cannot write the icons into " << theme.string() << "\n";
    return 1;
}

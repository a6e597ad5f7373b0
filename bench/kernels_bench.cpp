// Times medianFilter3x3 and buildEdgeMap against OpenCV's medianBlur and
// morphological gradient plus threshold, single-threaded, on 4000x3000
// pictures of random noise and of a smooth photo-like scene; and rimtrace's
// refresh after a slider move, the map shrunk to the views of a 1080p, a
// 1440p and a 4K screen, against the shrink it replaced and, where a
// display answers, against cv::imshow of the same view with its paint.
// Names read kernel/implementation/picture (or view); scripts/benchmark
// makes the tables.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <sstream>
#include <string>

#include <opencv2/core.hpp>
#include <opencv2/highgui.hpp>
#include <opencv2/imgproc.hpp>

#include "edge_dispatch.hpp"
#include "edge_map.hpp"
#include "map_view.hpp"
#include "median_dispatch.hpp"
#include "median_filter.hpp"

using namespace speckwipe;
using namespace rimtrace;

namespace {

constexpr int kRows = 3000;
constexpr int kCols = 4000;
constexpr int kThreshold = 100;

cv::Mat noisePicture() {
    cv::Mat picture(kRows, kCols, CV_8UC1);
    cv::RNG(1).fill(picture, cv::RNG::UNIFORM, 0, 256);
    return picture;
}

// Soft gradients and waves with a little grain, like a photo's content.
cv::Mat smoothPicture() {
    cv::Mat picture(kRows, kCols, CV_8UC1);
    cv::RNG rng(2);
    for (int r = 0; r < kRows; ++r) {
        uchar* row = picture.ptr<uchar>(r);
        for (int c = 0; c < kCols; ++c) {
            const double v = 128 + 60 * std::sin(c / 97.0) * std::cos(r / 131.0) +
                             40 * std::sin((c + r) / 53.0) + rng.uniform(-3, 4);
            row[c] = cv::saturate_cast<uchar>(v);
        }
    }
    return picture;
}

const cv::Mat& picture(int which) {
    static const cv::Mat noise = noisePicture();
    static const cv::Mat smooth = smoothPicture();
    return which == 0 ? noise : smooth;
}

void medianOurs(benchmark::State& state, int which) {
    const cv::Mat& source = picture(which);
    cv::Mat destination = source.clone();
    // The trace goes to a string: the console would time the terminal.
    std::ostringstream trace;
    std::streambuf* console = std::cout.rdbuf(trace.rdbuf());
    for (auto _ : state) {
        medianFilter3x3(source, destination);
        benchmark::DoNotOptimize(destination.data);
        trace.str("");
    }
    std::cout.rdbuf(console);
}

// The yardstick: one pass that reads the picture and writes another.
void copyPicture(benchmark::State& state, int which) {
    const cv::Mat& source = picture(which);
    cv::Mat destination = source.clone();
    for (auto _ : state) {
        std::memcpy(destination.data, source.data, source.total());
        benchmark::DoNotOptimize(destination.data);
    }
}

void medianKernel(benchmark::State& state, int which, MedianKernel kernel) {
    const cv::Mat& source = picture(which);
    cv::Mat destination = source.clone();
    for (auto _ : state) {
        medianFilterWith(source, destination, kernel);
        benchmark::DoNotOptimize(destination.data);
    }
}

void medianOpenCv(benchmark::State& state, int which) {
    const cv::Mat& source = picture(which);
    cv::Mat destination;
    for (auto _ : state) {
        cv::medianBlur(source, destination, 3);
        benchmark::DoNotOptimize(destination.data);
    }
}

void edgeOurs(benchmark::State& state, int which) {
    const cv::Mat& source = picture(which);
    for (auto _ : state) {
        cv::Mat map = buildEdgeMap(source, kThreshold);
        benchmark::DoNotOptimize(map.data);
    }
}

void edgeKernel(benchmark::State& state, int which, EdgeKernel kernel) {
    const cv::Mat& source = picture(which);
    for (auto _ : state) {
        cv::Mat map = buildEdgeMapWith(source, kThreshold, kernel);
        benchmark::DoNotOptimize(map.data);
    }
}

void edgePlain(benchmark::State& state, int which) {
    const cv::Mat& source = picture(which);
    for (auto _ : state) {
        cv::Mat map = buildEdgeMapPlain(source, kThreshold);
        benchmark::DoNotOptimize(map.data);
    }
}

void edgeOpenCv(benchmark::State& state, int which) {
    const cv::Mat& source = picture(which);
    const cv::Mat square = cv::Mat::ones(3, 3, CV_8U);
    cv::Mat range, map;
    for (auto _ : state) {
        cv::morphologyEx(source, range, cv::MORPH_GRADIENT, square);
        cv::threshold(range, map, kThreshold - 1, 255, cv::THRESH_BINARY);
        benchmark::DoNotOptimize(map.data);
    }
}

// A slider move at every refresh: the threshold differs each time.
int movedThreshold(int refresh) { return 40 + refresh % 120; }

// The refresh as rimtrace makes it: one comparison over the prepared view.
void refreshOurs(benchmark::State& state, cv::Size shown) {
    const cv::Mat& source = picture(1);
    const MapView view = prepareMapView(source, shown);
    int refresh = 0;
    for (auto _ : state) {
        cv::Mat map = mapViewAt(view, source, movedThreshold(refresh++));
        benchmark::DoNotOptimize(map.data);
    }
}

// What preparing the view costs, once, as the picture is loaded.
void prepareView(benchmark::State& state, cv::Size shown) {
    const cv::Mat& source = picture(1);
    for (auto _ : state) {
        MapView view = prepareMapView(source, shown);
        benchmark::DoNotOptimize(view.largestRanges.data);
    }
}

// The refresh before the view was prepared: the whole map, then shrunk.
void refreshBefore(benchmark::State& state, cv::Size shown) {
    const cv::Mat& source = picture(1);
    int refresh = 0;
    for (auto _ : state) {
        cv::Mat map = shrinkKeepingEdges(buildEdgeMap(source, movedThreshold(refresh++)), shown);
        benchmark::DoNotOptimize(map.data);
    }
}

// What showing the view costs: cv::imshow, and the paint that Qt does in
// the next waitKey.
void refreshImshow(benchmark::State& state, cv::Size shown) {
    const cv::Mat& source = picture(1);
    const MapView view = prepareMapView(source, shown);
    const cv::Mat maps[] = {mapViewAt(view, source, 60), mapViewAt(view, source, 140)};
    const std::string window = "refresh " + std::to_string(shown.width);
    cv::namedWindow(window, cv::WINDOW_AUTOSIZE);
    int refresh = 0;
    for (auto _ : state) {
        cv::imshow(window, maps[refresh++ % 2]);
        cv::waitKey(1);
    }
    cv::destroyWindow(window);
}

// Registers NAME/noise and NAME/smooth, handing function the picture's
// number. The plain versions take about a second a call, so they
// run twice only.
template <typename Function>
void addForBothPictures(const std::string& name, Function function, bool slow = false) {
    const char* pictureNames[] = {"noise", "smooth"};
    for (int which = 0; which < 2; ++which) {
        auto* run = benchmark::RegisterBenchmark((name + "/" + pictureNames[which]).c_str(),
                                                 function, which)
                        ->Unit(benchmark::kMillisecond);
        if (slow) run->Iterations(2);
    }
}

// The views of a 4000x3000 picture fitted to a 1080p, a 1440p and a 4K
// screen's work area, as rimtrace shows it.
void addForEachView(const std::string& name, void (*function)(benchmark::State&, cv::Size)) {
    for (const cv::Size shown : {cv::Size(1257, 943), cv::Size(1856, 1392), cv::Size(2697, 2023)}) {
        const std::string view = std::to_string(shown.width) + "x" + std::to_string(shown.height);
        benchmark::RegisterBenchmark((name + "/" + view).c_str(), function, shown)
            ->Unit(benchmark::kMillisecond);
    }
}

bool displayAnswers() { return std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY"); }

void registerAll() {
    addForBothPictures("copy/memcpy", copyPicture);
    addForBothPictures("median/ours", medianOurs);
    addForBothPictures("median/opencv", medianOpenCv);
    addForBothPictures("median/plain", [](benchmark::State& s, int w) { medianKernel(s, w, medianPlain); }, true);
    addForBothPictures("edges/ours", edgeOurs);
    addForBothPictures("edges/opencv", edgeOpenCv);
    addForBothPictures("edges/plain", edgePlain, true);
    addForEachView("refresh/ours", refreshOurs);
    addForEachView("refresh/before", refreshBefore);
    addForEachView("refresh/prepare", prepareView);
    if (displayAnswers()) addForEachView("refresh/imshow", refreshImshow);
    // Every kernel built for this target that this CPU runs, by its name.
    for (const NamedMedianKernel& built : builtMedianKernels()) {
        if (!built.cpuRunsIt()) continue;
        const MedianKernel kernel = built.kernel;
        addForBothPictures(std::string("median/") + built.name,
                           [kernel](benchmark::State& s, int w) { medianKernel(s, w, kernel); });
    }
    for (const NamedEdgeKernel& built : builtEdgeKernels()) {
        if (!built.cpuRunsIt()) continue;
        const EdgeKernel kernel = built.kernel;
        addForBothPictures(std::string("edges/") + built.name,
                           [kernel](benchmark::State& s, int w) { edgeKernel(s, w, kernel); });
    }
}

}  // namespace

int main(int argc, char** argv) {
    cv::setNumThreads(1);  // OpenCV single-threaded, like our programs
    registerAll();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

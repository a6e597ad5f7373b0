#pragma once
// What of the edge map the window shows: the map itself when the picture
// fits the screen, else a shrunk view of it that keeps every edge.

#include <opencv2/core.hpp>

namespace rimtrace {

// map (CV_8UC1, 0 or 255) shrunk to size, no larger than map: a pixel is
// white when any map pixel of its share is white, so one-pixel edges stay
// visible. Qt's own scaling samples one pixel in each and loses most of
// them. Returns map itself when size is map's size. The rule of the view;
// the tests hold the prepared view below to it.
cv::Mat shrinkKeepingEdges(const cv::Mat& map, cv::Size size);

// A shrunk view prepared once per picture. A view pixel is white at
// threshold t when some interior pixel of its share has a local range of
// at least t, so the largest local range of each share is kept, and each
// slider move is one comparison over the view instead of a pass over the
// whole picture. Empty for a picture shown at its own size.
struct MapView {
    cv::Mat largestRanges;  // CV_8UC1 of the view's size; 0 where a share has no interior pixel
    cv::Rect interior;      // the view pixels whose share holds an interior pixel
};

// Prepares the view of source's map at shown, source's size or smaller.
MapView prepareMapView(const cv::Mat& source, cv::Size shown);

// What the window shows at threshold: buildEdgeMap(source, threshold) when
// view is empty, else exactly shrinkKeepingEdges of that map.
cv::Mat mapViewAt(const MapView& view, const cv::Mat& source, int threshold);

}  // namespace rimtrace

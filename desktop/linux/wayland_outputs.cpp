#include "wayland_outputs.hpp"

#include <cstdint>
#include <cstring>
#include <vector>

#include "wayland_display.hpp"

namespace desktop {

namespace {

// What an output tells of itself: its current mode, turned as the output
// is (a quarter turn swaps width and height), and its scale.
struct OutputSize {
    int width = 0;
    int height = 0;
    int scale = 1;
    bool turned = false;
};

void noteGeometry(void* data, wl_output*, int, int, int, int, int, const char*, const char*,
                  int transform) {
    static_cast<OutputSize*>(data)->turned = transform % 2 == 1;  // 90 and 270, flipped or not
}
void noteMode(void* data, wl_output*, std::uint32_t flags, int width, int height, int) {
    if ((flags & WL_OUTPUT_MODE_CURRENT) == 0) return;
    static_cast<OutputSize*>(data)->width = width;
    static_cast<OutputSize*>(data)->height = height;
}
void ignoreDone(void*, wl_output*) {}
void noteScale(void* data, wl_output*, int scale) {
    static_cast<OutputSize*>(data)->scale = scale > 0 ? scale : 1;
}
// Filled by name: newer libwayland versions add events at the end, which
// stay empty, as the version bound asks for none of them.
const wl_output_listener kOutputListener = [] {
    wl_output_listener listener{};
    listener.geometry = noteGeometry;
    listener.mode = noteMode;
    listener.done = ignoreDone;
    listener.scale = noteScale;
    return listener;
}();

struct Outputs {
    std::vector<wl_output*> proxies;
    std::vector<OutputSize> sizes;
};

void bindOutput(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
                std::uint32_t version) {
    if (std::strcmp(interface, wl_output_interface.name) != 0) return;
    auto& outputs = *static_cast<Outputs*>(data);
    outputs.proxies.push_back(static_cast<wl_output*>(
        wl_registry_bind(registry, name, &wl_output_interface, version < 2 ? version : 2)));
}
void ignoreRemoval(void*, wl_registry*, std::uint32_t) {}
const wl_registry_listener kRegistryListener = {bindOutput, ignoreRemoval};

// The smallest output's size in logical pixels, and its scale: a window
// may open on any.
cv::Rect smallestOutput(const std::vector<OutputSize>& sizes, int& scale) {
    cv::Rect smallest;
    for (const OutputSize& size : sizes) {
        cv::Size logical(size.width / size.scale, size.height / size.scale);
        if (size.turned) logical = cv::Size(logical.height, logical.width);
        if (logical.area() > 0 && (smallest.empty() || logical.area() < smallest.area())) {
            smallest = cv::Rect(cv::Point(), logical);
            scale = size.scale;
        }
    }
    return smallest;
}

}  // namespace

bool readOutputs(wl_display* display, cv::Rect& outputArea, int& outputScale) {
    Outputs outputs;
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &kRegistryListener, &outputs);
    bool answered = roundtripWithin(display);
    outputs.sizes.resize(outputs.proxies.size());
    for (std::size_t i = 0; i < outputs.proxies.size(); ++i) {
        wl_output_add_listener(outputs.proxies[i], &kOutputListener, &outputs.sizes[i]);
    }
    answered = answered && roundtripWithin(display);
    for (wl_output* output : outputs.proxies) wl_output_destroy(output);
    wl_registry_destroy(registry);
    if (answered) outputArea = smallestOutput(outputs.sizes, outputScale);
    return answered;
}

}  // namespace desktop

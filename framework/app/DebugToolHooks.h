#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace Zelk {

class ZelkAppBase;
struct ImageDumpEntry;

// What the debug keys and tools need from other parts of the framework: the
// tunable constants, the profiler, the display, the image writers and the
// images in memory. The application connects them when it is made
// (ConnectDeveloperTools); a hook left empty makes its tool do without (a
// missing capture takes no screenshot, a missing writer writes no picture).
struct DebugToolHooks {
    // Re-reads the tunable constants from their source files; false when that failed.
    std::function<bool()> reloadTunables;
    std::function<bool()> profilerRunning;
    std::function<void()> profilerStart;
    std::function<void()> profilerStop;
    std::function<std::string()> profilerReport;
    // Switches the display to 3D (true) or 2D, as the application's own switch does.
    std::function<void(ZelkAppBase& app, bool want3D)> set3DMode;
    // Reads back the frame being drawn as ARGB pixels, under the display lock;
    // false when there is no draw surface.
    std::function<bool(ZelkAppBase& app, int& width, int& height, std::vector<uint32_t>& pixels)> captureScreen;
    // Image files of ARGB pixels, top row first.
    std::function<bool(const std::string& path, int width, int height, const uint32_t* pixels)> writePng;
    std::function<bool(const std::string& path, int width, int height, const uint32_t* pixels)> writeJpeg;
    // Every image in the application's set of memory images, in the set's order.
    std::function<void(ZelkAppBase& app, std::vector<ImageDumpEntry>& images)> listImages;
};

extern DebugToolHooks gDebugToolHooks;

} // namespace Zelk

#include "platform/window/Letterbox.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace plat {

namespace {

int64_t FloorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

int Saturate(int64_t v) { return int(std::clamp<int64_t>(v, INT_MIN, INT_MAX)); }

// One axis of ToScene: the window coordinate v, the scaled scene at
// [place, place + size) of a window `window` long, a scene `scene` long.
int AxisToScene(int v, int window, int place, int size, int scene)
{
    if (scene <= 0)
        return v;
    if (size <= 0) // the scene is too thin to show: all of it is its edge
        return 0;
    if (v >= 0 && v < window)
        v = std::clamp(v, place, place + size - 1);
    return Saturate(FloorDiv((int64_t(v) - place) * scene, size));
}

int AxisToWindow(int v, int place, int size, int scene)
{
    if (scene <= 0)
        return v;
    if (size <= 0)
        return place;
    v = std::clamp(v, 0, scene - 1);
    return Saturate(place - FloorDiv(-int64_t(v) * size, scene)); // place + ceil(v * size / scene)
}

} // namespace

Letterbox::Letterbox(int windowWidth, int windowHeight, int sceneWidth, int sceneHeight)
    : mWindowWidth(std::max(windowWidth, 0)), mWindowHeight(std::max(windowHeight, 0)),
      mSceneWidth(sceneWidth > 0 && sceneHeight > 0 ? sceneWidth : mWindowWidth),
      mSceneHeight(sceneWidth > 0 && sceneHeight > 0 ? sceneHeight : mWindowHeight)
{
    mWidth = mWindowWidth;
    mHeight = mWindowHeight;
    if (mSceneWidth <= 0 || mSceneHeight <= 0)
        return;
    if (int64_t(mWindowWidth) * mSceneHeight > int64_t(mWindowHeight) * mSceneWidth) {
        mWidth = int(int64_t(mWindowHeight) * mSceneWidth / mSceneHeight);
        mX = (mWindowWidth - mWidth) / 2;
    } else {
        mHeight = int(int64_t(mWindowWidth) * mSceneHeight / mSceneWidth);
        mY = (mWindowHeight - mHeight) / 2;
    }
}

void Letterbox::ToScene(int& x, int& y) const
{
    x = AxisToScene(x, mWindowWidth, mX, mWidth, mSceneWidth);
    y = AxisToScene(y, mWindowHeight, mY, mHeight, mSceneHeight);
}

void Letterbox::ToWindow(int& x, int& y) const
{
    x = AxisToWindow(x, mX, mWidth, mSceneWidth);
    y = AxisToWindow(y, mY, mHeight, mSceneHeight);
}

} // namespace plat

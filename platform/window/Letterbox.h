#pragma once

namespace plat {

// Where a scene (the frame the program presents) is shown in a window: scaled
// to the window with its aspect kept and centred, with black bars on the two
// sides or above and below. The present places the frame with it, and every
// mouse position crosses it, so a point of the window and the scene pixel
// shown there always agree.
class Letterbox {
public:
    // A scene of no size (none presented yet) fills the window one to one.
    Letterbox(int windowWidth, int windowHeight, int sceneWidth, int sceneHeight);

    // The scaled scene's place in the window.
    int X() const { return mX; }
    int Y() const { return mY; }
    int Width() const { return mWidth; }
    int Height() const { return mHeight; }

    // A window point to the scene pixel shown there. A point on a bar is
    // clamped to the scene's nearest edge; a point beyond the window (only
    // while the mouse is captured) keeps going at the same scale, as the
    // desktop reports a drag out of the window.
    void ToScene(int& x, int& y) const;
    // A scene pixel to the first window point that shows it, so ToScene gives
    // the pixel back; a point beyond the scene is clamped to its edge first.
    void ToWindow(int& x, int& y) const;

private:
    int mWindowWidth, mWindowHeight;
    int mSceneWidth, mSceneHeight;
    int mX = 0, mY = 0, mWidth = 0, mHeight = 0;
};

} // namespace plat

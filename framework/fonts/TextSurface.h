#pragma once

namespace plat {
struct TextTarget;
}

namespace Zelk {

// What drawing system-font text straight onto a display surface needs of the
// image holding the surface. Surface images implement it; a system font looks
// for it on the destination image and otherwise draws through a memory image.
//
// The surface's device context is a pixel target over the locked surface, so
// the image's own lock must be let go while the context is out.
class TextSurface {
public:
    virtual ~TextSurface() = default;
    // Makes the surface when there is none yet; false when there still is none.
    virtual bool EnsureTextSurface() = 0;
    // The image's lock nesting count.
    virtual int TextSurfaceLockCount() = 0;
    // Unlocks the surface for the device context; the count stays.
    virtual void SuspendSurfaceLock() = 0;
    // Locks the surface again into the image's lock description; false when
    // the surface cannot be locked.
    virtual bool ResumeSurfaceLock() = 0;
    // Forgets the lock: count 0 and lock description cleared, so later
    // drawing fails to lock instead of writing through a stale pointer.
    virtual void ResetSurfaceLock() = 0;
    // Ends the open scene of the renderer drawing into this surface (text may
    // not be drawn inside a scene).
    virtual void EndRendererScene() = 0;
    // The device context: a target over the surface's pixels with the whole
    // surface as clip; false when there is none.
    virtual bool GetTextDC(plat::TextTarget& target) = 0;
    virtual void ReleaseTextDC() = 0;
    // The surface was drawn on: memory-side copies of the pixels are stale.
    virtual void DropMemoryCopies() = 0;
};

} // namespace Zelk

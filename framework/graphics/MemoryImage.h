#pragma once
#include "framework/graphics/Image.h"
#include "framework/graphics/NativeDisplay.h"

#include <cstddef>
#include <cstdint>

namespace Zelk {

class ZelkAppBase;

// Texture flag bits (manifest attributes, read by the renderer).
enum : uint32_t {
    TEXTUREFLAG_MINSUBDIVIDE = 1,
    TEXTUREFLAG_A4R4G4B4 = 4,
    TEXTUREFLAG_A8R8G8B8 = 8,
};

// The word after the last pixel of every pixel array an image allocates.
constexpr uint32_t kPixelGuard = 0x4BEEFADE;

// An image whose pixels live in memory as 32-bit ARGB words, rows of width
// pixels one after the other. Draws into itself in software and keeps derived
// forms of its pixels: a 256-colour palettised form, a premultiplied copy in
// the display's layout and two run-length tables for the blitters.
//
// The pixels are held by mBits, or by the colour table with the indices, or
// by native bits of full size, or by the renderer's textures; when none holds
// them they are transparent black, made on demand. The image registers with
// the application (when there is one) for its whole life.
class MemoryImage : public Image {
public:
    MemoryImage();
    explicit MemoryImage(ZelkAppBase* app);
    MemoryImage(const MemoryImage& other);
    ~MemoryImage() override;

    // Software drawing; the operations trust their (already clipped) input.
    void FillRect(const Rect& rect, const Color& color, int drawMode) override;
    void ClearRect(const Rect& rect) override;
    void DrawLine(double x1, double y1, double x2, double y2, const Color& color, int drawMode) override;
    void DrawAntiAliasedLine(double x1, double y1, double x2, double y2, const Color& color, int drawMode) override;
    void FillCoverageSpans(const Span* spans, int count, const Color& color, int drawMode, const uint8_t* coverage,
                           int coverX, int coverY, int coverWidth, int coverHeight) override;
    void Blit(Image* src, int x, int y, const Rect& srcRect, const Color& color, int drawMode) override;
    // The transformed blits clip for themselves.
    void BlitFloat(Image* src, float x, float y, const Rect& srcRect, const Rect& clip, const Color& color,
                   int drawMode) override;
    void BlitRotated(Image* src, float x, float y, const Rect& srcRect, const Rect& clip, const Color& color,
                     int drawMode, double angle, float centerX, float centerY) override;
    void BlitStretched(Image* src, const Rect& destRect, const Rect& srcRect, const Rect& clip, const Color& color,
                       int drawMode, bool fastStretch) override;
    void BlitMatrix(Image* src, float x, float y, const Matrix3& matrix, const Rect& clip, const Color& color,
                    int drawMode, const Rect& srcRect, bool smooth) override;
    void BlitTriangles(Image* src, const TriVertex (*vertices)[3], int numTriangles, const Rect& clip,
                       const Color& color, int drawMode, float tx, float ty, bool smooth) override;

    // Derived forms, built on first use and valid until the pixels change.
    virtual uint32_t* GetNativeBits(const NativeDisplay* display);
    virtual uint8_t* GetAlphaRunLengths();
    virtual uint8_t* GetAdditiveRunLengths(const NativeDisplay* display);
    // The addend of an unmodulated additive blit: every pixel's colour
    // weighted by its alpha, the alpha byte 0. Null when the image has no
    // plain 32-bit pixels or no alpha (its colours are then added as they are).
    const uint32_t* GetAdditiveColors();
    virtual void DiscardBits();
    virtual void FreeDerivedBuffers();
    virtual void FreeTextureData();
    virtual void FreeExtraBuffers();
    virtual void ReapplyReductions();
    virtual void MarkBitsChanged();
    virtual void AnalyzeBits();
    virtual void FreeNativeData();
    virtual void Clear();
    // Copies width x height pixels (nothing when they are the image's own);
    // a size that cannot be held is refused.
    virtual void SetBits(const uint32_t* bits, int width, int height, bool analyzeNow = true);
    virtual void Create(int width, int height);
    // The pixel array, made first when needed; null only for a size that
    // cannot be held.
    virtual uint32_t* GetBits();
    virtual void SetAlphaKind(bool hasTransparency, bool hasAlpha);
    virtual void SetChangesOften(bool changesOften);
    virtual bool Palettize();

    bool HasPixelArray() const { return mBits != nullptr; }
    bool IsPalettized() const { return mColorTable != nullptr; }
    size_t PixelCount() const { return size_t(mWidth) * size_t(mHeight); }
    // The ARGB value of pixel i from whichever form holds it (mBits or the
    // palette); GetBits must not be needed.
    uint32_t ReadPixel(size_t i) const { return mBits ? mBits[i] : mColorTable[mColorIndices[i]]; }

    // Renderer read-back of discarded pixels: filled in by the renderer;
    // returns false when the textures cannot give the pixels back.
    static bool (*sReadTextureBits)(MemoryImage* image, uint32_t* bits);

    // Width x height when both are non-negative and the array (plus its guard
    // word) fits; false otherwise.
    static bool CheckedPixelCount(int width, int height, size_t& count);

    uint32_t* mBits = nullptr;
    int mChangeCount = 0;
    void* mTextureData = nullptr;
    uint32_t mTextureFlags = TEXTUREFLAG_A8R8G8B8;
    uint32_t* mColorTable = nullptr;   // 256 entries
    uint8_t* mColorIndices = nullptr;  // one per pixel
    bool mAlphaKindForced = false;
    bool mHasTransparency = false;
    bool mHasAlpha = false;
    bool mVolatile = false;
    bool mBitsDiscarded = false;
    bool mPalettized = false;
    uint32_t* mNativeBits = nullptr;   // width x height words, or 256 for a palette
    size_t mNativeBitsCount = 0;
    PixelLayout mNativeLayout;         // the layout mNativeBits were made for
    uint8_t* mAlphaRunLengths = nullptr;
    uint8_t* mAdditiveRunLengths = nullptr;
    uint32_t* mAdditiveColors = nullptr;
    bool mNeedsAnalysis = false;
    ZelkAppBase* mApp = nullptr;

protected:
    // The source of a blit as a memory image, marked as drawn; null for any
    // other image (which draws nothing).
    static MemoryImage* BlitSource(Image* image);
    void FreeBits();
    void FreePalette();
    void FreeNativeBits();
    void FreeRunLengths();
    NativeDisplay* AppDisplay() const;
};

} // namespace Zelk

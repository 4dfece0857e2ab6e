#pragma once
#include "framework/graphics/GraphicsState.h"

#include <string>
#include <vector>

namespace Zelk {

class Font;
class Image;

// The drawing context of widgets, fonts and screens. Integer coordinates are
// relative to the translation: x becomes x + translation computed in float
// and truncated toward zero, is clipped, and goes to the destination image's
// drawing operation or to the font. A Graphics without a destination draws
// into a 0 x 0 image and serves for measuring text.
class Graphics : public GraphicsState {
public:
    explicit Graphics(Image* destImage = nullptr);
    // Copies the state; the copy starts with an empty state stack.
    Graphics(const Graphics& other);
    Graphics& operator=(const Graphics&) = delete;
    virtual ~Graphics();

    Graphics* CreateCopy(); // the caller deletes it
    void PushState();
    void PopState();        // nothing on an empty stack

    void SetColor(const Color& color) { mColor = color; }
    const Color& GetColor() const { return mColor; }
    void SetFont(Font* font) { mFont = font; }
    Font* GetFont() const { return mFont; }
    void SetDrawMode(int drawMode) { mDrawMode = drawMode; }
    int GetDrawMode() const { return mDrawMode; }
    void SetModulateImages(bool on) { mModulateImages = on; }
    void SetNearestStretch(bool on) { mNearestStretch = on; }
    void SetFilterFlag(bool on) { mFilter = on; }
    void SetColorCodes(bool on) { mColorCodes = on; }
    void Translate(int dx, int dy);
    void ClipRect(int x, int y, int w, int h);

    void FillRect(int x, int y, int w, int h);
    void FillRect(const Rect& r) { FillRect(r.mX, r.mY, r.mWidth, r.mHeight); }
    // Outline whose right and bottom edges lie on x + w and y + h.
    void DrawRect(int x, int y, int w, int h);
    void DrawRect(const Rect& r) { DrawRect(r.mX, r.mY, r.mWidth, r.mHeight); }
    void DrawString(const std::wstring& text, int x, int y); // y is the baseline
    void DrawImage(Image* image, int x, int y);
    void DrawImageRegion(Image* image, int x, int y, const Rect& src);
    void DrawImageScaled(Image* image, int x, int y, int w, int h);
    void DrawImageRegionScaled(Image* image, const Rect& dest, const Rect& src);
    void DrawImageRegionScaledMirror(Image* image, const Rect& dest, const Rect& src, bool mirror);
    // Image boxes: corners once, edges and centre tiled, never stretched.
    void DrawNineSlice(const Rect& src, const Rect& dest, Image* image);
    void DrawNineSliceImage(const Rect& dest, Image* image);

    // Draws (or measures) text[start, start + length) with colour codes;
    // justification 0 centred, 1 right, else left within boxWidth. A start
    // colour of -1 means the current colour. Returns the width.
    int DrawColorCodedString(const std::wstring& text, int x, int y, int boxWidth, int justification, bool draw = true,
                             int start = 0, int length = -1, int startColor = -1);
    // Word-wrapped text in the box; returns the height of the text block.
    int DrawWrappedText(const Rect& box, const std::wstring& text, int lineSpacing = -1, int justification = -1,
                        int* widest = nullptr, int maxChars = -1, int* lastLineWidth = nullptr);
    int GetWrappedTextHeight(int width, const std::wstring& text, int lineSpacing = -1, int* widest = nullptr);

    // The image a Graphics without a destination draws into.
    static Image* EmptyImage();

    std::vector<GraphicsState> mStateStack;

private:
    int DestX(int x) const { return TruncToInt(float(x) + mTransX); }
    int DestY(int y) const { return TruncToInt(float(y) + mTransY); }
    Color ImageColor() const { return mModulateImages ? mColor : Color::White; }
    bool SourceInside(const Image* image, const Rect& src) const;
};

} // namespace Zelk

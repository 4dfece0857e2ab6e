#pragma once
#include "framework/graphics/Rect.h"
#include "framework/widgets/Widget.h"

#include <cstdint>
#include <string>

namespace Zelk {

class ButtonListener;
class Font;
class Graphics;
class Image;

// A button drawn from up to four state images (normal, over, down, disabled)
// or, without images, as a bevelled frame; with a label and a hover fade. It
// reports presses, clicks, holds and the hover to its listener by its id.
//
// Colours: 0 label, 1 label while hovered, 2 dark frame, 3 light frame,
// 4 inner shadow, 5 face.
class ButtonWidget : public Widget {
public:
    ButtonWidget(int id, ButtonListener* listener);
    ~ButtonWidget() override;

    // The whole image when rect has no width, else that cell of it.
    virtual void DrawButtonImage(Graphics* g, Image* image, const Rect& rect, int x, int y);
    virtual void SetFont(Font* font);
    virtual bool IsButtonDown();

    void Update() override;
    void Draw(Graphics* g) override;
    void SetDisabled(bool disabled) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void MouseMove(int x, int y) override;
    void MouseButtonDown(int x, int y, int button, int clickCount) override;
    void MouseButtonUp(int x, int y, int button, int clickCount) override;

    int32_t mId;
    std::wstring mLabel;
    int32_t mLabelJustify = 0; // 0 centred, 1 right, else left
    Font* mFont = nullptr;     // not owned (unless the button made it itself)
    Image* mButtonImage = nullptr;
    Image* mOverImage = nullptr;
    Image* mDownImage = nullptr;
    Image* mDisabledImage = nullptr;
    Rect mNormalRect;
    Rect mOverRect;
    Rect mDownRect;
    Rect mDisabledRect;
    bool mInverted = false;    // pressed and released looks swapped
    bool mBtnNoDraw = false;   // draws nothing
    bool mFrameNoDraw = false; // the frame look without its frame
    ButtonListener* mButtonListener;
    // The hover fade: over alpha moves by the speeds once per update.
    double mOverAlpha = 0.0;
    double mOverAlphaSpeed = 0.0; // fading out
    double mOverAlphaFadeInSpeed = 0.0;

protected:
    // A state is set by its image or by a cell rectangle.
    static bool HaveState(Image* image, const Rect& rect) { return image != nullptr || rect.mWidth != 0; }
    bool LooksDifferentWhenOver();
    // The font to draw the label with, made once when none was set.
    void EnsureFont(int pointSize, int charset);
    void DrawLabel(Graphics* g, int x, int y, bool highlighted);

    Font* mOwnFont = nullptr;
};

} // namespace Zelk

#include "framework/widgets/DialogButton.h"

#include "framework/fonts/Font.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"

namespace Zelk {

DialogButton::DialogButton(Image* componentImage, int id, ButtonListener* listener)
    : ButtonWidget(id, listener), mComponentImage(componentImage)
{
    mDoFinger = true;
    static const int colors[][3] = {{255, 255, 255}, {255, 255, 255}, {0, 0, 0},
                                    {255, 255, 255}, {132, 132, 132}, {212, 212, 212}};
    SetColorTableRGB(colors, 6);
}

void DialogButton::Draw(Graphics* g)
{
    if (!mComponentImage) {
        ButtonWidget::Draw(g);
        return;
    }
    EnsureFont(12, 1);
    const bool pressed = IsButtonDown();
    const Rect area(0, 0, mWidth, mHeight);
    int shiftX = 0, shiftY = 0;

    if (mNormalRect.mWidth != 0) {
        if (mDisabled && mDisabledRect.mWidth > 0 && mDisabledRect.mHeight > 0) {
            g->DrawNineSlice(mDisabledRect, area, mComponentImage);
        } else if (pressed) {
            g->DrawNineSlice(mDownRect, area, mComponentImage);
        } else if (mOverAlpha > 0.0) {
            if (mOverAlpha < 1.0)
                g->DrawNineSlice(mNormalRect, area, mComponentImage);
            g->SetModulateImages(true);
            g->SetColor(Color(255, 255, 255, int(mOverAlpha * 255)));
            g->DrawNineSlice(mOverRect, area, mComponentImage);
            g->SetModulateImages(false);
        } else {
            g->DrawNineSlice(mIsOver ? mOverRect : mNormalRect, area, mComponentImage);
        }
        if (pressed) {
            shiftX = mTranslateX;
            shiftY = mTranslateY;
            g->Translate(shiftX, shiftY);
        }
    } else {
        if (pressed) {
            shiftX = mTranslateX;
            shiftY = mTranslateY;
            g->Translate(shiftX, shiftY);
        }
        g->DrawNineSliceImage(area, mComponentImage);
    }

    if (mFont) {
        g->SetFont(mFont);
        const int ascent = mFont->GetAscent();
        const int x = mTextOffsetX + (mWidth - mFont->StringWidth(mLabel)) / 2;
        const int y = mTextOffsetY + (mHeight - ascent / 6 - mFont->GetAscentPadding() + ascent - 1) / 2;
        DrawLabel(g, x, y, mIsOver);
    }
    g->Translate(-shiftX, -shiftY);
}

} // namespace Zelk

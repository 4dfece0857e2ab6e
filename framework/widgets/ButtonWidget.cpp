#include "framework/widgets/ButtonWidget.h"

#include "framework/fonts/Font.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/widgets/ButtonListener.h"
#include "framework/widgets/SysFontMaker.h"
#include "framework/widgets/WidgetManager.h"

namespace Zelk {

ButtonWidget::ButtonWidget(int id, ButtonListener* listener) : mId(id), mButtonListener(listener)
{
    mHasAlpha = true;
    static const int colors[][3] = {{0, 0, 0},       {0, 0, 0},       {0, 0, 0},
                                    {255, 255, 255}, {132, 132, 132}, {212, 212, 212}};
    SetColorTableRGB(colors, 6);
}

ButtonWidget::~ButtonWidget()
{
    delete mOwnFont;
}

void ButtonWidget::SetFont(Font* font)
{
    mFont = font;
}

bool ButtonWidget::IsButtonDown()
{
    return mIsDown && mIsOver && !mDisabled;
}

void ButtonWidget::DrawButtonImage(Graphics* g, Image* image, const Rect& rect, int x, int y)
{
    if (rect.mWidth == 0)
        g->DrawImage(image, x, y);
    else
        g->DrawImageRegion(image, x, y, rect);
}

void ButtonWidget::SetDisabled(bool disabled)
{
    Widget::SetDisabled(disabled);
    if (mDisabled)
        MarkDirty();
}

bool ButtonWidget::LooksDifferentWhenOver()
{
    return mIsDown || HaveState(mOverImage, mOverRect) || GetColor(0) != GetColor(1);
}

void ButtonWidget::MouseEnter()
{
    if (mOverAlphaFadeInSpeed == 0.0 && mOverAlpha > 0.0)
        mOverAlpha = 0.0;
    if (LooksDifferentWhenOver())
        MarkDirty();
    if (mButtonListener)
        mButtonListener->OnButtonEnter(mId);
}

void ButtonWidget::MouseLeave()
{
    if (mOverAlphaSpeed == 0.0 && mOverAlpha > 0.0)
        mOverAlpha = 0.0;
    else if (mOverAlphaSpeed > 0.0 && mOverAlpha == 0.0)
        mOverAlpha = 1.0; // fade out from full
    if (LooksDifferentWhenOver())
        MarkDirty();
    if (mButtonListener)
        mButtonListener->OnButtonLeave(mId);
}

void ButtonWidget::MouseMove(int x, int y)
{
    if (mButtonListener)
        mButtonListener->OnButtonHover(mId, x, y);
}

void ButtonWidget::MouseButtonDown(int x, int y, int button, int clickCount)
{
    if (mButtonListener)
        mButtonListener->OnButtonPressClicks(mId, clickCount);
    MarkDirty();
}

// A release away from the button, or while the application is in the
// background, is no click.
void ButtonWidget::MouseButtonUp(int x, int y, int button, int clickCount)
{
    if (mIsOver && mWidgetManager && mWidgetManager->mHasFocus && mButtonListener)
        mButtonListener->OnButtonClick(mId);
    MarkDirty();
}

void ButtonWidget::Update()
{
    Widget::Update();
    if (mIsDown && mIsOver && mButtonListener)
        mButtonListener->OnButtonHeld(mId);

    if (!mIsDown && !mIsOver && mOverAlpha > 0.0) {
        if (mOverAlphaSpeed > 0.0) {
            mOverAlpha -= mOverAlphaSpeed;
            if (mOverAlpha < 0.0)
                mOverAlpha = 0.0;
        } else {
            mOverAlpha = 0.0;
        }
        MarkDirty();
    } else if (mIsOver && mOverAlphaFadeInSpeed > 0.0 && mOverAlpha < 1.0) {
        mOverAlpha += mOverAlphaFadeInSpeed;
        if (mOverAlpha > 1.0)
            mOverAlpha = 1.0;
        MarkDirty();
    }
}

void ButtonWidget::EnsureFont(int pointSize, int charset)
{
    if (mFont || mLabel.empty())
        return;
    if (!mOwnFont) {
        ZelkAppBase* app = mWidgetManager ? mWidgetManager->mApp : nullptr;
        mOwnFont = MakeSysFont(app, "Arial Unicode MS", pointSize, charset);
    }
    mFont = mOwnFont;
}

void ButtonWidget::DrawLabel(Graphics* g, int x, int y, bool highlighted)
{
    g->SetColor(GetColor(highlighted ? 1 : 0));
    g->DrawString(mLabel, x, y);
}

void ButtonWidget::Draw(Graphics* g)
{
    if (mBtnNoDraw)
        return;
    EnsureFont(10, 0);

    const bool pressed = IsButtonDown() != mInverted;

    const int labelWidth = mFont ? mFont->StringWidth(mLabel) : 0;
    const int fontHeight = mFont ? mFont->GetHeight() : 0;
    const int ascent = mFont ? mFont->GetAscent() : 0;
    int labelX = 0;
    if (mLabelJustify == 0)
        labelX = (mWidth - labelWidth) / 2;
    else if (mLabelJustify == 1)
        labelX = mWidth - labelWidth;
    const int labelY = (mHeight - fontHeight) / 2 + ascent;
    g->SetFont(mFont);

    if (!mButtonImage && !mDownImage) {
        // The frame look: a face with a light and a dark bevel.
        const int w = mWidth, h = mHeight;
        if (!mFrameNoDraw) {
            g->SetColor(GetColor(5));
            g->FillRect(0, 0, w, h);
            g->SetColor(GetColor(pressed ? 2 : 3));
            g->FillRect(0, 0, w - 1, 1);
            g->FillRect(0, 0, 1, h - 1);
            g->SetColor(GetColor(pressed ? 3 : 2));
            g->FillRect(0, h - 1, w, 1);
            g->FillRect(w - 1, 0, 1, h);
            g->SetColor(GetColor(4));
            if (pressed) {
                g->FillRect(1, 1, w - 3, 1);
                g->FillRect(1, 1, 1, h - 3);
            } else {
                g->FillRect(1, h - 2, w - 2, 1);
                g->FillRect(w - 2, 1, 1, h - 2);
            }
        }
        const int shift = pressed ? 1 : 0;
        DrawLabel(g, labelX + shift, labelY + shift, mIsOver);
        return;
    }

    if (pressed) {
        if (HaveState(mDownImage, mDownRect))
            DrawButtonImage(g, mDownImage, mDownRect, 0, 0);
        else if (HaveState(mOverImage, mOverRect))
            DrawButtonImage(g, mOverImage, mOverRect, 0, 0);
        else
            DrawButtonImage(g, mButtonImage, mNormalRect, 1, 1);
    } else if (mDisabled && HaveState(mDisabledImage, mDisabledRect)) {
        DrawButtonImage(g, mDisabledImage, mDisabledRect, 0, 0);
    } else if (mOverAlpha > 0.0 && HaveState(mOverImage, mOverRect)) {
        if (HaveState(mButtonImage, mNormalRect) && mOverAlpha < 1.0)
            DrawButtonImage(g, mButtonImage, mNormalRect, 0, 0);
        g->SetModulateImages(true);
        g->SetColor(Color(255, 255, 255, int(mOverAlpha * 255)));
        DrawButtonImage(g, mOverImage, mOverRect, 0, 0);
        g->SetModulateImages(false);
    } else if ((mIsOver || mIsDown) && HaveState(mOverImage, mOverRect)) {
        DrawButtonImage(g, mOverImage, mOverRect, 0, 0);
    } else if (HaveState(mButtonImage, mNormalRect)) {
        DrawButtonImage(g, mButtonImage, mNormalRect, 0, 0);
    }
    DrawLabel(g, labelX, labelY, pressed || mIsOver);
}

} // namespace Zelk

#include "framework/widgets/Dialog.h"

#include "framework/app/ZelkAppBase.h"
#include "framework/fonts/Font.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/widgets/DialogButton.h"
#include "framework/widgets/DialogListener.h"
#include "framework/widgets/SysFontMaker.h"
#include "framework/widgets/WidgetManager.h"

namespace Zelk {

const std::wstring DIALOG_YES_STRING = L"YES";
const std::wstring DIALOG_NO_STRING = L"NO";
const std::wstring DIALOG_OK_STRING = L"OK";
const std::wstring DIALOG_CANCEL_STRING = L"CANCEL";

Dialog::Dialog(Image* componentImage, Image* buttonImage, int dialogId, bool isModal, const std::wstring& header,
               const std::wstring& lines, const std::wstring& footer, int buttonMode)
    : mDialogListener(gAppBase), mComponentImage(componentImage), mDialogHeader(header), mDialogFooter(footer),
      mDialogLines(lines), mButtonMode(buttonMode), mButtonHeight(buttonImage ? buttonImage->GetHeight() : 24),
      mId(dialogId), mIsModal(isModal), mOutcome(std::make_shared<Outcome>())
{
    mContentInsets = Insets{24, 24, 24, 24};
    mHasAlpha = true;
    mHasTransparencies = true;
    mPriority = 1;

    if (buttonMode == BUTTONS_YES_NO || buttonMode == BUTTONS_OK_CANCEL) {
        mYesButton = new DialogButton(buttonImage, DIALOG_ID_YES, this);
        mNoButton = new DialogButton(buttonImage, DIALOG_ID_NO, this);
        const bool yesNo = buttonMode == BUTTONS_YES_NO;
        mYesButton->mLabel = yesNo ? DIALOG_YES_STRING : DIALOG_OK_STRING;
        mNoButton->mLabel = yesNo ? DIALOG_NO_STRING : DIALOG_CANCEL_STRING;
    } else if (buttonMode == BUTTONS_FOOTER) {
        mYesButton = new DialogButton(buttonImage, DIALOG_ID_YES, this);
        mYesButton->mLabel = footer;
    }

    // Each dialog has a table of its own. Plain buttons (no button image)
    // have a light face, so their labels are black.
    int colors[][3] = {{255, 255, 255}, {255, 255, 0},   {255, 255, 255}, {255, 255, 255},
                       {255, 255, 255}, {80, 80, 80},    {255, 255, 255}};
    if (!buttonImage) {
        for (int i : {3, 4})
            colors[i][0] = colors[i][1] = colors[i][2] = 0;
    }
    SetColorTableRGB(colors, 7);
}

Dialog::~Dialog()
{
    mOutcome->deleted = true;
    mOutcome->result = mResult;
    delete mYesButton;
    delete mNoButton;
    delete mHeaderFont;
    delete mLinesFont;
}

void Dialog::SetButtonFont(Font* font)
{
    if (mYesButton)
        mYesButton->SetFont(font);
    if (mNoButton)
        mNoButton->SetFont(font);
}

void Dialog::SetHeaderFont(Font* font)
{
    delete mHeaderFont;
    mHeaderFont = font ? font->Duplicate() : nullptr;
}

void Dialog::SetLinesFont(Font* font)
{
    delete mLinesFont;
    mLinesFont = font ? font->Duplicate() : nullptr;
}

void Dialog::EnsureFonts()
{
    ZelkAppBase* app = mWidgetManager ? mWidgetManager->mApp : gAppBase;
    if (!mHeaderFont)
        mHeaderFont = MakeSysFont(app, "Arial Unicode MS", 14, 0);
    if (!mLinesFont)
        mLinesFont = MakeSysFont(app, "Arial Unicode MS", 12, 0);
}

bool Dialog::IsModal()
{
    return mIsModal;
}

void Dialog::SetColor(int index, const Color& color)
{
    Widget::SetColor(index, color);
    if (index == 3 || index == 4) {
        for (DialogButton* button : {mYesButton, mNoButton})
            if (button)
                button->SetColor(index - 3, color);
    }
}

void Dialog::Attached(WidgetManager* manager)
{
    Widget::Attached(manager);
    for (DialogButton* button : {mYesButton, mNoButton})
        if (button)
            manager->AddWidget(button);
}

void Dialog::Detached(WidgetManager* manager)
{
    Widget::Detached(manager);
    for (DialogButton* button : {mYesButton, mNoButton})
        if (button)
            manager->RemoveWidget(button);
}

void Dialog::OrderChanged()
{
    if (!mWidgetManager)
        return;
    for (DialogButton* button : {mYesButton, mNoButton})
        if (button)
            mWidgetManager->MoveAbove(button, this);
}

// The buttons sit on the bottom edge of the content area, in manager
// coordinates (they are the dialog's siblings).
void Dialog::Resize(int x, int y, int width, int height)
{
    Widget::Resize(x, y, width, height);
    const Insets& bg = mBackgroundInsets;
    const Insets& content = mContentInsets;
    const int buttonY = y + height - content.mBottom - bg.mBottom - mButtonHeight;
    const int left = x + bg.mLeft + content.mLeft;
    if (mYesButton && mNoButton) {
        const int buttonWidth = (width - 2 * mButtonSidePadding - content.mRight - bg.mRight - bg.mLeft -
                                 content.mLeft - mButtonHorzSpacing) /
                                2;
        const int yesX = left + mButtonSidePadding;
        mYesButton->Resize(yesX, buttonY, buttonWidth, mButtonHeight);
        mNoButton->Resize(yesX + buttonWidth + mButtonHorzSpacing, buttonY, buttonWidth, mButtonHeight);
    } else if (mYesButton) {
        mYesButton->Resize(left, buttonY, width - content.mRight - bg.mRight - bg.mLeft - content.mLeft,
                           mButtonHeight);
    }
}

void Dialog::SetCursor(int kind)
{
    ZelkAppBase* app = mWidgetManager ? mWidgetManager->mApp : nullptr;
    if (app)
        app->SetCursor(kind);
}

void Dialog::MouseButtonDown(int x, int y, int button, int clickCount)
{
    if (clickCount != 1)
        return;
    SetCursor(CURSOR_DRAGGING);
    mDragging = true;
    mDragMouseX = x;
    mDragMouseY = y;
}

void Dialog::MouseButtonUp(int x, int y, int button, int clickCount)
{
    if (!mDragging)
        return;
    SetCursor(CURSOR_POINTER);
    mDragging = false;
}

namespace {

// low wins over high when the range is empty.
int Clamp(int value, int low, int high)
{
    if (value > high)
        value = high;
    if (value < low)
        value = low;
    return value;
}

} // namespace

// The dialog follows the mouse but never leaves the manager by more than 8
// pixels, and the point it is held by stays 8 pixels inside it.
void Dialog::MouseDrag(int x, int y)
{
    if (!mDragging || !mWidgetManager)
        return;
    const int newX = Clamp(mX - mDragMouseX + x, -8, mWidgetManager->mWidth - mWidth + 8);
    const int newY = Clamp(mY - mDragMouseY + y, -8, mWidgetManager->mHeight - mHeight + 8);
    mDragMouseX = Clamp(mX - newX + x, 8, mWidth - 9);
    mDragMouseY = Clamp(mY - newY + y, 8, mHeight - 9);
    Move(newX, newY);
}

void Dialog::OnButtonPress(intptr_t id)
{
    if ((id == DIALOG_ID_YES || id == DIALOG_ID_NO) && mDialogListener)
        mDialogListener->OnDialogButtonPress(mId, int(id));
}

void Dialog::OnButtonClick(intptr_t id)
{
    if (id != DIALOG_ID_YES && id != DIALOG_ID_NO)
        return;
    mResult = int32_t(id);
    if (mDialogListener)
        mDialogListener->OnDialogButtonClick(mId, int(id));
}

// The dialog may be closed, and so deleted, by whatever runs inside a step:
// after each step only the shared outcome is read until it is known to live.
int Dialog::WaitForResult(bool kill)
{
    ZelkAppBase* app = gAppBase;
    std::shared_ptr<Outcome> outcome = mOutcome;
    const int id = mId;
    while (app && !outcome->deleted && mWidgetManager && mResult == NO_RESULT) {
        if (!app->AppStep(nullptr))
            break;
    }
    if (outcome->deleted)
        return outcome->result;
    const int result = mResult;
    // Only this dialog: another may have taken its id since.
    if (kill && app && app->FindDialog(id) == this)
        app->CloseDialogById(id);
    return result;
}

int Dialog::GetPreferredHeight(int width)
{
    EnsureFonts();
    const Insets& bg = mBackgroundInsets;
    const Insets& content = mContentInsets;
    int height = bg.mTop + bg.mBottom + content.mTop + content.mBottom;
    bool anything = false;
    if (!mDialogHeader.empty() && mHeaderFont) {
        height += mHeaderFont->GetHeight() - mHeaderFont->GetAscentPadding();
        anything = true;
    }
    if (!mDialogLines.empty() && mLinesFont) {
        if (anything)
            height += mSpaceAfterHeader;
        Graphics g;
        g.SetFont(mLinesFont);
        height += GetWrappedTextHeight(&g, mDialogLines,
                                       width - content.mRight - content.mLeft - bg.mRight - bg.mLeft - 4,
                                       mLinesFont->GetLineSpacing() + mLineSpacingOffset);
        anything = true;
    }
    if (!mDialogFooter.empty() && mButtonMode != BUTTONS_FOOTER && mHeaderFont) {
        if (anything)
            height += 8;
        height += mHeaderFont->GetLineSpacing();
        anything = true;
    }
    if (mYesButton) {
        if (anything)
            height += 8;
        height += 8 + mButtonHeight;
    }
    return height;
}

void Dialog::Draw(Graphics* g)
{
    EnsureFonts();
    const Insets& bg = mBackgroundInsets;
    const Insets& content = mContentInsets;

    if (!mComponentImage) {
        g->SetColor(GetColorOr(6, Color(255, 255, 255)));
        g->DrawRect(12, 12, mWidth - 25, mHeight - 25);
        g->SetColor(GetColorOr(5, Color(80, 80, 80)));
        g->FillRect(13, 13, mWidth - 26, mHeight - 26);
        g->SetColor(Color(0, 0, 0, 128));
        g->FillRect(mWidth - 12, 24, 12, mHeight - 36);
        g->FillRect(24, mHeight - 12, mWidth - 24, 12);
    } else {
        g->DrawNineSliceImage(Rect(bg.mLeft, bg.mTop, mWidth - bg.mRight - bg.mLeft, mHeight - bg.mBottom - bg.mTop),
                              mComponentImage);
    }

    int y = content.mTop + bg.mTop;
    if (!mDialogHeader.empty() && mHeaderFont) {
        y += mHeaderFont->GetAscent() - mHeaderFont->GetAscentPadding();
        g->SetFont(mHeaderFont);
        g->SetColor(GetColor(0));
        DrawCenteredText(g, y, mDialogHeader);
        y += mHeaderFont->GetHeight() - mHeaderFont->GetAscent() + mSpaceAfterHeader;
    }

    int linesHeight = 0;
    if (mLinesFont) {
        g->SetFont(mLinesFont);
        g->SetColor(GetColor(1));
        const Rect box(bg.mLeft + 2 + content.mLeft, y,
                       mWidth - content.mRight - bg.mLeft - content.mLeft - bg.mRight - 4, 0);
        linesHeight =
            DrawWrappedText(g, box, mDialogLines, mLinesFont->GetLineSpacing() + mLineSpacingOffset, mTextAlign);
    }

    if (!mDialogFooter.empty() && mButtonMode != BUTTONS_FOOTER && mHeaderFont) {
        g->SetFont(mHeaderFont);
        g->SetColor(GetColor(2));
        DrawCenteredText(g, y + linesHeight + 8 + mHeaderFont->GetLineSpacing(), mDialogFooter);
    }
}

} // namespace Zelk

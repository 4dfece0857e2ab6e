#include "game/ui/UiButton.h"

#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/widgets/WidgetManager.h"
#include "game/core/CursorManager.h"
#include "game/core/GameApp.h"
#include "game/core/LocTable.h"
#include "game/core/SfxManager.h"
#include "game/ui/UiAttributes.h"

namespace {

void SelectCursor(const char* mode)
{
    GameApp* app = GetGameApp();
    if (app && app->GetCursorManager())
        app->GetCursorManager()->Select(mode);
}

void PlaySound(const char* name)
{
    GameApp* app = GetGameApp();
    if (app && app->GetSfxManager())
        app->GetSfxManager()->Play(name);
}

} // namespace

UiButton::UiButton(UiElement* owner, intptr_t id, Zelk::ButtonListener* listener)
    : UiElement(owner), mId(id), mListener(listener)
{
    mHasAlpha = true;
}

UiButton::~UiButton() = default;

void UiButton::Load(const XmlNode& node, void* context)
{
    UiElement::Load(node);
    std::string label;
    GameApp* app = static_cast<GameApp*>(context);
    if (XmlGetAttrString(node, L"label", label) && app && app->GetLocTable())
        SetLabel(app->GetLocTable()->Get(label));
    UiGetAttrHex(node, L"line_spacing", mLineSpacing);
    UiGetAttrHex(node, L"justify", mJustification);

    static const wchar_t* const kStates[] = {L"normal", L"over", L"down", L"disabled"};
    UiTextureAttr carry;
    for (int state = NORMAL; state <= DISABLED; ++state) {
        UiPicture picture;
        if (picture.Load(node, kStates[state], context, carry, mWidth, mHeight))
            SetTexture(state, picture.image, picture.source);
    }
    std::wstring mode;
    XmlNode over = node.SelectSingle(L"texture[@id=\"over\"]");
    mAdditiveOver = over && XmlGetAttrWString(over, L"mode", mode) && mode == L"additive";

    UiReadTextAttrs(node, context, [this](int layer, const UiTextAttr& attr) {
        SetTextAttr(layer, attr.font, attr.color, attr.hoverColor, attr.disabledColor);
    });
}

void UiButton::SetTextAttr(int layer, Zelk::Font* font, Zelk::Color color, Zelk::Color hoverColor,
                           Zelk::Color disabledColor)
{
    mLayers.Set(layer, font, color, hoverColor, disabledColor);
}

void UiButton::SetTexture(int state, Zelk::Image* image, const Zelk::Rect& source)
{
    if (state >= NORMAL && state <= DISABLED)
        mPictures[state] = {image, source};
}

void UiButton::SetAllTextures(Zelk::Image* image)
{
    for (UiPicture& picture : mPictures)
        picture.image = image;
}

void UiButton::SetLabel(const std::wstring& label)
{
    mLabel = label;
    mLabelImage.Drop();
}

void UiButton::SetId(intptr_t id) { mId = id; }

void UiButton::Update()
{
    UiElement::Update();
    if (mIsDown && mIsOver && mListener)
        mListener->OnButtonHeld(mId);
}

void UiButton::MouseEnter()
{
    MarkDirty();
    if (mListener)
        mListener->OnButtonEnter(mId);
    SelectCursor("active");
    PlaySound("button_hover");
}

void UiButton::MouseLeave()
{
    MarkDirty();
    if (mListener)
        mListener->OnButtonLeave(mId);
    SelectCursor("normal");
}

void UiButton::MouseMove(int x, int y)
{
    if (mListener)
        mListener->OnButtonHover(mId, x, y);
}

void UiButton::MouseButtonDown(int x, int y, int button, int clickCount)
{
    if (!mDisabled) {
        if (mListener)
            mListener->OnButtonPressClicks(mId, clickCount);
        PlaySound("button_click");
    }
    MarkDirty();
}

void UiButton::MouseButtonUp(int x, int y, int button, int clickCount)
{
    if (mIsOver && mWidgetManager && mWidgetManager->mHasFocus && mListener)
        mListener->OnButtonClick(mId);
    MarkDirty();
}

void UiButton::DrawLabel(Zelk::Graphics* g, int width, int height, UiTextLayers::Look look, float opacity)
{
    if (!mLayers.GetNormalFont())
        return;
    const int textHeight = mLayers.WrappedHeight(g, width, mLabel, mLineSpacing);
    mLayers.DrawWrapped(g, Zelk::Rect(0, (height - textHeight) / 2, width, textHeight), mLabel, mLineSpacing,
                        mJustification, look, opacity);
}

void UiButton::Draw(Zelk::Graphics* g)
{
    const int alpha = GetDrawAlpha();
    UiBeginPictures(g, alpha);
    const UiPicture& normal = mPictures[NORMAL];
    const UiPicture& over = mPictures[OVER];
    const UiPicture& down = mPictures[DOWN];
    bool addOver = false;
    if (mDisabled) {
        mPictures[DISABLED].Draw(g, mWidth, mHeight);
    } else if (mIsDown && down) {
        down.Draw(g, mWidth, mHeight);
    } else if (mIsDown || mIsOver) {
        (over && !mAdditiveOver ? over : normal).Draw(g, mWidth, mHeight);
        addOver = mAdditiveOver && over;
    } else {
        normal.Draw(g, mWidth, mHeight);
    }
    if (addOver) {
        g->SetDrawMode(Zelk::DRAWMODE_ADDITIVE);
        over.Draw(g, mWidth, mHeight);
        g->SetDrawMode(Zelk::DRAWMODE_NORMAL);
    }

    if (mLabel.empty())
        return;
    if (!IsScaled()) {
        mLabelImage.Drop();
        DrawLabel(g, mWidth, mHeight,
                  mDisabled ? UiTextLayers::DISABLED : mIsOver ? UiTextLayers::HOVER : UiTextLayers::PLAIN,
                  GetCompoundOpacity());
        return;
    }
    // Scaled: the label at layout size, in the plain or disabled colours,
    // made again only for a new layout size or label.
    if (!mLabelImage.Fits(mLayoutWidth, mLayoutHeight)) {
        if (Zelk::MemoryImage* image = mLabelImage.Make(mLayoutWidth, mLayoutHeight)) {
            Zelk::Graphics imageGraphics(image);
            DrawLabel(&imageGraphics, mLayoutWidth, mLayoutHeight,
                      mDisabled ? UiTextLayers::DISABLED : UiTextLayers::PLAIN, -1);
        }
    }
    UiBeginPictures(g, alpha);
    mLabelImage.DrawStretched(g, mWidth, mHeight);
}

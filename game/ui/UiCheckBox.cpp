#include "game/ui/UiCheckBox.h"

#include "game/ui/UiAttributes.h"

UiCheckBox::UiCheckBox(UiElement* owner) : UiElement(owner) {}

UiCheckBox::~UiCheckBox() = default;

void UiCheckBox::SetChecked(bool checked)
{
    mChecked = checked;
    MarkDirty();
}

bool UiCheckBox::IsChecked() { return mChecked; }

void UiCheckBox::SetTexture(int state, bool checkedLook, Zelk::Image* image, const Zelk::Rect& source)
{
    if (state < 0 || state > 2)
        return;
    mPictures[checkedLook][state] = {image, source};
}

void UiCheckBox::Load(const XmlNode& node, void* context)
{
    UiElement::Load(node);
    static const struct {
        const wchar_t* id;
        bool checkedLook;
        int state;
    } kTextures[] = {{L"normal", false, 0},      {L"over", false, 1},      {L"disabled", false, 2},
                     {L"check_normal", true, 0}, {L"check_over", true, 1}, {L"check_disabled", true, 2}};
    UiTextureAttr carry;
    for (const auto& entry : kTextures) {
        UiPicture picture;
        if (picture.Load(node, entry.id, context, carry, mWidth, mHeight))
            SetTexture(entry.state, entry.checkedLook, picture.image, picture.source);
    }
}

void UiCheckBox::MouseEnter() { MarkDirty(); }

void UiCheckBox::MouseLeave() { MarkDirty(); }

void UiCheckBox::MouseButtonUp(int x, int y, int button, int clickCount)
{
    if (mIsOver)
        mChecked = !mChecked;
    MarkDirty();
}

void UiCheckBox::Draw(Zelk::Graphics* g)
{
    UiBeginPictures(g, GetDrawAlpha());
    const UiPicture* look = mPictures[mChecked];
    const UiPicture* picture = &look[0];
    if (mDisabled)
        picture = &look[2];
    else if (mIsOver && look[1])
        picture = &look[1];
    picture->Draw(g, mWidth, mHeight);
}

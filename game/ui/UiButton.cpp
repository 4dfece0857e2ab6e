#include "game/ui/UiButton.h"

UiButton::UiButton(UiElement* owner, intptr_t id, Zelk::ButtonListener* listener)
    : UiElement(owner), mId(id), mListener(listener)
{
    mHasAlpha = true;
}

UiButton::~UiButton() = default;

void UiButton::Update() { UiElement::Update(); }

void UiButton::Draw(Zelk::Graphics* g) {}

void UiButton::MouseEnter() {}

void UiButton::MouseLeave() {}

void UiButton::MouseMove(int x, int y) {}

void UiButton::MouseButtonDown(int x, int y, int button, int clickCount)
{
    if (!mDisabled && mListener)
        mListener->OnButtonPressClicks(mId, clickCount);
}

void UiButton::MouseButtonUp(int x, int y, int button, int clickCount)
{
    if (mIsOver && mListener)
        mListener->OnButtonClick(mId);
}

void UiButton::Load(const XmlNode& node, void* context) { UiElement::Load(node); }

void UiButton::SetTextAttr(int layer, Zelk::Font* font, Zelk::Color color, Zelk::Color hoverColor,
                           Zelk::Color disabledColor)
{
}

void UiButton::SetTexture(int state, Zelk::Image* image, const Zelk::Rect& source) {}

void UiButton::SetAllTextures(Zelk::Image* image) {}

void UiButton::SetLabel(const std::wstring& label) {}

void UiButton::SetId(intptr_t id) { mId = id; }

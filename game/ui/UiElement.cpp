#include "game/ui/UiElement.h"

#include "game/core/GameApp.h"
#include "game/effects/Effect.h"
#include "game/effects/EffectFile.h"
#include "game/effects/ParticleRegistry.h"

#include <cmath>

namespace {

// The update period of the running application in seconds (10 ms without
// one).
float UpdateSeconds()
{
    GameApp* app = GetGameApp();
    int period = app ? app->mUpdatePeriod : 10;
    return float(period) / 1000.0f;
}

} // namespace

UiElement::UiElement(UiElement* owner) : mOwner(owner)
{
    // Within the constructor this reaches only the element's own (empty)
    // hooks: a new element is visible with its resources taken.
    mResourcesReleased = true;
    SetVisible(true);
}

UiElement::~UiElement()
{
    delete mEffect;
    mEffect = nullptr;
    mChildren.clear();
    RemoveAllWidgets(true, false);
}

void UiElement::Load(const XmlNode& node)
{
    int x = 0, y = 0, width = 0, height = 0;
    XmlGetAttrInt(node, L"x", x);
    XmlGetAttrInt(node, L"y", y);
    XmlGetAttrInt(node, L"width", width);
    XmlGetAttrInt(node, L"height", height);
    Resize(x, y, width, height);

    bool hasAlpha = true;
    XmlGetAttrBool(node, L"has_alpha", hasAlpha);
    mHasAlpha = hasAlpha;
    bool mouseVisible = true;
    XmlGetAttrBool(node, L"mousevisible", mouseVisible);
    mMouseVisible = mouseVisible;

    std::string effectName;
    if (XmlGetAttrString(node, L"effect", effectName) && !effectName.empty()) {
        if (Effect* effect = CreateEffect(effectName)) {
            delete mEffect;
            mEffect = effect;
            mEffect->SetParam(UI_PARAM_OPACITY, &mOpacity);
            mEffect->SetParam(UI_PARAM_OFFSET, &mOffset);
            mEffect->SetParam(UI_PARAM_SCALE_POINT, &mScalePoint);
            mEffect->SetParam(UI_PARAM_SCALE, &mScale);
            mEffect->SetParam(UI_PARAM_ELEMENT, this);
        }
    }

    int value = 0;
    if (XmlGetAttrInt(node, L"scalepointx", value))
        mScalePoint.x = value;
    if (XmlGetAttrInt(node, L"scalepointy", value))
        mScalePoint.y = value;
}

float UiElement::GetOwnersScale() const
{
    float product = 1;
    for (const UiElement* owner = mOwner; owner; owner = owner->mOwner)
        product *= owner->mScale;
    return product;
}

float UiElement::GetCompoundOpacity() const
{
    float product = mOpacity;
    for (const UiElement* owner = mOwner; owner; owner = owner->mOwner)
        product *= owner->mOpacity;
    return product;
}

bool UiElement::IsScaled() const { return !(std::fabs(GetCompoundScale() - 1.0f) < 0.01f); }

int UiElement::GetDrawAlpha() const { return Zelk::TruncToInt(255.0f * GetCompoundOpacity()); }

void UiElement::Update()
{
    float seconds = UpdateSeconds();
    if (mEffect)
        mEffect->Update(seconds);

    float p = GetOwnersScale();
    float s = mScale;
    int x = Zelk::TruncToInt(((float(mOffset.x) + float(mLayoutX) - float(mScalePoint.x)) * s + float(mScalePoint.x)) * p);
    int y = Zelk::TruncToInt(((float(mOffset.y) + float(mLayoutY) - float(mScalePoint.y)) * s + float(mScalePoint.y)) * p);
    int width = Zelk::TruncToInt(float(mLayoutWidth) * s * p);
    int height = Zelk::TruncToInt(float(mLayoutHeight) * s * p);
    // The base placement, not the virtual one: the layout rectangle stays and
    // derived kinds do not redo their resize work every update.
    Zelk::Widget::Resize(x, y, width, height);

    Zelk::WidgetContainer::Update();

    if (mEffect) {
        if (ParticleRegistry* particles = ParticleRegistry::Active())
            particles->UpdateOwner(mEffect, seconds);
    }
    MarkDirty();
}

void UiElement::Draw(Zelk::Graphics* g)
{
    if (!mEffect)
        return;
    mEffect->SetParam(UI_PARAM_GRAPHICS, g);
    mEffect->SendMessage("render_ps");
    // The graphics lives only for this draw.
    mEffect->SetParam(UI_PARAM_GRAPHICS, nullptr);
}

void UiElement::SetVisible(bool visible)
{
    Zelk::Widget::SetVisible(visible);
    mShowInProgress = false;
    mHideInProgress = false;
    if (visible)
        AcquireResources();
    else
        ReleaseResources();
}

void UiElement::Resize(int x, int y, int width, int height)
{
    mLayoutX = x;
    mLayoutY = y;
    mLayoutWidth = width;
    mLayoutHeight = height;
    Zelk::Widget::Resize(x, y, width, height);
}

void UiElement::Move(int x, int y)
{
    mLayoutX = x;
    mLayoutY = y;
    Zelk::Widget::Resize(x, y, mLayoutWidth, mLayoutHeight);
}

void UiElement::AcquireResources()
{
    OnAcquireResources();
    mResourcesReleased = false;
}

void UiElement::ReleaseResources()
{
    OnReleaseResources();
    mResourcesReleased = true;
}

void UiElement::Show()
{
    if (mShowInProgress)
        return;
    if (!mEffect) {
        SetVisible(true);
    } else {
        mHideInProgress = false;
        mShowInProgress = true;
        mEffect->SendMessage("onshow");
    }
    OnShow();
}

void UiElement::Hide()
{
    if (mHideInProgress)
        return;
    OnHide();
    if (!mEffect) {
        SetVisible(false);
    } else {
        mHideInProgress = true;
        mShowInProgress = false;
        mEffect->SendMessage("onhide");
    }
}

void UiElement::ShowChildren()
{
    for (auto& [name, child] : mChildren)
        child->Show();
}

void UiElement::HideChildren()
{
    for (auto& [name, child] : mChildren)
        child->Hide();
}

void UiElement::AddChild(const std::string& name, UiElement* child)
{
    AddWidget(child);
    mChildren[name] = child;
}

UiElement* UiElement::FindChild(const std::string& name)
{
    auto it = mChildren.find(name);
    return it == mChildren.end() ? nullptr : it->second;
}

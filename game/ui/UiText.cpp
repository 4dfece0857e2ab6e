#include "game/ui/UiText.h"

#include "framework/app/ZelkAppBase.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "game/core/GameApp.h"
#include "game/core/LocTable.h"
#include "game/core/StringTable.h"
#include "game/effects/Effect.h"
#include "game/ui/UiAttributes.h"
#include "game/ui/UiPicture.h"

UiText::UiText(UiElement* owner, void* context) : UiElement(owner), mContext(context) { SetImage(nullptr); }

UiText::~UiText() = default;

void UiText::Load(const XmlNode& node, void* context)
{
    UiElement::Load(node);
    GameApp* app = static_cast<GameApp*>(context);
    std::string label;
    if (XmlGetAttrString(node, L"label", label) && app && app->GetLocTable())
        SetText(app->GetLocTable()->Get(label));
    UiGetAttrHex(node, L"line_spacing", mLineSpacing);
    mJustification = -1;
    mFps = 0;
    mVerticalAlignment = -1;
    mOneShot = false;
    XmlGetAttrInt(node, L"justify", mJustification);
    XmlGetAttrInt(node, L"fps", mFps);
    XmlGetAttrInt(node, L"valign", mVerticalAlignment);
    XmlGetAttrBool(node, L"oneshot", mOneShot);
    UiReadTextAttrs(node, context, [this](int layer, const UiTextAttr& attr) {
        SetTextAttr(layer, attr.font, attr.color, attr.disabledColor);
    });

    UiTextureAttr carry;
    UiPicture picture;
    if (picture.Load(node, L"normal", context, carry, mWidth, mHeight)) {
        SetFrame(0, picture.image, picture.source);
        // "+0coin" numbers its frames "+1coin" to "+9coin"; the first one the
        // registry lacks ends them ("+" alone has no digit to replace).
        std::string id = carry.texture;
        if (id.size() >= 2 && id[0] == '+') {
            for (int i = 1; i < kFrames; ++i) {
                id[1] = char('0' + i);
                Zelk::Image* frame = UiGetTexture(context, id);
                SetFrame(i, frame, picture.source);
                if (!frame)
                    break;
            }
        }
    }
    if (picture.Load(node, L"disabled", context, carry, mWidth, mHeight))
        SetFrame(kDisabledFrame, picture.image, picture.source);
}

void UiText::SetText(const std::wstring& text)
{
    mSourceText = text;
    mVariables.clear();
    mBuilt = false;
}

void UiText::SetTextAttr(int layer, Zelk::Font* font, Zelk::Color color, Zelk::Color disabledColor)
{
    mLayers.Set(layer, font, color, color, disabledColor);
}

void UiText::SetFrame(int index, Zelk::Image* image, const Zelk::Rect& source)
{
    if (index == kDisabledFrame) {
        mDisabledImage = image;
        mDisabledSource = source;
    } else if (index >= 0 && index < kFrames) {
        mFrames[index] = image;
        if (index == 0)
            mFrameSource = source;
    } else {
        return;
    }
    mFrameCount = 0;
    while (mFrameCount < kFrames && mFrames[mFrameCount])
        ++mFrameCount;
    mFrame = 0;
}

void UiText::SetImage(Zelk::Image* image)
{
    mFrames[0] = image;
    mDisabledImage = image;
    for (int i = 1; i < kFrames; ++i)
        mFrames[i] = nullptr;
    mFrameCount = 1;
    mFrame = 0;
}

void UiText::Update()
{
    Zelk::ZelkAppBase* app = Zelk::gAppBase;
    mFrameTime += float(app ? app->mUpdatePeriod : 10) / 1000.0f;
    // A frame rate of 0 or below is no animation (a negative one would make
    // the frame time grow without end).
    if (mFps > 0 && mFrameCount > 1) {
        const float frameLength = 1.0f / float(mFps);
        while (frameLength <= mFrameTime) {
            mFrameTime -= frameLength;
            ++mFrame;
        }
        if (mOneShot) {
            if (!mVisible)
                mFrame = 0;
            else if (mFrame > mFrameCount - 1)
                mFrame = mFrameCount - 1;
        } else {
            mFrame %= mFrameCount;
        }
    }

    StringTable* strings = mContext ? static_cast<GameApp*>(mContext)->GetStringTable() : nullptr;
    if (strings) {
        for (const auto& variable : mVariables) {
            if (strings->Get(variable.first) != variable.second) {
                mBuilt = false;
                break;
            }
        }
    }
    if (!mBuilt) {
        Rebuild();
        if (mEffect)
            mEffect->SendMessage("onchange");
    }
    UiElement::Update();
}

void UiText::Rebuild()
{
    StringTable* strings = mContext ? static_cast<GameApp*>(mContext)->GetStringTable() : nullptr;
    mTextImage.Drop();
    mDisplayText.clear();
    bool inName = false;
    std::string name;
    for (wchar_t c : mSourceText) {
        if (!inName) {
            if (c == L'%') {
                inName = true;
                name.clear();
            } else {
                mDisplayText.push_back(c);
            }
        } else if (c == L'%') {
            std::wstring value = strings ? strings->Get(name) : std::wstring();
            mDisplayText += value;
            mVariables[name] = value;
            inName = false;
        } else {
            name.push_back(char(uint32_t(c) & 0xFF));
        }
    }
    mBuilt = true;
}

void UiText::DrawText(Zelk::Graphics* g, int width, int height, float opacity)
{
    if (!mLayers.GetNormalFont())
        return;
    Zelk::Rect box(0, 0, width, height);
    if (mVerticalAlignment == 0 || mVerticalAlignment == 1) {
        const int textHeight = mLayers.WrappedHeight(g, width, mDisplayText, mLineSpacing);
        box = Zelk::Rect(0, mVerticalAlignment == 0 ? (height - textHeight) / 2 : height - textHeight, width,
                         textHeight);
    }
    mLayers.DrawWrapped(g, box, mDisplayText, mLineSpacing, mJustification,
                        mDisabled ? UiTextLayers::DISABLED : UiTextLayers::PLAIN, opacity);
}

void UiText::Draw(Zelk::Graphics* g)
{
    const int alpha = GetDrawAlpha();
    UiBeginPictures(g, alpha);
    if (mDisabled) {
        if (mDisabledImage)
            g->DrawImageRegionScaled(mDisabledImage, Zelk::Rect(0, 0, mWidth, mHeight), mDisabledSource);
    } else if (mFrame >= 0 && mFrame < kFrames && mFrames[mFrame]) {
        g->DrawImageRegionScaled(mFrames[mFrame], Zelk::Rect(0, 0, mWidth, mHeight), mFrameSource);
    }
    if (mDisplayText.empty())
        return;
    if (!IsScaled()) {
        mTextImage.Drop();
        DrawText(g, mWidth, mHeight, GetCompoundOpacity());
        return;
    }
    if (!mTextImage.Fits(mLayoutWidth, mLayoutHeight)) {
        if (Zelk::MemoryImage* image = mTextImage.Make(mLayoutWidth, mLayoutHeight)) {
            Zelk::Graphics imageGraphics(image);
            DrawText(&imageGraphics, mLayoutWidth, mLayoutHeight, -1);
        }
    }
    UiBeginPictures(g, alpha);
    mTextImage.DrawStretched(g, mWidth, mHeight);
}

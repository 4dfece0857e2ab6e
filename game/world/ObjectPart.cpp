#include "game/world/ObjectPart.h"

#include "framework/app/PathUtil.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/graphics/Rect.h"
#include "game/core/DebugTrace.h"
#include "game/core/GameApp.h"
#include "game/effects/Effect.h"
#include "game/effects/EffectFile.h"
#include "game/effects/ParticleRegistry.h"
#include "game/world/ObjectParams.h"
#include "game/world/OfficeScreenInterface.h"
#include "game/world/OfficeWorld.h"
#include "game/world/SceneObject.h"
#include "game/world/SceneObjectList.h"

#include <algorithm>
#include <cmath>

namespace {

// A font colour packed 0xRRGGBBAA.
Zelk::Color FromRgba(uint32_t rgba)
{
    return Zelk::Color(int(rgba >> 24), int((rgba >> 16) & 0xFF), int((rgba >> 8) & 0xFF), int(rgba & 0xFF));
}

int Alpha(double value) { return std::clamp(Zelk::TruncToInt(value), 0, 255); }

// Sums of values from the files, kept inside the int range.
int Sum(int64_t value) { return Zelk::TruncToInt(double(value)); }

Zelk::Font* RegistryFont(const std::string& name)
{
    GameApp* app = GetGameApp();
    return app && !name.empty() ? app->GetFont(name) : nullptr;
}

} // namespace

ObjectPart::ObjectPart(SceneObject* owner) : mOwner(owner), mPlayer(this)
{
    EffectItem item;
    item.offset = mEffectOffset;
    item.scale = &mScale;
    item.scalePoint = mEffectScalePoint;
    item.opacity = &mOpacity;
    item.shown = &mShown;
    item.checkmark = &mCheckmark;
    item.fontColor = &mFontColor;
    item.subFontColor = &mSubFontColor;
    item.repeatBlock = &mRepeat.tint;
    item.part = this;
    // The part's own list has no owner-active flag.
    mItemList.count = 1;
    mItemList.ownerActive = nullptr;
    mItemList.items[0] = item;
    if (mOwner)
        mOwner->AddEffectItem(item);
}

ObjectPart::~ObjectPart()
{
    ReleaseImages();
    delete mEffect;
    mEffect = nullptr;
}

void ObjectPart::LoadFromXml(const XmlNode& element)
{
    mScalePoint[0] = mScalePoint[1] = 0;
    std::string name, parentZ, effect, font, subFont;
    XmlGetAttrString(element, L"name", name);
    XmlGetAttrString(element, L"parent_z", parentZ);
    XmlGetAttrString(element, L"effect", effect);
    int offsX = 0, offsY = 0;
    XmlGetAttrInt(element, L"offs_x", offsX);
    XmlGetAttrInt(element, L"offs_y", offsY);
    XmlGetAttrInt(element, L"scale_point_x", mScalePoint[0]);
    XmlGetAttrInt(element, L"scale_point_y", mScalePoint[1]);
    if (XmlGetAttrString(element, L"font", font))
        mFont = RegistryFont(font);
    if (XmlGetAttrString(element, L"sub_font", subFont))
        mSubFont = RegistryFont(subFont);

    std::vector<XmlNode> exchanges;
    element.Select(L"exchange_skin", exchanges);
    for (const XmlNode& exchange : exchanges) {
        std::string from, to;
        XmlGetAttrString(exchange, L"from", from);
        XmlGetAttrString(exchange, L"to", to);
        mExchange[from] = to;
    }

    int mirror = 0;
    XmlGetAttrInt(element, L"mirror", mirror);
    mMirror = mirror != 0;
    for (int i = 0; i < 3; ++i) {
        const std::wstring n = std::to_wstring(i);
        mBase[i] = BasePoint();
        XmlGetAttrInt(element, L"order" + n + L"_x", mBase[i].x);
        XmlGetAttrInt(element, L"order" + n + L"_y", mBase[i].y);
    }

    mParentZ = parentZ;
    mPartName = name;
    mOffsX = offsX;
    mOffsY = offsY;
    mCheckmark = mPartName == "checkmark";

    delete mEffect;
    mEffect = nullptr;
    if (!effect.empty()) {
        mEffect = CreateEffect(effect);
        if (mEffect) {
            mEffect->SetParam(OBJECT_PARAM_ITEMS, &mItemList);
            mEffect->SetParam(OBJECT_PARAM_VISIBLE, &mShown);
            mEffect->SendMessage("oncreate");
        }
    }
    mPlayer.Load(mPartName);
}

void ObjectPart::SetSkin(const std::string& word)
{
    auto it = mExchange.find(word);
    mSkin = it != mExchange.end() ? it->second : word;
    FireEvent("onsetskin");
}

void ObjectPart::SetOrientation(const std::string& word, bool replay)
{
    mOrientation = word;
    if (!word.empty()) {
        if (word[0] == 'm') {
            static const char* const kMirrored[][2] = {
                {"mbr", "br"}, {"mtr", "tr"}, {"mtl", "tl"}, {"mbl", "bl"}, {"mr", "r"}};
            for (const auto& pair : kMirrored) {
                if (word == pair[0]) {
                    mOrientation = pair[1];
                    break;
                }
            }
            mMirror = true;
        } else {
            mMirror = false;
        }
    }
    if (replay && mPlayer.GetState() == AnmPlayer::STATE_PLAYING) {
        PlayAnimation(mAnimation, true);
        LoadImages();
    }
}

bool ObjectPart::PlayAnimation(const std::string& name, bool keepTime)
{
    if (name.empty())
        return false;
    const std::string text = mPartName + mSkin + (mCheckmark ? std::string() : mOrientation) + name;
    if (!mPlayer.PlayByName(text, keepTime))
        return false;
    mAnimation = name;
    return true;
}

bool ObjectPart::LoadImages()
{
    AnmFile* file = mPlayer.GetFile();
    if (!file)
        return false;
    const std::string key = mCheckmark ? mSkin : mSkin + mOrientation;
    for (int i = 0; i < file->GetCount(); ++i) {
        AnmRecord& record = file->GetRecord(i);
        if (record.imageTried || record.name.find(key) == std::string::npos)
            continue;
        record.imageTried = true;
        if (!Zelk::IsPathInsideFolder(record.imageName)) {
            DebugTrace("anm\\%s.anm: picture \"%s\" lies outside the game's data\n", mPartName.c_str(),
                       record.imageName.c_str());
            continue;
        }
        if (Zelk::gAppBase)
            record.image = Zelk::gAppBase->GetSharedImage(record.imageName, "", nullptr);
    }
    return true;
}

void ObjectPart::ReleaseImages()
{
    AnmFile* file = mPlayer.GetFile();
    if (!file)
        return;
    for (int i = 0; i < file->GetCount(); ++i) {
        AnmRecord& record = file->GetRecord(i);
        record.image.Release();
        record.imageTried = false;
    }
}

float ObjectPart::GetDuration() const { return mPlayer.GetDuration(); }

void ObjectPart::Start(bool on)
{
    if (!on)
        return;
    FireEvent("onstart");
    SetSkin(mSkin);
}

void ObjectPart::Show(bool show)
{
    if (mEffect && mEffect->SendMessage(show ? "onshow" : "onhide"))
        return;
    mShown = show;
}

bool ObjectPart::IsVisible() const { return mShown && mOwner && mOwner->IsVisible(); }

void ObjectPart::SetText(const std::wstring& text, int width, int height)
{
    mTextDirty = true;
    if (text.empty()) {
        mHasText = false;
        return;
    }
    mHasText = true;
    mText = text;
    mTextWidth = width;
    mTextHeight = height;
}

void ObjectPart::SetFonts(Zelk::Font* font, Zelk::Font* subFont)
{
    mFont = font;
    mSubFont = subFont;
}

void ObjectPart::SetScalePoint(int32_t x, int32_t y)
{
    mScalePoint[0] = x;
    mScalePoint[1] = y;
}

Zelk::Point ObjectPart::GetScalePoint() const { return Zelk::Point{mScalePoint[0], mScalePoint[1]}; }

Zelk::Point ObjectPart::GetPosition()
{
    int64_t x = mOffsX, y = mOffsY;
    if (mOwner) {
        x += int64_t(mOwner->GetPosition().mX) + mOwner->GetOffset().mX;
        y += int64_t(mOwner->GetPosition().mY) + mOwner->GetOffset().mY;
    }
    AnmFrame frame;
    if (AnmRecord* record = mPlayer.GetCurrentAnimation()) {
        if (mPlayer.GetCurrentFrame(frame)) {
            x += int64_t(record->canvasWidth) - (int64_t(frame.w) + frame.offsetX);
            y += frame.offsetY;
        }
    }
    x += mScalePoint[0];
    y += mScalePoint[1];
    return Zelk::Point{Sum(x), Sum(y)};
}

void ObjectPart::InitEffectParams()
{
    if (!mEffect)
        return;
    Zelk::Point p = GetPosition();
    mEffect->SetParamValue(OBJECT_PARAM_X, intptr_t(p.mX) + 400);
    mEffect->SetParamValue(OBJECT_PARAM_Y, intptr_t(p.mY) + 300);
    mEffect->SetParam(OBJECT_PARAM_ORIENTATION, &mOrientation);
    mEffect->SetParam(OBJECT_PARAM_MIRROR, &mMirror);
}

void ObjectPart::Update()
{
    if (!mShown)
        return;
    if (mEffect) {
        mEffect->Update(gFrameDelta);
        if (ParticleRegistry* particles = ParticleRegistry::Active())
            particles->UpdateOwner(mEffect, gFrameDelta);
    }
    UpdateAnimation();
}

void ObjectPart::UpdateAnimation()
{
    bool ended = false;
    mPlayer.Update(ended);
    if (ended && mOwner) {
        // The handler may play another animation, which renames this one.
        const std::string name = mAnimation;
        mOwner->OnAnimationEnd(this, name);
    }
}

void ObjectPart::Draw(Zelk::Graphics* g)
{
    const int32_t state = mPlayer.GetState();
    if (IsVisible() && (state == AnmPlayer::STATE_PLAYING || state == AnmPlayer::STATE_PAUSED || mHasText)) {
        int64_t x = int64_t(mOffsX) + mEffectOffset[0];
        int64_t y = int64_t(mOffsY) + mEffectOffset[1];
        x += int64_t(mOwner->GetPosition().mX) + mOwner->GetOffset().mX;
        y += int64_t(mOwner->GetPosition().mY) + mOwner->GetOffset().mY;
        const Zelk::Point position{Sum(x), Sum(y)};
        if (!mHasText) {
            AnmFrame frame;
            AnmRecord* record = mPlayer.GetCurrentAnimation();
            if (record && mPlayer.GetCurrentFrame(frame))
                DrawFrame(g, position, record, &frame);
        } else {
            if (mTextDirty)
                RenderText();
            if (mTextPicture) {
                AnmFrame frame;
                frame.w = mTextWidth;
                frame.h = mTextHeight;
                DrawRegion(g, position, mTextPicture, mTextWidth, frame);
            }
        }
    }
    if (mEffect) {
        mEffect->SetParam(OBJECT_PARAM_GRAPHICS, g);
        FireEvent("render_ps");
        // The graphics lives only for this draw.
        mEffect->SetParam(OBJECT_PARAM_GRAPHICS, nullptr);
    }
}

void ObjectPart::RenderText()
{
    mTextDirty = false;
    // No image for a size of 0 or less (or beyond what the text images hold).
    Zelk::MemoryImage* image = mTextImage.Make(mTextWidth, mTextHeight);
    mTextPicture = image;
    if (!image || !mFont)
        return;
    Zelk::Graphics g(image);
    const Zelk::Rect box(0, 0, mTextWidth, mTextHeight);
    if (mSubFont) {
        g.SetFont(mSubFont);
        g.SetColor(FromRgba(mSubFontColor));
        g.DrawWrappedText(box, mText, -1, 0);
    }
    g.SetFont(mFont);
    g.SetColor(FromRgba(mFontColor));
    g.DrawWrappedText(box, mText, -1, 0);
}

void ObjectPart::DrawFrame(Zelk::Graphics* g, const Zelk::Point& position, AnmRecord* record, const AnmFrame* frame)
{
    if (!g || !record || !frame)
        return;
    Zelk::Image* image = record->image.GetImage();
    if (!image)
        return;
    DrawRegion(g, position, image, record->canvasWidth, *frame);
}

bool ObjectPart::IsHighlighted() const
{
    SceneObject* hovered = GetOfficeScreenInterface().GetHoveredObject();
    if (!hovered)
        return false;
    int count = 0;
    hovered->GetPairItem(&count, nullptr);
    for (int i = 0; i < count; ++i) {
        SceneObject* item = nullptr;
        int index = i;
        if (hovered->GetPairItem(&index, &item) && item == mOwner)
            return true;
    }
    return false;
}

void ObjectPart::DrawRegion(Zelk::Graphics* g, const Zelk::Point& position, Zelk::Image* image, int32_t canvasWidth,
                            const AnmFrame& frame)
{
    const bool mirrored = mMirror && !mCheckmark;
    const bool highlight = IsHighlighted();
    const Zelk::Color saved = g->GetColor();
    if (mRepeat.tint != 0) {
        g->SetColor(Zelk::Color(mRepeat.tint));
        g->SetModulateImages(true);
    }
    if (mOpacity != 1.0f) {
        // Effects may leave the opacity outside 0..1; the alpha stays 0..255.
        if (g->mModulateImages) {
            Zelk::Color color = g->GetColor();
            color.mAlpha = Alpha(double(color.mAlpha) * double(mOpacity));
            g->SetColor(color);
        } else {
            g->SetModulateImages(true);
            g->SetColor(Zelk::Color(255, 255, 255, Alpha(255.0 * double(mOpacity))));
        }
    }
    const Zelk::Rect source(frame.x, frame.y, frame.w, frame.h);
    const int32_t pivotX = Sum(int64_t(mScalePoint[0]) + mEffectScalePoint[0]);
    const int32_t pivotY = Sum(int64_t(mScalePoint[1]) + mEffectScalePoint[1]);
    int64_t x = position.mX;
    int64_t y = position.mY;
    for (int32_t i = 0; i < mRepeat.count; ++i) {
        const int64_t left = mirrored ? int64_t(canvasWidth) - (int64_t(frame.w) + frame.offsetX) : frame.offsetX;
        const int dx = Sum(x + left);
        const int dy = Sum(y + frame.offsetY);
        Zelk::Rect dest(dx, dy, frame.w, frame.h);
        if (!(std::fabs(mScale - 1.0f) < 0.01f)) {
            const float px = float(dx) + float(pivotX);
            const float py = float(dy) + float(pivotY);
            dest = Zelk::Rect(Zelk::TruncToInt(px - float(pivotX) * mScale), Zelk::TruncToInt(py - float(pivotY) * mScale),
                              Zelk::TruncToInt(float(frame.w) * mScale), Zelk::TruncToInt(float(frame.h) * mScale));
        }
        g->DrawImageRegionScaledMirror(image, dest, source, mirrored);
        if (highlight) {
            const Zelk::Color previous = g->GetColor();
            g->SetDrawMode(Zelk::DRAWMODE_ADDITIVE);
            g->SetColor(Zelk::Color(255, 255, 255, 50));
            g->SetModulateImages(true);
            g->DrawImageRegionScaledMirror(image, dest, source, mirrored);
            g->SetDrawMode(Zelk::DRAWMODE_NORMAL);
            g->SetColor(previous);
            g->SetModulateImages(false);
        }
        x += mRepeat.stepX;
        y += mRepeat.stepY;
    }
    g->SetColor(saved);
    g->SetModulateImages(false);
}

void ObjectPart::FireEvent(const std::string& name)
{
    if (mEffect)
        mEffect->SendMessage(name);
}

void ObjectPart::SetMessageEnabled(const std::string& name, bool enabled)
{
    if (mEffect)
        mEffect->SetMessageEnabled(name, enabled);
}

bool ObjectPart::IsMessageEnabled(const std::string& name) const { return mEffect && mEffect->IsMessageEnabled(name); }

bool ObjectPart::HasMessage(const std::string& name) const { return mEffect && mEffect->HasMessage(name); }

ObjectPart* ObjectPart::GetParentZPart() const
{
    const size_t colon = mParentZ.find(':');
    if (mParentZ.empty() || colon == std::string::npos)
        return nullptr;
    SceneObject* object = FindObject(mParentZ.substr(0, colon));
    return object ? object->FindPart(mParentZ.substr(colon + 1), 0) : nullptr;
}

#pragma once
// One visual piece of a scene object: it plays the animations of
// anm\<part name>.anm, chosen by part name + skin + orientation + animation
// name, or shows a text rendered into an image of its own. Its effect moves,
// scales, fades and shows it through one EffectItemList record. Parts are
// created with their object and never copied or moved (the lists point into
// them).
#include "framework/graphics/Point.h"
#include "game/core/XmlFunctions.h"
#include "game/effects/EffectItemList.h"
#include "game/ui/UiTextImage.h"
#include "game/world/AnmPlayer.h"

#include <cstdint>
#include <map>
#include <string>

class Effect;
class SceneObject;

namespace Zelk {
class Font;
class Graphics;
class Image;
} // namespace Zelk

class ObjectPart {
public:
    // The tint and the repeated drawing: tint 0xAARRGGBB (0 none), count
    // copies, each step x, step y further.
    struct RepeatBlock {
        uint32_t tint = 0;
        int32_t count = 1;
        int32_t stepX = 0;
        int32_t stepY = 0;
    };
    struct BasePoint {
        int32_t x = 0;
        int32_t y = 0;
    };

    // The part's record is appended to the owner's item list.
    explicit ObjectPart(SceneObject* owner);
    ~ObjectPart();
    ObjectPart(const ObjectPart&) = delete;
    ObjectPart& operator=(const ObjectPart&) = delete;

    // Reads a "part" element, creates its effect and loads its animation
    // file.
    void LoadFromXml(const XmlNode& element);
    // The exchange map's word for it (or the word itself), then "onsetskin".
    void SetSkin(const std::string& word);
    // A word beginning with "m" is the mirrored form of another ("mbr" is
    // "br" mirrored; "mb" stays "mb" and is mirrored); any other non-empty
    // word clears the mirror. With replay a playing animation goes on in the
    // new orientation.
    void SetOrientation(const std::string& word, bool replay);
    bool PlayAnimation(const std::string& name, bool keepTime);
    // Loads the pictures of the records whose name contains skin +
    // orientation and that have none yet; false without a file.
    bool LoadImages();
    void ReleaseImages();
    float GetDuration() const;
    void Start(bool on);
    void Show(bool show);
    void SetShownFlag(bool shown) { mShown = shown; }
    void SetOpacity(float opacity) { mOpacity = opacity; }
    bool IsVisible() const;
    // A non-empty text is shown at that size from the next draw; an empty
    // one goes back to the animation.
    void SetText(const std::wstring& text, int width, int height);
    // The fonts the text is drawn with (LoadFromXml takes them from the
    // game's registry).
    void SetFonts(Zelk::Font* font, Zelk::Font* subFont);
    void SetScalePoint(int32_t x, int32_t y);
    Zelk::Point GetScalePoint() const;
    // The offset and the scale point an effect adds to the part's own; the
    // part's owner may place them too (the next effect step writes over
    // them).
    void SetEffectOffset(int32_t x, int32_t y)
    {
        mEffectOffset[0] = x;
        mEffectOffset[1] = y;
    }
    Zelk::Point GetEffectOffset() const { return Zelk::Point{mEffectOffset[0], mEffectOffset[1]}; }
    void SetEffectScalePoint(int32_t x, int32_t y)
    {
        mEffectScalePoint[0] = x;
        mEffectScalePoint[1] = y;
    }
    Zelk::Point GetEffectScalePoint() const { return Zelk::Point{mEffectScalePoint[0], mEffectScalePoint[1]}; }
    // The part's anchor on screen (particles start there).
    Zelk::Point GetPosition();
    // Gives the effect the anchor and the orientation (once the object is
    // loaded).
    void InitEffectParams();
    void Update();
    void UpdateAnimation();
    void Draw(Zelk::Graphics* g);
    // Draws the frame of the record at the position with the part's tint,
    // opacity, scale, mirror, highlight and repeats.
    void DrawFrame(Zelk::Graphics* g, const Zelk::Point& position, AnmRecord* record, const AnmFrame* frame);
    void FireEvent(const std::string& name);
    void SetMessageEnabled(const std::string& name, bool enabled);
    bool IsMessageEnabled(const std::string& name) const;
    bool HasMessage(const std::string& name) const;
    // The part named by parent_z ("object:part"), or null.
    ObjectPart* GetParentZPart() const;

    SceneObject* GetOwner() const { return mOwner; }
    AnmPlayer& GetPlayer() { return mPlayer; }
    Effect* GetEffect() const { return mEffect; }
    const std::string& GetPartName() const { return mPartName; }
    const std::string& GetSkin() const { return mSkin; }
    const std::string& GetOrientation() const { return mOrientation; }
    const std::string& GetAnimationName() const { return mAnimation; }
    const std::string& GetParentZ() const { return mParentZ; }
    bool IsMirrored() const { return mMirror; }
    bool IsCheckmark() const { return mCheckmark; }
    bool IsShown() const { return mShown; }
    bool HasText() const { return mHasText; }
    const std::wstring& GetText() const { return mText; }
    Zelk::Point GetTextSize() const { return Zelk::Point{mTextWidth, mTextHeight}; }
    float GetScale() const { return mScale; }
    float GetOpacity() const { return mOpacity; }
    int32_t GetOffsetX() const { return mOffsX; }
    int32_t GetOffsetY() const { return mOffsY; }
    const BasePoint* GetBaseLine() const { return mBase; }
    // The three points of the base line (walkers move theirs under their
    // feet).
    void SetBaseLine(const BasePoint (&points)[3])
    {
        for (int i = 0; i < 3; ++i)
            mBase[i] = points[i];
    }
    void SetOffset(int32_t x, int32_t y)
    {
        mOffsX = x;
        mOffsY = y;
    }
    RepeatBlock& GetRepeatBlock() { return mRepeat; }
    EffectItemList& GetItemList() { return mItemList; }

private:
    void DrawRegion(Zelk::Graphics* g, const Zelk::Point& position, Zelk::Image* image, int32_t canvasWidth,
                    const AnmFrame& frame);
    void RenderText();
    bool IsHighlighted() const;

    SceneObject* mOwner;
    AnmPlayer mPlayer;
    std::string mSkin;
    std::string mOrientation;
    std::map<std::string, std::string> mExchange;
    bool mShown = true;
    float mScale = 1.0f;
    float mOpacity = 1.0f;
    int32_t mScalePoint[2] = {0, 0};
    Effect* mEffect = nullptr;
    int32_t mEffectScalePoint[2] = {0, 0};
    int32_t mEffectOffset[2] = {0, 0};
    EffectItemList mItemList;
    Zelk::Font* mFont = nullptr;
    Zelk::Font* mSubFont = nullptr;
    bool mHasText = false;
    bool mTextDirty = false;
    std::wstring mText;
    int32_t mTextWidth = 0;
    int32_t mTextHeight = 0;
    UiTextImage mTextImage;
    Zelk::Image* mTextPicture = nullptr; // held by mTextImage
    bool mCheckmark = false;
    uint32_t mFontColor = 0;    // 0xRRGGBBAA
    uint32_t mSubFontColor = 0; // 0xRRGGBBAA
    RepeatBlock mRepeat;
    std::string mPartName;
    std::string mAnimation;
    std::string mParentZ;
    int32_t mOffsX = 0;
    int32_t mOffsY = 0;
    BasePoint mBase[3];
    bool mMirror = false;
};

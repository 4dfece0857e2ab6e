#pragma once
#include "framework/graphics/Color.h"
#include "framework/graphics/Rect.h"
#include "game/ui/UiElement.h"
#include "game/ui/UiTextImage.h"
#include "game/ui/UiTextLayers.h"

#include <map>
#include <string>

namespace Zelk {
class Font;
class Image;
} // namespace Zelk

// A picture with up to 10 animation frames and word-wrapped text in three
// layers (0 shadow, 1 stroke, 2 normal) whose %name% placeholders come from
// the UI text variables ("quortext"). The text follows a changed variable at
// the next update and sends "onchange" to the effect.
class UiText : public UiElement {
public:
    static constexpr int kFrames = 10;
    static constexpr int kDisabledFrame = 10;

    UiText(UiElement* owner, void* context);
    ~UiText() override;

    // Advances the frames, rebuilds the text when it or a variable it used
    // changed, then the element's update.
    void Update() override;
    // The picture and the text; no "render_ps".
    void Draw(Zelk::Graphics* g) override;

    // "label", "line_spacing" (signed hex), "justify", "valign", "fps"
    // (decimal), "oneshot", the text layers and the textures "normal" (a
    // texture id starting with "+" numbers further frames) and "disabled".
    virtual void Load(const XmlNode& node, void* context);
    // The display text follows at the next update.
    virtual void SetText(const std::wstring& text);
    // Layer 0, 1 or 2; any other is ignored.
    virtual void SetTextAttr(int layer, Zelk::Font* font, Zelk::Color color, Zelk::Color disabledColor);
    // Index 10 is the disabled picture, 0 to 9 the frames (0 also sets the
    // frames' source); others ignored. Recounts the frames, back to frame 0.
    virtual void SetFrame(int index, Zelk::Image* image, const Zelk::Rect& source);
    // The picture becomes frame 0 and the disabled picture; no other frames.
    virtual void SetImage(Zelk::Image* image);

    const std::wstring& GetSourceText() const { return mSourceText; }
    const std::wstring& GetDisplayText() const { return mDisplayText; }
    int GetJustification() const { return mJustification; }
    int GetVerticalAlignment() const { return mVerticalAlignment; }
    int GetLineSpacing() const { return mLineSpacing; }
    int GetFps() const { return mFps; }
    bool IsOneShot() const { return mOneShot; }
    int GetFrame() const { return mFrame; }
    int GetFrameCount() const { return mFrameCount; }
    Zelk::Image* GetFrameImage(int index) const { return index == kDisabledFrame ? mDisabledImage : mFrames[index]; }
    const Zelk::Rect& GetFrameSource() const { return mFrameSource; }
    const Zelk::Rect& GetDisabledSource() const { return mDisabledSource; }
    const UiTextLayers& GetTextLayers() const { return mLayers; }
    bool HasTextImage() const { return mTextImage.Has(); }

protected:
    // Replaces the placeholders from the variables and remembers them.
    void Rebuild();
    // The text layers into a box of width x height; opacity below 0 leaves
    // the colours' alpha as it is.
    void DrawText(Zelk::Graphics* g, int width, int height, float opacity);

    void* mContext;
    std::wstring mSourceText;
    bool mBuilt = true;
    std::map<std::string, std::wstring> mVariables;
    int mJustification = -1;
    int mVerticalAlignment = -1;
    int mLineSpacing = -1;
    float mFrameTime = 0;
    std::wstring mDisplayText;
    UiTextLayers mLayers;
    int mFps = 0;
    int mFrame = 0;
    int mFrameCount = 1;
    bool mOneShot = false;
    Zelk::Image* mFrames[kFrames] = {};
    Zelk::Rect mFrameSource;
    Zelk::Image* mDisabledImage = nullptr;
    Zelk::Rect mDisabledSource;
    UiTextImage mTextImage;
};

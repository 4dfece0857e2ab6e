#pragma once
#include "framework/graphics/Color.h"
#include "framework/graphics/Rect.h"
#include "framework/widgets/ButtonListener.h"
#include "game/ui/UiElement.h"
#include "game/ui/UiPicture.h"
#include "game/ui/UiTextImage.h"
#include "game/ui/UiTextLayers.h"

#include <cstdint>
#include <string>

namespace Zelk {
class Font;
class Image;
} // namespace Zelk

// A button with pictures for the states normal, over, down and disabled (the
// over picture optionally added on top of the normal one), a localised label
// in three layers, and events to its listener under its id ("quorbutton").
// Any mouse button presses and clicks it; it plays "button_hover" on enter
// and "button_click" on a press and switches the cursor to "active".
class UiButton : public UiElement {
public:
    enum State { NORMAL = 0, OVER = 1, DOWN = 2, DISABLED = 3 };

    UiButton(UiElement* owner, intptr_t id, Zelk::ButtonListener* listener);
    ~UiButton() override;

    // The element's update, then the held event while pressed and over.
    void Update() override;
    void Draw(Zelk::Graphics* g) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void MouseMove(int x, int y) override;
    void MouseButtonDown(int x, int y, int button, int clickCount) override;
    void MouseButtonUp(int x, int y, int button, int clickCount) override;

    // "label", "line_spacing" and "justify" (signed hex), the four state
    // textures ("mode"="additive" on "over") and the three text layers.
    virtual void Load(const XmlNode& node, void* context);
    // Layer 0, 1 or 2; any other is ignored.
    virtual void SetTextAttr(int layer, Zelk::Font* font, Zelk::Color color, Zelk::Color hoverColor,
                             Zelk::Color disabledColor);
    // State 0 normal, 1 over, 2 down, 3 disabled; any other is ignored.
    virtual void SetTexture(int state, Zelk::Image* image, const Zelk::Rect& source);
    // The same picture for every state.
    virtual void SetAllTextures(Zelk::Image* image);
    virtual void SetLabel(const std::wstring& label);
    virtual void SetId(intptr_t id);

    intptr_t GetId() const { return mId; }
    Zelk::ButtonListener* GetListener() const { return mListener; }
    const std::wstring& GetLabel() const { return mLabel; }
    int GetLineSpacing() const { return mLineSpacing; }
    int GetJustification() const { return mJustification; }
    bool IsAdditiveOver() const { return mAdditiveOver; }
    const UiPicture& GetPicture(int state) const { return mPictures[state]; }
    const UiTextLayers& GetTextLayers() const { return mLayers; }

protected:
    // The label into the box of width x height at the look, each colour's
    // alpha times opacity (below 0: unchanged).
    void DrawLabel(Zelk::Graphics* g, int width, int height, UiTextLayers::Look look, float opacity);

    intptr_t mId;
    std::wstring mLabel;
    int mLineSpacing = -1;
    int mJustification = 0;
    UiPicture mPictures[4];
    bool mAdditiveOver = false;
    UiTextLayers mLayers;
    Zelk::ButtonListener* mListener;
    UiTextImage mLabelImage;
};

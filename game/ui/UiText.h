#pragma once
#include "framework/graphics/Color.h"
#include "framework/graphics/Rect.h"
#include "game/ui/UiElement.h"

#include <string>

namespace Zelk {
class Font;
class Image;
} // namespace Zelk

// A picture with up to 10 animation frames and word-wrapped text in three
// layers (0 shadow, 1 stroke, 2 normal) whose %name% placeholders come from
// the UI text variables ("quortext").
class UiText : public UiElement {
public:
    UiText(UiElement* owner, void* context);
    ~UiText() override;

    void Update() override;
    void Draw(Zelk::Graphics* g) override;

    virtual void Load(const XmlNode& node, void* context);
    virtual void SetText(const std::wstring& text);
    // Layer 0, 1 or 2; any other is ignored.
    virtual void SetTextAttr(int layer, Zelk::Font* font, Zelk::Color color, Zelk::Color disabledColor);
    // Index 10 is the disabled picture, 0 to 9 the frames; others ignored.
    virtual void SetFrame(int index, Zelk::Image* image, const Zelk::Rect& source);
    virtual void SetImage(Zelk::Image* image);

protected:
    void* mContext;
};

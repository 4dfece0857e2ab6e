#pragma once
#include "framework/graphics/Color.h"
#include "framework/graphics/Rect.h"
#include "framework/widgets/ButtonListener.h"
#include "game/ui/UiElement.h"

#include <cstdint>
#include <string>

namespace Zelk {
class Font;
class Image;
} // namespace Zelk

// A button with pictures for the states normal, over, down and disabled, a
// localised label in three layers, and events to its listener under its id
// ("quorbutton").
class UiButton : public UiElement {
public:
    UiButton(UiElement* owner, intptr_t id, Zelk::ButtonListener* listener);
    ~UiButton() override;

    void Update() override;
    void Draw(Zelk::Graphics* g) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void MouseMove(int x, int y) override;
    void MouseButtonDown(int x, int y, int button, int clickCount) override;
    void MouseButtonUp(int x, int y, int button, int clickCount) override;

    virtual void Load(const XmlNode& node, void* context);
    // Layer 0, 1 or 2; any other is ignored.
    virtual void SetTextAttr(int layer, Zelk::Font* font, Zelk::Color color, Zelk::Color hoverColor,
                             Zelk::Color disabledColor);
    // State 0 normal, 1 over, 2 down, 3 disabled; any other is ignored.
    virtual void SetTexture(int state, Zelk::Image* image, const Zelk::Rect& source);
    virtual void SetAllTextures(Zelk::Image* image);
    virtual void SetLabel(const std::wstring& label);
    virtual void SetId(intptr_t id);

    intptr_t GetId() const { return mId; }
    Zelk::ButtonListener* GetListener() const { return mListener; }

protected:
    intptr_t mId;
    Zelk::ButtonListener* mListener;
};

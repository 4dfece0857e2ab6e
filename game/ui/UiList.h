#pragma once
#include "framework/graphics/Color.h"
#include "framework/graphics/Rect.h"
#include "game/ui/UiElement.h"

#include <string>
#include <vector>

namespace Zelk {
class Font;
class Image;
} // namespace Zelk

class UiScroll;

// A list of text rows with a selection, a marked row with a check picture
// and an optional scroll bar "scroll" ("quorlist").
class UiList : public UiElement {
public:
    explicit UiList(UiElement* owner);
    ~UiList() override;

    void Update() override;
    void Draw(Zelk::Graphics* g) override;
    // Also sets the scroll range from the rows that fit.
    void Resize(int x, int y, int width, int height) override;
    void MouseButtonDown(int x, int y, int button, int clickCount) override;

    virtual void Load(const XmlNode& node, void* context);
    // Layer 0, 1 or 2; any other is ignored.
    virtual void SetTextAttr(int layer, Zelk::Font* font, Zelk::Color color, Zelk::Color disabledColor);
    // State 0 normal, 1 disabled; others ignored.
    virtual void SetTexture(int state, Zelk::Image* image, const Zelk::Rect& source);
    virtual void SetAllTextures(Zelk::Image* image);
    virtual void AddItem(const std::wstring& item);
    virtual void Clear();
    // -1: no row is marked.
    virtual void SetMarkedRow(int row);
    virtual int GetSelected();
    virtual void SetSelected(int row);

    const std::vector<std::wstring>& GetItems() const { return mItems; }

protected:
    std::vector<std::wstring> mItems;
    int mSelected = -1;
    int mMarkedRow = -1;
};

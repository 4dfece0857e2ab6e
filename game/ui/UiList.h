#pragma once
#include "framework/graphics/Color.h"
#include "framework/graphics/Rect.h"
#include "game/ui/UiElement.h"
#include "game/ui/UiPicture.h"
#include "game/ui/UiTextImage.h"
#include "game/ui/UiTextLayers.h"

#include <string>
#include <vector>

namespace Zelk {
class Font;
class Image;
} // namespace Zelk

class UiScroll;

// A single-column list of text rows at a fixed row height ("line_spacing")
// with a filled selected row, a check mark on the marked row and an optional
// scroll bar "scroll" at its right edge ("quorlist"). A row height of 0 or
// less means no rows: nothing drawn, presses ignored, scroll range 0.
class UiList : public UiElement {
public:
    explicit UiList(UiElement* owner);
    ~UiList() override;

    // The first row from the scroll bar, then the element's update.
    void Update() override;
    void Draw(Zelk::Graphics* g) override;
    // Also sets the scroll range from the rows that fit and scrolls to the top.
    void Resize(int x, int y, int width, int height) override;
    // Selects the row under y; scrolls one row when it is cut off at the bottom.
    void MouseButtonDown(int x, int y, int button, int clickCount) override;

    // "line_spacing" and "left" (signed hex), "sel_color", the "scroll"
    // element, the text layers and the textures "normal", "disabled", "check".
    virtual void Load(const XmlNode& node, void* context);
    // Layer 0, 1 or 2; any other is ignored.
    virtual void SetTextAttr(int layer, Zelk::Font* font, Zelk::Color color, Zelk::Color disabledColor);
    // State 0 normal, 1 disabled; others ignored.
    virtual void SetTexture(int state, Zelk::Image* image, const Zelk::Rect& source);
    virtual void SetAllTextures(Zelk::Image* image);
    // Neither changes the scroll range (only Resize does).
    virtual void AddItem(const std::wstring& item);
    // The rows go; first, selected and marked row stay.
    virtual void Clear();
    // -1: no row is marked.
    virtual void SetMarkedRow(int row);
    virtual int GetSelected();
    // No range test, no scrolling.
    virtual void SetSelected(int row);

    const std::vector<std::wstring>& GetItems() const { return mItems; }
    UiScroll* GetScroll() const { return mScroll; }
    int GetRowHeight() const { return mRowHeight; }
    int GetFirstRow() const { return mFirstRow; }
    int GetVisibleRows() const { return mVisibleRows; }
    int GetMarkedRow() const { return mMarkedRow; }
    int GetLeftMargin() const { return mLeftMargin; }
    int GetTextWidth() const { return mTextWidth; }
    const Zelk::Color& GetSelectionColor() const { return mSelectionColor; }
    const UiPicture& GetPicture(int state) const { return mBackground.pictures[state]; }
    const UiPicture& GetCheck() const { return mCheck; }
    const UiTextLayers& GetTextLayers() const { return mLayers; }

protected:
    // The rows from the first while y < layout height; texts with their
    // alpha times opacity (below 0: unchanged), the check mark at checkAlpha.
    void DrawRows(Zelk::Graphics* g, float opacity, int checkAlpha);

    UiScroll* mScroll = nullptr;
    Zelk::Color mSelectionColor;
    int mRowHeight = -1;
    int mFirstRow = 0;
    int mVisibleRows = 0;
    int mSelected = 0;
    UiTextLayers mLayers;
    UiBackground mBackground;
    UiPicture mCheck;
    int mMarkedRow = -1;
    UiTextImage mRowImage;
    std::vector<std::wstring> mItems;
    int mTextWidth = 0;
    int mLeftMargin = 0;
};

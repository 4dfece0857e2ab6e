#include "game/ui/UiList.h"

#include "framework/graphics/Graphics.h"
#include "framework/graphics/Image.h"
#include "framework/graphics/MemoryImage.h"
#include "game/ui/UiAttributes.h"
#include "game/ui/UiScroll.h"

#include <algorithm>

UiList::UiList(UiElement* owner) : UiElement(owner) {}

UiList::~UiList() = default;

void UiList::Load(const XmlNode& node, void* context)
{
    // Before the element's attributes: its Resize needs the row height.
    UiGetAttrHex(node, L"line_spacing", mRowHeight);
    UiGetAttrHex(node, L"left", mLeftMargin);
    UiGetAttrColor(node, L"sel_color", mSelectionColor);
    UiElement::Load(node);

    mTextWidth = Zelk::ClampToInt(int64_t(mWidth) - mLeftMargin);
    if (XmlNode element = node.SelectSingle(L"element[@name=\"scroll\"]")) {
        UiScroll* scroll = new UiScroll(this);
        scroll->Load(element, context);
        mScroll = scroll;
        AddChild("scroll", scroll);
        scroll->Resize(Zelk::ClampToInt(int64_t(mWidth) - scroll->mWidth), 0, scroll->mWidth, mHeight);
        mTextWidth = Zelk::ClampToInt(int64_t(mWidth) - scroll->mWidth - mLeftMargin);
        int top = 0, bottom = 0;
        if (UiElement* up = scroll->FindChild("up")) {
            up->Move(0, 0);
            top = up->mHeight;
        }
        if (UiElement* down = scroll->FindChild("down")) {
            bottom = Zelk::ClampToInt(int64_t(mHeight) - down->mHeight);
            down->Move(0, bottom);
        }
        if (UiElement* thumb = scroll->FindChild("slider"))
            bottom = Zelk::ClampToInt(int64_t(bottom) - thumb->mHeight);
        scroll->SetTrack(0, top, 0, bottom);
    }

    UiReadTextAttrs(node, context, [this](int layer, const UiTextAttr& attr) {
        SetTextAttr(layer, attr.font, attr.color, attr.disabledColor);
    });
    UiTextureAttr carry;
    UiBackground::Load(node, context, carry, mWidth, mHeight,
                       [this](int state, const UiPicture& picture) { SetTexture(state, picture.image, picture.source); });
    if (mCheck.Load(node, L"check", context, carry, 0, 0) && mCheck.image)
        mCheck.source = Zelk::Rect(carry.u, carry.v, Zelk::ClampToInt(int64_t(mCheck.image->mWidth) - carry.u),
                                   Zelk::ClampToInt(int64_t(mCheck.image->mHeight) - carry.v));
    Resize(mLayoutX, mLayoutY, mLayoutWidth, mLayoutHeight);
}

void UiList::SetTextAttr(int layer, Zelk::Font* font, Zelk::Color color, Zelk::Color disabledColor)
{
    mLayers.Set(layer, font, color, color, disabledColor);
}

void UiList::SetTexture(int state, Zelk::Image* image, const Zelk::Rect& source)
{
    mBackground.Set(state, image, source);
}

void UiList::SetAllTextures(Zelk::Image* image) { mBackground.SetAll(image); }

void UiList::AddItem(const std::wstring& item) { mItems.push_back(item); }

void UiList::Clear() { mItems.clear(); }

void UiList::SetMarkedRow(int row) { mMarkedRow = row; }

int UiList::GetSelected() { return mSelected; }

void UiList::SetSelected(int row) { mSelected = row; }

void UiList::Resize(int x, int y, int width, int height)
{
    mVisibleRows = mRowHeight > 0 ? height / mRowHeight + 1 : 0;
    UiElement::Resize(x, y, width, height);
    if (mScroll) {
        int range = 0;
        if (mRowHeight > 0)
            range = std::max<int64_t>(0, int64_t(mItems.size()) - height / mRowHeight);
        mScroll->SetMax(range);
        mScroll->SetValue(0);
    }
}

void UiList::Update()
{
    if (mScroll)
        mFirstRow = mScroll->GetValue();
    UiElement::Update();
}

void UiList::MouseButtonDown(int x, int y, int button, int clickCount)
{
    if (mRowHeight <= 0)
        return;
    const int64_t row = int64_t(mFirstRow) + y / mRowHeight;
    if (row >= 0 && row < int64_t(mItems.size()))
        mSelected = int(row);
    if ((int64_t(mSelected) - mFirstRow + 1) * mRowHeight > mLayoutHeight) {
        ++mFirstRow;
        if (mScroll)
            mScroll->SetValue(mFirstRow);
    }
}

void UiList::DrawRows(Zelk::Graphics* g, float opacity, int checkAlpha)
{
    if (mRowHeight <= 0)
        return;
    const UiTextLayers::Look look = mDisabled ? UiTextLayers::DISABLED : UiTextLayers::PLAIN;
    int64_t y = 0;
    for (int64_t row = mFirstRow; y < mLayoutHeight && row < int64_t(mItems.size()); ++row, y += mRowHeight) {
        if (row < 0)
            continue;
        const int top = int(y);
        if (row == mSelected) {
            g->SetColor(mSelectionColor);
            g->FillRect(0, top, mLeftMargin + mTextWidth, mRowHeight);
        }
        if (row == mMarkedRow && mCheck.image) {
            g->SetColor(Zelk::Color(255, 255, 255, checkAlpha));
            g->DrawImageRegion(mCheck.image, 0, top + (mRowHeight - mCheck.source.mHeight) / 2, mCheck.source);
        }
        mLayers.DrawLine(g, mLeftMargin, top, mRowHeight, mItems[size_t(row)], look, opacity);
    }
}

void UiList::Draw(Zelk::Graphics* g)
{
    const int alpha = GetDrawAlpha();
    UiBeginPictures(g, alpha);
    mBackground.Draw(g, mDisabled, mWidth, mHeight);

    if (!IsScaled()) {
        mRowImage.Drop();
        DrawRows(g, GetCompoundOpacity(), alpha);
        return;
    }
    // Scaled: the rows are rendered anew at layout size on every draw.
    if (Zelk::MemoryImage* image = mRowImage.Make(mLayoutWidth, mLayoutHeight)) {
        Zelk::Graphics imageGraphics(image);
        imageGraphics.SetModulateImages(true);
        DrawRows(&imageGraphics, -1, 255);
    }
    UiBeginPictures(g, alpha);
    mRowImage.DrawStretched(g, mWidth, mHeight);
}

#include "game/ui/UiEdit.h"

#include "framework/app/StringUtil.h"
#include "framework/app/ZelkAppBase.h"
#include "framework/fonts/Font.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/widgets/WidgetManager.h"
#include "game/core/CursorManager.h"
#include "game/core/GameApp.h"
#include "game/ui/UiAttributes.h"
#include "platform/Platform.h"

#include <algorithm>
#include <memory>

namespace {

enum : int {
    KEY_BACKSPACE = 8,
    KEY_END = 35,
    KEY_HOME = 36,
    KEY_LEFT = 37,
    KEY_RIGHT = 39,
    KEY_DELETE = 46,
};
enum : char16_t { CHAR_COPY = 3, CHAR_PASTE = 22, CHAR_CUT = 24, CHAR_UNDO = 26 };

void SelectCursor(const char* mode)
{
    GameApp* app = GetGameApp();
    if (app && app->GetCursorManager())
        app->GetCursorManager()->Select(mode);
}

} // namespace

UiEdit::UiEdit(UiElement* owner) : UiElement(owner) {}

UiEdit::~UiEdit() = default;

void UiEdit::Load(const XmlNode& node, void* context)
{
    UiElement::Load(node);
    mHighlightColor = Zelk::Color();
    UiGetAttrColor(node, L"hilite_color", mHighlightColor);
    UiReadTextAttrs(node, context, [this](int layer, const UiTextAttr& attr) {
        SetTextAttr(layer, attr.font, attr.color, attr.hoverColor);
    });
    UiTextureAttr carry;
    UiBackground::Load(node, context, carry, mWidth, mHeight,
                       [this](int state, const UiPicture& picture) { SetTexture(state, picture.image, picture.source); });
}

void UiEdit::SetTexture(int state, Zelk::Image* image, const Zelk::Rect& source)
{
    mBackground.Set(state, image, source);
}

void UiEdit::SetAllTextures(Zelk::Image* image) { mBackground.SetAll(image); }

void UiEdit::SetTextAttr(int layer, Zelk::Font* font, Zelk::Color color, Zelk::Color highlightColor)
{
    mLayers.Set(layer, font, color, highlightColor, color);
}

void UiEdit::SetText(const std::wstring& text, bool showStart)
{
    mText = text;
    mCaret = int(mText.size());
    mAnchor = 0;
    if (showStart)
        mFirstVisible = 0;
    else
        KeepCaretVisible(true);
    MarkDirty();
}

bool UiEdit::IsWordChar(char16_t c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') ||
           (c >= 0x410 && c <= 0x44F) || c == u'_';
}

void UiEdit::ClampIndices()
{
    const int length = int(mText.size());
    mCaret = std::clamp(mCaret, 0, length);
    if (mAnchor != -1)
        mAnchor = std::clamp(mAnchor, 0, length);
    mFirstVisible = std::clamp(mFirstVisible, 0, std::max(length - 1, 0));
}

int UiEdit::TextWidth(int from, int to) const
{
    Zelk::Font* font = mLayers.GetNormalFont();
    if (!font || to <= from)
        return 0;
    return font->StringWidth(mText.substr(size_t(from), size_t(to - from)));
}

void UiEdit::EraseSelection()
{
    const int start = std::min(mCaret, mAnchor), end = std::max(mCaret, mAnchor);
    mText.erase(size_t(start), size_t(end - start));
    mCaret = start;
    mAnchor = -1;
}

void UiEdit::Insert(const std::wstring& text)
{
    mText.insert(size_t(mCaret), text);
    mCaret += int(text.size());
}

int UiEdit::CharIndexAtX(int x, int y)
{
    ClampIndices();
    int index = 0;
    for (int i = mFirstVisible; i < int(mText.size()); ++i) {
        const int before = TextWidth(mFirstVisible, i), through = TextWidth(mFirstVisible, i + 1);
        if (x >= (before + through) / 2 + 5)
            index = i + 1;
    }
    return index;
}

void UiEdit::KeepCaretVisible(bool bigSteps)
{
    const int step = bigSteps ? 10 : 1;
    ClampIndices();
    while (mCaret < mFirstVisible) {
        mFirstVisible = std::max(mFirstVisible - step, 0);
        MarkDirty();
    }
    if (!mLayers.GetNormalFont() || mWidth <= 8)
        return;
    // Stops at the last character: a field narrower than a character would
    // otherwise scroll for ever.
    const int last = std::max(int(mText.size()) - 1, 0);
    while (mFirstVisible < last && TextWidth(0, mCaret) - TextWidth(0, mFirstVisible) >= mWidth - 8) {
        mFirstVisible = std::min(mFirstVisible + step, last);
        MarkDirty();
    }
}

void UiEdit::SelectWordAtCaret()
{
    ClampIndices();
    const int length = int(mText.size());
    if (mCaret >= length)
        return;
    mAnchor = mCaret;
    while (mAnchor > 0 && IsWordChar(char16_t(mText[size_t(mAnchor - 1)])))
        --mAnchor;
    while (mCaret + 1 < length && IsWordChar(char16_t(mText[size_t(mCaret + 1)])))
        ++mCaret;
    if (mCaret < length)
        ++mCaret;
}

void UiEdit::ProcessKey(int key, char16_t c)
{
    mTextImage.Drop();
    const bool shift = mWidgetManager && mWidgetManager->IsKeyDown(Zelk::KEYCODE_SHIFT);
    const bool ctrl = mWidgetManager && mWidgetManager->IsKeyDown(Zelk::KEYCODE_CONTROL);
    if (key == Zelk::KEYCODE_SHIFT || key == Zelk::KEYCODE_CONTROL)
        return;

    ClampIndices();
    bool changed = false;
    bool moved = false; // a caret move: drops the selection without Shift
    if (shift && mAnchor == -1)
        mAnchor = mCaret;
    const std::wstring beforeText = mText;
    const int beforeCaret = mCaret, beforeAnchor = mAnchor;
    Zelk::ZelkAppBase* app = mWidgetManager ? mWidgetManager->mApp : Zelk::gAppBase;
    Zelk::Font* font = mLayers.GetNormalFont();
    const int length = int(mText.size());

    if ((c == CHAR_COPY || c == CHAR_CUT) && HasSelection()) {
        const int start = std::min(mCaret, mAnchor), end = std::max(mCaret, mAnchor);
        if (app)
            app->CopyToClipboard(Zelk::WStringToString(mText.substr(size_t(start), size_t(end - start))));
        if (c == CHAR_CUT) {
            EraseSelection();
            changed = true;
        }
    } else if (c == CHAR_PASTE) {
        std::wstring pasted;
        if (app) {
            const std::string clip = app->GetClipboardText();
            for (unsigned char byte : clip) {
                if (byte == '\r' || byte == '\n')
                    break;
                if (font && font->CharWidth(wchar_t(byte)) != 0)
                    pasted.push_back(wchar_t(byte));
            }
            if (!clip.empty()) {
                if (HasSelection())
                    EraseSelection();
                mAnchor = -1;
                Insert(pasted);
                changed = true;
            }
        }
    } else if (c == CHAR_UNDO) {
        mLastEditPos = -1;
        std::swap(mText, mUndoText);
        std::swap(mCaret, mUndoCaret);
        std::swap(mAnchor, mUndoAnchor);
    } else if (key == KEY_LEFT) {
        moved = true;
        if (ctrl) {
            while (mCaret > 0 && !IsWordChar(char16_t(mText[size_t(mCaret - 1)])))
                --mCaret;
            while (mCaret > 0 && IsWordChar(char16_t(mText[size_t(mCaret - 1)])))
                --mCaret;
        } else if (!shift && mAnchor != -1) {
            mCaret = std::min(mCaret, mAnchor);
        } else {
            --mCaret;
        }
    } else if (key == KEY_RIGHT) {
        moved = true;
        if (ctrl) {
            // "The character after the caret" is text[caret + 1]; both stop
            // one before the end.
            while (mCaret + 1 < length && IsWordChar(char16_t(mText[size_t(mCaret + 1)])))
                ++mCaret;
            while (mCaret + 1 < length && !IsWordChar(char16_t(mText[size_t(mCaret + 1)])))
                ++mCaret;
        }
        if (shift || mAnchor == -1)
            ++mCaret;
        else
            mCaret = std::max(mCaret, mAnchor);
    } else if ((key == KEY_BACKSPACE || key == KEY_DELETE) && length > 0) {
        if (HasSelection()) {
            EraseSelection();
            changed = true;
        } else if (key == KEY_BACKSPACE && mCaret > 0) {
            mText.erase(size_t(mCaret - 1), 1);
            --mCaret;
            mAnchor = -1;
            changed = mCaret != mLastEditPos;
            mLastEditPos = mCaret - 1;
        } else if (key == KEY_DELETE && mCaret < length) {
            mText.erase(size_t(mCaret), 1);
            mAnchor = -1;
            changed = mCaret != mLastEditPos;
            mLastEditPos = mCaret;
        }
    } else if (key == KEY_HOME) {
        moved = true;
        mCaret = 0;
    } else if (key == KEY_END) {
        moved = true;
        mCaret = length;
    } else if (c >= 0x20 && font && font->StringWidth(std::wstring(1, wchar_t(c))) > 0) {
        if (HasSelection()) {
            EraseSelection();
            changed = true;
        } else {
            changed = mCaret != mLastEditPos + 1;
            mLastEditPos = mCaret;
            mAnchor = -1;
        }
        Insert(std::wstring(1, wchar_t(c)));
        KeepCaretVisible(false);
    }

    if (int(mText.size()) > kMaxLength)
        mText.resize(kMaxLength);
    ClampIndices();
    if (mCaret != beforeCaret) {
        mBlinkCounter = 0;
        mCaretShown = true;
    }
    KeepCaretVisible(true);
    if ((moved && !shift) || mAnchor == mCaret)
        mAnchor = -1;
    if (changed) {
        mUndoText = beforeText;
        mUndoCaret = beforeCaret;
        mUndoAnchor = beforeAnchor;
    }
    MarkDirty();
}

void UiEdit::KeyDown(int key)
{
    if (key < 'A' || key > 'Y')
        ProcessKey(key, 0);
    Zelk::Widget::KeyDown(key);
}

void UiEdit::KeyChar(wchar_t c) { ProcessKey(0, char16_t(c)); }

bool UiEdit::WantsFocus() { return true; }

void UiEdit::PlaceSystemCaret()
{
    Zelk::ZelkAppBase* app = mWidgetManager ? mWidgetManager->mApp : Zelk::gAppBase;
    plat::WindowSystem* windows = plat::Get().windows;
    if (!app || !windows)
        return;
    const Zelk::Point at = GetScreenPos();
    const int x = std::clamp<int>(at.mX, 10, std::max(10, int(app->mWidth) - 10));
    const int y = std::clamp<int>(at.mY, 10, std::max(10, int(app->mHeight) - 10));
    windows->SetSystemCaretPos(app->mMainWindow.load(), x, y);
}

void UiEdit::GotFocus()
{
    Zelk::Widget::GotFocus();
    Zelk::ZelkAppBase* app = mWidgetManager ? mWidgetManager->mApp : Zelk::gAppBase;
    plat::WindowSystem* windows = plat::Get().windows;
    if (app && app->mTabletPC && windows) {
        windows->CreateSystemCaret(app->mMainWindow.load());
        PlaceSystemCaret();
        windows->ShowSystemCaret(app->mMainWindow.load(), true);
    }
    mCaretShown = true;
    mBlinkCounter = 0;
    MarkDirty();
}

void UiEdit::LostFocus()
{
    Zelk::Widget::LostFocus();
    Zelk::ZelkAppBase* app = mWidgetManager ? mWidgetManager->mApp : Zelk::gAppBase;
    plat::WindowSystem* windows = plat::Get().windows;
    if (app && app->mTabletPC && windows) {
        windows->ShowSystemCaret(app->mMainWindow.load(), false);
        windows->DestroySystemCaret(app->mMainWindow.load());
    }
    mCaretShown = false;
    MarkDirty();
}

void UiEdit::Update()
{
    UiElement::Update();
    if (!mHasFocus)
        return;
    Zelk::ZelkAppBase* app = mWidgetManager ? mWidgetManager->mApp : Zelk::gAppBase;
    if (app && app->mTabletPC)
        PlaceSystemCaret();
    if (++mBlinkCounter > kBlinkPeriod) {
        MarkDirty();
        mBlinkCounter = 0;
        mCaretShown = !mCaretShown;
    }
}

void UiEdit::Resize(int x, int y, int width, int height)
{
    UiElement::Resize(x, y, width, height);
    mTextImage.Drop();
    KeepCaretVisible(false);
}

void UiEdit::MouseEnter() { SelectCursor("text"); }

void UiEdit::MouseLeave() { SelectCursor("normal"); }

void UiEdit::MouseButtonDown(int x, int y, int button, int clickCount)
{
    mAnchor = -1;
    mCaret = CharIndexAtX(x, y);
    if (clickCount > 1) {
        mWordSelectionPending = true;
        SelectWordAtCaret();
    }
    MarkDirty();
    KeepCaretVisible(false);
}

void UiEdit::MouseDrag(int x, int y)
{
    if (mAnchor == -1)
        mAnchor = mCaret;
    mCaret = CharIndexAtX(x, y);
    MarkDirty();
    KeepCaretVisible(false);
}

void UiEdit::MouseButtonUp(int x, int y, int button, int clickCount)
{
    if (mAnchor == mCaret)
        mAnchor = -1;
    if (mWordSelectionPending) {
        mAnchor = -1;
        mCaret = CharIndexAtX(x, y);
        mWordSelectionPending = false;
        SelectWordAtCaret();
    }
    MarkDirty();
}

void UiEdit::DrawPasses(Zelk::Graphics* g, int width, int height)
{
    Zelk::Font* font = mLayers.GetNormalFont();
    if (!font)
        return;
    ClampIndices();
    const std::wstring shown = mText.substr(size_t(mFirstVisible));
    const int fieldWidth = std::max(width - 8, 0);
    for (int pass = 0; pass < 2; ++pass) {
        std::unique_ptr<Zelk::Graphics> copy(g->CreateCopy());
        bool highlight = false;
        if (pass == 0) {
            copy->ClipRect(4, 0, width - 8, height);
        } else {
            const int origin = TextWidth(0, mFirstVisible);
            int a = TextWidth(0, mCaret) - origin;
            int b = mAnchor != -1 ? TextWidth(0, mAnchor) - origin : a + 2;
            if (!mCaretShown)
                a += 2;
            a = std::clamp(a, 0, fieldWidth);
            b = std::clamp(b, 0, fieldWidth);
            copy->ClipRect(std::min(a, b) + 4, (height - font->GetHeight()) / 2, std::abs(b - a), font->GetHeight());
            highlight = mHasFocus;
            if (highlight) {
                copy->SetColor(mHighlightColor);
                copy->FillRect(0, 0, width, height);
            }
        }
        mLayers.DrawLine(copy.get(), 4, 0, height, shown, highlight ? UiTextLayers::HOVER : UiTextLayers::PLAIN, -1);
    }
}

void UiEdit::Draw(Zelk::Graphics* g)
{
    const int alpha = GetDrawAlpha();
    UiBeginPictures(g, alpha);
    mBackground.Draw(g, mDisabled, mWidth, mHeight);

    if (!IsScaled()) {
        mTextImage.Drop();
        DrawPasses(g, mWidth, mHeight);
        return;
    }
    if (!mTextImage.Has()) {
        if (Zelk::MemoryImage* image = mTextImage.Make(mLayoutWidth, mLayoutHeight)) {
            Zelk::Graphics imageGraphics(image);
            DrawPasses(&imageGraphics, mLayoutWidth, mLayoutHeight);
        }
    }
    UiBeginPictures(g, alpha);
    mTextImage.DrawStretched(g, mWidth, mHeight);
}

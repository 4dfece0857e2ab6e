#pragma once
#include "framework/widgets/ButtonListener.h"
#include "framework/widgets/Widget.h"

#include <memory>
#include <string>

namespace Zelk {

class DialogButton;
class DialogListener;
class Font;
class Image;

// Ids of a dialog's buttons.
enum : int {
    DIALOG_ID_YES = 1000,
    DIALOG_ID_NO = 1001,
};

// Button modes of a dialog.
enum : int {
    BUTTONS_NONE = 0,
    BUTTONS_YES_NO = 1,
    BUTTONS_OK_CANCEL = 2,
    BUTTONS_FOOTER = 3, // one button labelled with the footer text
};

// A framed message box: a header, word-wrapped lines, a footer and up to two
// buttons, draggable, optionally modal. Its buttons live beside it in the
// manager (not inside it) and report to it; it reports them to its dialog
// listener (the application) by its dialog id.
//
// Colours: 0 header, 1 lines, 2 footer, 3 and 4 button label and hovered
// button label, 5 background, 6 outline.
class Dialog : public Widget, public ButtonListener {
public:
    static constexpr int NO_RESULT = 0x7fffffff;

    Dialog(Image* componentImage, Image* buttonImage, int dialogId, bool isModal, const std::wstring& header,
           const std::wstring& lines, const std::wstring& footer, int buttonMode);
    ~Dialog() override;

    virtual void SetButtonFont(Font* font);
    // The dialog keeps a copy of the font.
    virtual void SetHeaderFont(Font* font);
    virtual void SetLinesFont(Font* font);
    virtual int GetPreferredHeight(int width);
    virtual bool IsModal();
    // Runs application steps until a button answers, the dialog leaves the
    // manager or stepping stops; then, with kill, closes the dialog. Returns
    // DIALOG_ID_YES, DIALOG_ID_NO or NO_RESULT.
    virtual int WaitForResult(bool kill);

    void Attached(WidgetManager* manager) override;
    void Detached(WidgetManager* manager) override;
    void Draw(Graphics* g) override;
    void OrderChanged() override;
    void SetColor(int index, const Color& color) override;
    void Resize(int x, int y, int width, int height) override;
    void MouseButtonDown(int x, int y, int button, int clickCount) override;
    void MouseButtonUp(int x, int y, int button, int clickCount) override;
    void MouseDrag(int x, int y) override;

    void OnButtonPress(intptr_t id) override;
    void OnButtonClick(intptr_t id) override;

    DialogListener* mDialogListener;
    Image* mComponentImage;
    DialogButton* mYesButton = nullptr; // owned
    DialogButton* mNoButton = nullptr;  // owned
    std::wstring mDialogHeader;
    std::wstring mDialogFooter;
    std::wstring mDialogLines;
    int32_t mButtonMode;
    Font* mHeaderFont = nullptr; // owned
    Font* mLinesFont = nullptr;  // owned
    int32_t mTextAlign = 0;
    int32_t mLineSpacingOffset = 0;
    int32_t mButtonHeight;
    Insets mBackgroundInsets;
    Insets mContentInsets;
    int32_t mSpaceAfterHeader = 10;
    bool mDragging = false;
    int32_t mDragMouseX = 0;
    int32_t mDragMouseY = 0;
    int32_t mId;
    bool mIsModal;
    int32_t mResult = NO_RESULT;
    int32_t mButtonHorzSpacing = 8;
    int32_t mButtonSidePadding = 0;

private:
    // What a waiting loop needs to know once the dialog may be gone.
    struct Outcome {
        bool deleted = false;
        int32_t result = NO_RESULT;
    };

    void EnsureFonts();
    void SetCursor(int kind);

    std::shared_ptr<Outcome> mOutcome;
};

} // namespace Zelk

#pragma once
#include "platform/window/WindowSystem.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace plat {

// A small modal dialog described by a template (positions and sizes in dialog
// units), run with a procedure that reacts to its events. The playback dialogs
// of the demo player are made this way.
struct DialogControl {
    enum class Kind { ListBox, Edit, Button };
    Kind kind = Kind::Button;
    int id = 0;
    std::string text; // a button's label
    int x = 0, y = 0, width = 0, height = 0;
    bool defaultButton = false;
};

struct DialogTemplate {
    std::string title;
    int x = 0, y = 0, width = 0, height = 0;
    std::string fontName;
    int pointSize = 0;
    std::vector<DialogControl> controls;
};

// Control ids and notification codes with the values the system uses.
enum : int { DIALOG_IDOK = 1, DIALOG_IDCANCEL = 2 };
enum : int { LBN_DBLCLK = 2 };

enum class DialogEvent {
    Init,    // the dialog and its controls exist
    Command, // a control was used: its id and notification code
    Close    // the user asked to close the dialog
};

// The running dialog as its procedure sees it.
class DialogWindow {
public:
    virtual ~DialogWindow() = default;
    virtual void AddListEntry(int control, const std::wstring& text, intptr_t data) = 0;
    // The selected entry of a list box, -1 when none is selected.
    virtual int ListSelection(int control) = 0;
    virtual intptr_t ListItemData(int control, int index) = 0;
    virtual void SetText(int control, const std::string& text) = 0;
    // At most maxChars - 1 characters (the system's buffer holds the terminator too).
    virtual std::string GetText(int control, size_t maxChars) = 0;
    virtual void SelectAllText(int control) = 0;
    // Ends the dialog; Run returns the result.
    virtual void End(int result) = 0;
};

using DialogProc = std::function<void(DialogWindow& dialog, DialogEvent event, int control, int notifyCode)>;

class ModalDialogHost {
public:
    virtual ~ModalDialogHost() = default;
    // Shows the dialog over the owner window and runs it until its procedure
    // ends it. The result it ended with, or -1 when it cannot be shown.
    virtual int Run(WindowHandle owner, const DialogTemplate& dialog, const DialogProc& proc) = 0;
};

} // namespace plat

#pragma once
#include "platform/dialog/DialogState.h"

#include <deque>
#include <mutex>

namespace plat {

// Headless dialogs: each dialog is logged and driven by a script of user
// actions that the test queues. A dialog takes actions from the script until
// it has ended; when the script runs out first, the user closes it.
class NullModalDialogHost : public ModalDialogHost {
public:
    struct Action {
        enum class Kind { Select, DoubleClick, Type, Press, Close };
        Kind kind = Kind::Close;
        int control = 0;
        int index = 0;     // Select: the entry (-1: none)
        std::string text;  // Type: the control's new text
    };
    static Action Select(int control, int index) { return {Action::Kind::Select, control, index, {}}; }
    static Action DoubleClick(int control) { return {Action::Kind::DoubleClick, control, 0, {}}; }
    static Action Type(int control, const std::string& text) { return {Action::Kind::Type, control, 0, text}; }
    static Action Press(int control) { return {Action::Kind::Press, control, 0, {}}; }
    static Action Close() { return {Action::Kind::Close, 0, 0, {}}; }

    // What a dialog looked like once its procedure had set it up.
    struct Shown {
        DialogTemplate dialog;
        std::map<int, std::vector<DialogState::Entry>> entries;
        std::map<int, std::string> texts;        // the text controls' contents
        std::map<int, bool> textSelected;
        int result = 0;
    };

    int Run(WindowHandle owner, const DialogTemplate& dialog, const DialogProc& proc) override;
    void Queue(const Action& action);
    std::vector<Shown> Log();
    void Clear();

    // While set, no dialog can be shown (Run returns -1).
    bool failShow = false;

private:
    std::mutex mLock;
    std::deque<Action> mScript;
    std::vector<Shown> mLog;
};

} // namespace plat

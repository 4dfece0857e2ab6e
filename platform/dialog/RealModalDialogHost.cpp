#include "platform/dialog/RealModalDialogHost.h"
#include "platform/dialog/DialogState.h"
#include "platform/msgbox/MessageBoxes.h"
#include "platform/msgbox/RealMessageBoxProcess.h"
#include "platform/text/Utf8.h"

namespace plat {

namespace {
constexpr int kEntryButton = 1000; // + the entry's index
constexpr int kCloseButton = -2;
} // namespace

int RealModalDialogHost::Run(WindowHandle owner, const DialogTemplate& dialog, const DialogProc& proc)
{
    DialogState state;
    proc(state, DialogEvent::Init, 0, 0);

    std::string message;
    std::vector<std::string> labels;
    std::vector<int> ids;
    int listControl = 0;
    for (const DialogControl& c : dialog.controls) {
        if (c.kind == DialogControl::Kind::ListBox) {
            listControl = c.id;
            const std::vector<DialogState::Entry>& entries = state.Entries(c.id);
            for (size_t i = 0; i < entries.size() && i < kMaxListButtons; ++i) {
                labels.push_back(WideToUtf8(entries[i].text));
                ids.push_back(kEntryButton + int(i));
            }
            if (entries.empty())
                message += "(none)\n";
        } else if (c.kind == DialogControl::Kind::Edit) {
            const std::string text = state.GetText(c.id, std::string::npos);
            message += text.empty() ? std::string("(empty)\n") : text + "\n";
        } else {
            labels.push_back(c.text);
            ids.push_back(c.id);
        }
    }
    bool hasButton = false;
    for (const DialogControl& c : dialog.controls)
        hasButton = hasButton || c.kind == DialogControl::Kind::Button;
    if (!hasButton) {
        labels.push_back("Close");
        ids.push_back(kCloseButton);
    }

    std::vector<MessageBoxButton> buttons;
    for (size_t i = 0; i < labels.size(); ++i) {
        MessageBoxButton b{ids[i], labels[i]};
        for (const DialogControl& c : dialog.controls)
            if (c.kind == DialogControl::Kind::Button && c.id == ids[i] && c.defaultButton)
                b.returnKey = true;
        b.escapeKey = ids[i] == DIALOG_IDCANCEL || ids[i] == kCloseButton;
        buttons.push_back(b);
    }
    int answer = ShowMessageBoxProcess(message, dialog.title, MB_ICONINFORMATION, buttons);
    if (answer == kMessageBoxNotShown)
        return -1;
    if (answer == kMessageBoxClosed)
        answer = -1;

    if (answer >= kEntryButton) {
        state.Select(listControl, answer - kEntryButton);
        proc(state, DialogEvent::Command, listControl, LBN_DBLCLK);
    } else if (answer >= 0) {
        proc(state, DialogEvent::Command, answer, 0);
    }
    if (!state.Ended())
        proc(state, DialogEvent::Close, 0, 0);
    if (!state.Ended())
        state.End(0);
    return state.Result();
}

} // namespace plat

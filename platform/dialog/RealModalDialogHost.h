#pragma once
#include "platform/dialog/ModalDialogHost.h"

namespace plat {

// Dialogs on the desktop as message boxes, each shown by a process of its own
// as every message box is (RealMessageBoxProcess.h): the calling thread waits
// for the person, the event thread keeps running. A message box has buttons
// but no list or text field: a list's entries become buttons (the first
// few), and a text field shows the text its procedure put there, which the
// user accepts or refuses with the dialog's own buttons.
class RealModalDialogHost : public ModalDialogHost {
public:
    static constexpr size_t kMaxListButtons = 8;

    int Run(WindowHandle owner, const DialogTemplate& dialog, const DialogProc& proc) override;
};

} // namespace plat

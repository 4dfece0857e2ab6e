#pragma once
#include "platform/dialog/ModalDialogHost.h"

namespace plat {

class RealWindowSystem;

// Dialogs on the desktop through SDL message boxes, shown from the event
// thread. A message box has buttons but no list or text field: a list's
// entries become buttons (the first few), and a text field shows the text its
// procedure put there, which the user accepts or refuses with the dialog's own
// buttons.
class RealModalDialogHost : public ModalDialogHost {
public:
    static constexpr size_t kMaxListButtons = 8;

    explicit RealModalDialogHost(RealWindowSystem* windows) : mWindows(windows) {}
    int Run(WindowHandle owner, const DialogTemplate& dialog, const DialogProc& proc) override;

private:
    RealWindowSystem* mWindows;
};

} // namespace plat

#pragma once
#include "platform/msgbox/MessageBoxes.h"

namespace plat {

// Message boxes on the desktop, each shown by a process of its own
// (RealMessageBoxProcess.h), so the caller's thread waits for the person and the
// event thread keeps running; from a crash too, as nothing waits for a
// thread of this process. Without a desktop to show it on, the text goes
// to standard error and the box's default answer is taken.
class RealMessageBoxes : public MessageBoxes {
public:
    int Show(const std::wstring& text, const std::wstring& caption, uint32_t flags) override;
    // The box's process first hides this program's windows: the crashed
    // program may no longer be able to (its event thread may be the one that
    // stopped), and a frozen full-screen window would cover the box.
    int ShowFromCrash(const std::wstring& text, const std::wstring& caption, uint32_t flags) override;

private:
    int ShowBox(const std::wstring& text, const std::wstring& caption, uint32_t flags, bool hideOurWindows);
};

} // namespace plat

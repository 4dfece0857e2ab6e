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
};

} // namespace plat

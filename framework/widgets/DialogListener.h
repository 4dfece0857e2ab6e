#pragma once

namespace Zelk {

// Receives a dialog's button press and click as dialog id and button id.
class DialogListener {
public:
    virtual ~DialogListener() = default;
    virtual void OnDialogButtonPress(int dialogId, int buttonId) {}
    virtual void OnDialogButtonClick(int dialogId, int buttonId) {}
};

} // namespace Zelk

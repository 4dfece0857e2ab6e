#include "game/ui/UiDialog.h"

UiDialog::UiDialog(UiElement* owner, void* context) : UiElement(owner), mContext(context) {}

UiDialog::~UiDialog() = default;

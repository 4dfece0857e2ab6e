#include "game/ui/UiTutorial.h"

UiTutorial::UiTutorial(UiElement* owner, void* context) : UiDialog(owner, context) {}

UiTutorial::~UiTutorial() = default;

void UiTutorial::Load(const XmlNode& node, void* context)
{
    UiDialog::Load(node, context);
    XmlGetAttrBool(node, L"clickhide", mClickHide);
}

void UiTutorial::MouseUpAt(int x, int y)
{
    if (mClickHide)
        Hide();
}

// The application's registry of open dialogs by id.
#include "framework/app/ZelkAppBase.h"
#include "framework/widgets/Dialog.h"
#include "framework/widgets/WidgetManager.h"

namespace Zelk {

Dialog* ZelkAppBase::NewDialog(int dialogId, bool isModal, const std::wstring& header, const std::wstring& lines,
                               const std::wstring& footer, int buttonMode)
{
    return new Dialog(nullptr, nullptr, dialogId, isModal, header, lines, footer, buttonMode);
}

Dialog* ZelkAppBase::OpenDialog(int dialogId, bool isModal, const std::wstring& header, const std::wstring& lines,
                                const std::wstring& footer, int buttonMode)
{
    CloseDialogById(dialogId);
    Dialog* dialog = NewDialog(dialogId, isModal, header, lines, footer, buttonMode);
    RegisterDialogId(dialogId, dialog);
    return dialog;
}

Dialog* ZelkAppBase::FindDialog(int dialogId)
{
    auto it = mDialogMap.find(dialogId);
    return it == mDialogMap.end() ? nullptr : it->second;
}

void ZelkAppBase::RegisterDialog(Dialog* dialog)
{
    RegisterDialogId(dialog->mId, dialog);
}

// A dialog already registered under the id stays as it is: closing the old
// one first would queue the very dialog being registered for deletion.
void ZelkAppBase::RegisterDialogId(int dialogId, Dialog* dialog)
{
    if (FindDialog(dialogId) == dialog)
        return;
    CloseDialogById(dialogId);
    if (dialog->mWidth == 0) {
        const int width = mWidth / 2;
        dialog->Resize((mWidth - width) / 2, mHeight / 5, width, dialog->GetPreferredHeight(width));
    }
    mDialogMap[dialogId] = dialog;
    mDialogList.push_back(dialog);
    mWidgetManager->AddWidget(dialog);
    if (dialog->IsModal()) {
        mWidgetManager->PushModalLayerDefault(dialog);
        OnModalDialogOpened();
    }
}

bool ZelkAppBase::DetachDialog(int dialogId, bool removeWidget, bool deleteIt)
{
    auto it = mDialogMap.find(dialogId);
    if (it == mDialogMap.end())
        return false;
    Dialog* dialog = it->second;
    if (dialog->mResult == -1)
        dialog->mResult = 0;
    mDialogList.remove(dialog);
    mDialogMap.erase(it);
    if (removeWidget || deleteIt)
        mWidgetManager->RemoveWidget(dialog);
    if (dialog->IsModal()) {
        OnModalDialogClosed();
        mWidgetManager->PopModalLayer(dialog);
    }
    if (deleteIt)
        SafeDeleteWidget(dialog);
    return true;
}

bool ZelkAppBase::CloseDialogById(int dialogId)
{
    return DetachDialog(dialogId, true, true);
}

bool ZelkAppBase::CloseDialog(Dialog* dialog)
{
    return CloseDialogById(dialog->mId);
}

namespace {

// The application's own id for a dialog's yes or no button.
bool DialogButtonId(int dialogId, int buttonId, intptr_t& id)
{
    if (buttonId != DIALOG_ID_YES && buttonId != DIALOG_ID_NO)
        return false;
    id = intptr_t(dialogId) + (buttonId == DIALOG_ID_YES ? 2000 : 3000);
    return true;
}

} // namespace

void ZelkAppBase::OnDialogButtonPress(int dialogId, int buttonId)
{
    intptr_t id;
    if (DialogButtonId(dialogId, buttonId, id))
        OnButtonPress(id);
}

void ZelkAppBase::OnDialogButtonClick(int dialogId, int buttonId)
{
    intptr_t id;
    if (DialogButtonId(dialogId, buttonId, id))
        OnButtonClick(id);
}

} // namespace Zelk

// Operations of the application object whose full behaviour belongs to the
// window and input, screen-mode, image-service, dialog, crash and demo code.
// Each does the least that keeps the application honest until then.
#include "framework/app/StringUtil.h"
#include "framework/app/ZelkAppBase.h"
#include "framework/graphics/DDInterface.h"
#include "framework/widgets/Dialog.h"
#include "framework/widgets/WidgetManager.h"
#include "platform/Platform.h"
#include "platform/window/WindowSystem.h"

namespace Zelk {

// ---- images, links and the screen-error log ----

void ZelkAppBase::ReapplyAllImageReductions() {}
void ZelkAppBase::FreeAllNativeImageData() {}
void ZelkAppBase::FreeAllImageBuffers() {}
Image* ZelkAppBase::GetImage(const std::string& fileName, bool commitBits) { return nullptr; }

Image* ZelkAppBase::GetSharedImage(const std::string& fileName, const std::string& variant, bool* isNew)
{
    if (isNew)
        *isNew = false;
    return nullptr;
}

void ZelkAppBase::LogScreenError(const std::string& text) { DebugPrint("%s\n", text.c_str()); }
bool ZelkAppBase::OpenUrl(const std::string& url, bool quitAfter) { return false; }
std::string ZelkAppBase::GetProductVersion(const std::string& path) { return std::string(); }

// ---- dialogs ----

Dialog* ZelkAppBase::NewDialog(int dialogId, bool isModal, const std::wstring& header,
                               const std::wstring& lines, const std::wstring& footer, int buttonMode)
{
    return new Dialog(dialogId, isModal);
}

Dialog* ZelkAppBase::OpenDialog(Dialog* dialog)
{
    RegisterDialog(dialog);
    return dialog;
}

Dialog* ZelkAppBase::FindDialog(int dialogId)
{
    auto it = mDialogMap.find(dialogId);
    return it == mDialogMap.end() ? nullptr : it->second;
}

void ZelkAppBase::RegisterDialog(Dialog* dialog) { RegisterDialogId(dialog->mId, dialog); }

void ZelkAppBase::RegisterDialogId(int dialogId, Dialog* dialog)
{
    CloseDialogById(dialogId);
    mDialogMap[dialogId] = dialog;
    mDialogList.push_back(dialog);
}

bool ZelkAppBase::CloseDialog(Dialog* dialog) { return CloseDialogById(dialog->mId); }

bool ZelkAppBase::CloseDialogById(int dialogId)
{
    auto it = mDialogMap.find(dialogId);
    if (it == mDialogMap.end())
        return false;
    Dialog* dialog = it->second;
    mDialogMap.erase(it);
    mDialogList.remove(dialog);
    mWidgetManager->RemoveWidget(dialog);
    SafeDeleteWidget(dialog);
    return true;
}

bool ZelkAppBase::DetachDialog(Dialog* dialog)
{
    auto it = mDialogMap.find(dialog->mId);
    if (it == mDialogMap.end())
        return false;
    mDialogMap.erase(it);
    mDialogList.remove(dialog);
    return true;
}

// ---- crashes and the command line ----

void ZelkAppBase::ParseCommandLine(const std::string& commandLine) { HandleCommandLine(commandLine); }
bool ZelkAppBase::HandleSwitch(const std::string& name, const std::string& value) { return false; }

} // namespace Zelk

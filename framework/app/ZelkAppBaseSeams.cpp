// Operations of the application object whose full behaviour belongs to the
// window and input, screen-mode, image-service, dialog, crash and demo code.
// Each does the least that keeps the application honest until then.
#include "framework/app/StringUtil.h"
#include "framework/app/ZelkAppBase.h"
#include "framework/graphics/DDInterface.h"
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

// ---- demos ----

void ZelkAppBase::DemoSyncString(std::string&) {}
void ZelkAppBase::DemoSyncBool(bool&) {}

// ---- crashes and the command line ----

void ZelkAppBase::ParseCommandLine(const std::string& commandLine) { HandleCommandLine(commandLine); }
bool ZelkAppBase::HandleSwitch(const std::string& name, const std::string& value) { return false; }

} // namespace Zelk

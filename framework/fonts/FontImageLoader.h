#pragma once
#include <string>

namespace Zelk {

class SharedImageRef;
class ZelkAppBase;

// How the layer images of font descriptions are found: a handle on the image
// of that file name for the application, and whether this call loaded it.
// False when no image results. The default asks the application's shared
// images; tests and tools may install their own.
typedef bool (*FontImageLoader)(ZelkAppBase* app, const std::string& fileName, SharedImageRef& out, bool& isNew);
extern FontImageLoader gFontImageLoader;

// Through gFontImageLoader, or the default when none is installed.
bool LoadFontImage(ZelkAppBase* app, const std::string& fileName, SharedImageRef& out, bool& isNew);

} // namespace Zelk

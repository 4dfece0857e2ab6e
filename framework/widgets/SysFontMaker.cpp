#include "framework/widgets/SysFontMaker.h"

namespace Zelk {

SysFontMaker gSysFontMaker = nullptr;

Font* MakeSysFont(ZelkAppBase* app, const std::string& face, int pointSize, int charset)
{
    return gSysFontMaker ? gSysFontMaker(app, face, pointSize, charset) : nullptr;
}

} // namespace Zelk

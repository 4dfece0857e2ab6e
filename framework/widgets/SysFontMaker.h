#pragma once
#include <string>

namespace Zelk {

class Font;
class ZelkAppBase;

// The system fonts that buttons and dialogs make for themselves when no font
// was set: face, point size and character set. The caller owns the result.
// The font system installs the maker; until it does (and in tests that
// install none) the result is null and such widgets draw no text.
typedef Font* (*SysFontMaker)(ZelkAppBase* app, const std::string& face, int pointSize, int charset);
extern SysFontMaker gSysFontMaker;

Font* MakeSysFont(ZelkAppBase* app, const std::string& face, int pointSize, int charset);

} // namespace Zelk

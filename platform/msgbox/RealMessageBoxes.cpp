#include "platform/msgbox/RealMessageBoxes.h"
#include "platform/msgbox/RealMessageBoxProcess.h"
#include "platform/text/Utf8.h"

#include <cstdio>

namespace plat {

int RealMessageBoxes::Show(const std::wstring& text, const std::wstring& caption, uint32_t flags)
{
    return ShowBox(text, caption, flags, false);
}

int RealMessageBoxes::ShowFromCrash(const std::wstring& text, const std::wstring& caption, uint32_t flags)
{
    return ShowBox(text, caption, flags, true);
}

int RealMessageBoxes::ShowBox(const std::wstring& text, const std::wstring& caption, uint32_t flags,
                              bool hideOurWindows)
{
    const std::string utfText = WideToUtf8(text), utfCaption = WideToUtf8(caption);
    int answer = ShowMessageBoxProcess(utfText, utfCaption, flags, hideOurWindows);
    if (answer < 0) {
        // No box, or closed without a button: the text also goes to standard
        // error, and the default answer is taken.
        fprintf(stderr, "%s: %s\n", utfCaption.c_str(), utfText.c_str());
        answer = (flags & 0xF) == MB_YESNO ? IDYES : IDOK;
    }
    return answer;
}

} // namespace plat

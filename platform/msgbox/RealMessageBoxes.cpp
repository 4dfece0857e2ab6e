#include "platform/msgbox/RealMessageBoxes.h"
#include "platform/text/Utf8.h"
#include "platform/window/RealWindowSystem.h"

#include <SDL.h>
#include <cstdio>

namespace plat {

int RealMessageBoxes::Show(const std::wstring& text, const std::wstring& caption, uint32_t flags)
{
    return ShowOn(true, text, caption, flags);
}

// SDL shows its box from a process of its own, so any thread may ask for it.
int RealMessageBoxes::ShowFromCrash(const std::wstring& text, const std::wstring& caption, uint32_t flags)
{
    return ShowOn(false, text, caption, flags);
}

int RealMessageBoxes::ShowOn(bool eventThread, const std::wstring& text, const std::wstring& caption, uint32_t flags)
{
    std::string utfText = WideToUtf8(text), utfCaption = WideToUtf8(caption);
    const uint32_t kind = flags & 0xF;
    SDL_MessageBoxButtonData yesNo[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, IDYES, "Yes"},
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDNO, "No"},
    };
    SDL_MessageBoxButtonData okCancel[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, IDOK, "OK"},
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDCANCEL, "Cancel"},
    };
    SDL_MessageBoxButtonData retryCancel[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, IDRETRY, "Retry"},
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDCANCEL, "Cancel"},
    };
    SDL_MessageBoxButtonData ok[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDOK, "OK"},
    };
    SDL_MessageBoxData data{};
    uint32_t icon = flags & 0xF0;
    data.flags = icon == MB_ICONERROR ? SDL_MESSAGEBOX_ERROR
                 : icon == MB_ICONWARNING ? SDL_MESSAGEBOX_WARNING
                                          : SDL_MESSAGEBOX_INFORMATION;
    data.title = utfCaption.c_str();
    data.message = utfText.c_str();
    if (kind == MB_YESNO) {
        data.buttons = yesNo;
        data.numbuttons = 2;
    } else if (kind == MB_OKCANCEL) {
        data.buttons = okCancel;
        data.numbuttons = 2;
    } else if (kind == MB_RETRYCANCEL) {
        data.buttons = retryCancel;
        data.numbuttons = 2;
    } else {
        data.buttons = ok;
        data.numbuttons = 1;
    }
    int answer = -1;
    auto show = [&] {
        if (SDL_ShowMessageBox(&data, &answer) != 0)
            answer = -1;
    };
    if (eventThread)
        mWindows->RunOnEventThread(show);
    else
        show();
    if (answer < 0) {
        // No desktop to show it on: say it on standard error and take the default.
        fprintf(stderr, "%s: %s\n", utfCaption.c_str(), utfText.c_str());
        answer = kind == MB_YESNO ? IDYES : IDOK;
    }
    return answer;
}

} // namespace plat

#include "game/flow/ScreenCalls.h"

#include "framework/widgets/WidgetManager.h"
#include "game/core/GameApp.h"
#include "game/core/LevelCalendar.h"
#include "game/flow/GlobalBackground.h"
#include "game/flow/OfficeScreen.h"
#include "game/ui/UiText.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

void AllowOfficeEscape(bool allowed)
{
    GameApp* app = GetGameApp();
    if (OfficeScreen* office = app ? app->GetOfficeScreen() : nullptr)
        office->SetEscapeAllowed(allowed);
}

void StartOfficeLevel(int level)
{
    GameApp* app = GetGameApp();
    if (!app)
        return;
    if (app->mGlobalBackground)
        app->mGlobalBackground->Hide();
    OfficeScreen* office = app->GetOfficeScreen();
    if (!office)
        return;
    office->SetVisible(false);
    app->mWidgetManager->AddWidget(office);
    office->LoadLevel(level);
    office->StartDay();
}

void LeaveOffice()
{
    GameApp* app = GetGameApp();
    if (!app)
        return;
    if (OfficeScreen* office = gOfficeScreen) {
        office->Hide();
        app->mWidgetManager->RemoveWidget(office);
    }
    if (app->mGlobalBackground)
        app->mGlobalBackground->Show();
}

int32_t CalendarCell(int32_t level)
{
    static constexpr int32_t kFirstWeekday[3] = {3, -1, 1};
    return LevelCalendarDay(level) + kFirstWeekday[LevelCalendarMonth(level) - 1];
}

void MoveToCalendarCell(UiElement* mark, const UiElement* page, int32_t cell, int cellWidth, int cellHeight,
                        int offsetX, int offsetY)
{
    if (!mark)
        return;
    const int x = page ? page->GetLayoutX() : 0;
    const int y = page ? page->GetLayoutY() : 0;
    mark->Move(x + cell % 7 * cellWidth + offsetX, y + cell / 7 * cellHeight + offsetY);
}

void RaiseOverBackdrop(UiElement* dialog, UiElement* backdrop)
{
    Zelk::WidgetContainer* parent = dialog->mParent;
    if (!parent)
        return;
    if (backdrop->mParent != parent) {
        RemoveBackdrop(backdrop);
        parent->AddWidget(backdrop);
    }
    parent->MoveToTop(backdrop);
    parent->MoveToTop(dialog);
}

void RemoveBackdrop(UiElement* backdrop)
{
    if (backdrop->mParent)
        backdrop->mParent->RemoveWidget(backdrop);
}

Zelk::Image* PictureForSkin(const std::string& skin, Zelk::Image* man, Zelk::Image* woman)
{
    if (skin == "man")
        return man;
    if (skin == "woman")
        return woman;
    return nullptr;
}

void SetSkinFrame(UiText* text, const std::string& skin, Zelk::Image* man, Zelk::Image* woman)
{
    if (skin == "man" || skin == "woman")
        SetWholeFrame(text, PictureForSkin(skin, man, woman));
}

void SetWholeFrame(UiText* text, Zelk::Image* image)
{
    if (text)
        text->SetFrame(0, image, Zelk::Rect(0, 0, text->mWidth, text->mHeight));
}

void ShowIfHidden(UiElement* element)
{
    if (element && !element->mVisible)
        element->Show();
}

void HideIfShown(UiElement* element)
{
    if (element && element->mVisible)
        element->Hide();
}

int NumberAfter(const std::string& name, const std::string& word)
{
    const size_t at = name.find(word);
    if (at == std::string::npos)
        return -1;
    // atoi's reading, saturated instead of overflowing.
    const long value = std::strtol(name.c_str() + at + word.size(), nullptr, 10);
    return int(std::max<long>(INT_MIN, std::min<long>(INT_MAX, value)));
}

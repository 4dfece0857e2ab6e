#pragma once
#include <cstdint>
#include <string>

namespace Zelk {
class Image;
}
class UiElement;
class UiText;

// Calls the game's screens share.

// The office screen's escape-allowed flag, when the application has an office
// screen.
void AllowOfficeEscape(bool allowed);

// The hand-over from a front-end screen to the office: the front end hides,
// the office screen is put hidden into the widget manager, loads the level
// and starts its day.
void StartOfficeLevel(int level);

// The way out of a level: the office screen hides and leaves the widget
// manager, then the front end shows again (music "main_menu", main menu).
void LeaveOffice();

// The cell of a career level's day on its month's calendar page (seven
// columns, row after row; the first day of the three months lies in the
// columns 4, 0 and 2); a level outside 1..60 counts as the nearest day.
int32_t CalendarCell(int32_t level);

// Moves the mark over a cell of a calendar page: the page's layout position
// plus the cell's column and row times the cell size, plus the offset.
void MoveToCalendarCell(UiElement* mark, const UiElement* page, int32_t cell, int cellWidth, int cellHeight,
                        int offsetX, int offsetY);

// A full-screen backdrop under a dialog: put into the dialog's parent (once;
// nothing without a parent) and raised, the dialog raised above it.
void RaiseOverBackdrop(UiElement* dialog, UiElement* backdrop);
// The backdrop taken out of the container holding it, when one does.
void RemoveBackdrop(UiElement* backdrop);

// The picture of a skin word: man for "man", woman for "woman", null for
// any other.
Zelk::Image* PictureForSkin(const std::string& skin, Zelk::Image* man, Zelk::Image* woman);

// Frame 0 of the picture widget becomes the picture of the skin word; any
// other word leaves the frame as it is.
void SetSkinFrame(UiText* text, const std::string& skin, Zelk::Image* man, Zelk::Image* woman);

// Whether a button id (a button's address) is that of the button.
inline bool IsButton(intptr_t id, const UiElement* button)
{
    return button && id == reinterpret_cast<intptr_t>(button);
}

// Frame 0 of a picture widget over its whole size (source 0, 0, width,
// height of the widget); nothing without a widget.
void SetWholeFrame(UiText* text, Zelk::Image* image);

// Shows or hides an element that exists, only when it is not already so.
void ShowIfHidden(UiElement* element);
void HideIfShown(UiElement* element);

// The number written after the first occurrence of word in name (atoi; 0
// when there is none); -1 when name does not hold word.
int NumberAfter(const std::string& name, const std::string& word);

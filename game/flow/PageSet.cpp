#include "game/flow/PageSet.h"

#include "game/flow/ScreenCalls.h"
#include "game/ui/UiButton.h"

void PageSet::Take(const std::string& name, UiElement* child)
{
    if (name == "prev_btn") {
        mPrevious = dynamic_cast<UiButton*>(child);
    } else if (name == "next_btn") {
        mNext = dynamic_cast<UiButton*>(child);
    } else if (name == "close") {
        mClose = dynamic_cast<UiButton*>(child);
    } else if (name.find(mPageWord) != std::string::npos) {
        mPages.push_back(child);
        child->SetVisible(false);
    }
}

UiElement* PageSet::GetPage(int n) const
{
    return n >= 0 && size_t(n) < mPages.size() ? mPages[size_t(n)] : nullptr;
}

void PageSet::SetPage(int n)
{
    if (UiElement* current = GetPage(mCurrent))
        current->Hide();
    mCurrent = n;
    UiElement* page = GetPage(n);
    if (page)
        page->Show();
    const int last = int(mPages.size()) - 1;
    if (mPrevious)
        mPrevious->SetDisabled(!page || n == 0);
    if (mNext)
        mNext->SetDisabled(!page || n == last);
}

bool PageSet::OnButton(intptr_t id, UiElement* owner)
{
    if (IsButton(id, mClose))
        owner->Hide();
    else if (IsButton(id, mPrevious))
        SetPage(mCurrent - 1);
    else if (IsButton(id, mNext))
        SetPage(mCurrent + 1);
    else
        return false;
    return true;
}

#pragma once
#include <cstdint>
#include <string>
#include <vector>

class UiButton;
class UiElement;

// The paging the help and the hiscores share: children whose names hold a
// word are the pages, in layout order; "prev_btn", "next_btn" and "close"
// page back, page on and close. One page is shown at a time; previous is
// disabled on the first, next on the last, both when none is current.
class PageSet {
public:
    explicit PageSet(const char* pageWord) : mPageWord(pageWord) {}

    // Remembers the buttons by name, and takes a child whose name holds the
    // page word as the next page (made invisible).
    void Take(const std::string& name, UiElement* child);
    // Hides the current page, shows page n (when it is one) and sets the
    // buttons.
    void SetPage(int n);
    // Close: the owner hides; previous and next page. False for other ids.
    bool OnButton(intptr_t id, UiElement* owner);

    int GetCurrent() const { return mCurrent; }
    const std::vector<UiElement*>& GetPages() const { return mPages; }
    UiElement* GetPage(int n) const;
    UiButton* GetPrevious() const { return mPrevious; }
    UiButton* GetNext() const { return mNext; }

private:
    const char* mPageWord;
    UiButton* mPrevious = nullptr;
    UiButton* mNext = nullptr;
    UiButton* mClose = nullptr;
    std::vector<UiElement*> mPages;
    int mCurrent = -1;
};

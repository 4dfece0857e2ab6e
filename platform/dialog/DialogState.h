#pragma once
#include "platform/dialog/ModalDialogHost.h"

#include <map>

namespace plat {

// The controls' contents of a running dialog, kept in memory: what a dialog
// host shows and what the procedure reads back.
class DialogState : public DialogWindow {
public:
    struct Entry {
        std::wstring text;
        intptr_t data = 0;
    };

    void AddListEntry(int control, const std::wstring& text, intptr_t data) override;
    int ListSelection(int control) override;
    intptr_t ListItemData(int control, int index) override;
    void SetText(int control, const std::string& text) override;
    std::string GetText(int control, size_t maxChars) override;
    void SelectAllText(int control) override;
    void End(int result) override;

    // What the user does.
    void Select(int control, int index) { mSelection[control] = index; }
    void Type(int control, const std::string& text) { mTexts[control] = text; }

    const std::vector<Entry>& Entries(int control) { return mEntries[control]; }
    bool TextSelected(int control) { return mAllSelected[control]; }
    bool Ended() const { return mEnded; }
    int Result() const { return mResult; }

private:
    std::map<int, std::vector<Entry>> mEntries;
    std::map<int, int> mSelection;
    std::map<int, std::string> mTexts;
    std::map<int, bool> mAllSelected;
    bool mEnded = false;
    int mResult = 0;
};

} // namespace plat

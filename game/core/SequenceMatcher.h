#pragma once
#include <string>

// Watches typed characters for one text (a cheat word): Feed is true at the
// moment the whole text has been typed in order; a wrong character starts
// again from nothing.
class SequenceMatcher {
public:
    explicit SequenceMatcher(const std::string& text) : mText(text) {}
    bool Feed(char c);
    void Reset() { mMatched = 0; }

private:
    std::string mText;
    int mMatched = 0;
};

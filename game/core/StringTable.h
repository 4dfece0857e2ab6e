#pragma once
#include <map>
#include <mutex>
#include <string>

// The texts that change while the game runs (money, profile name, play
// time), by name; the text widget fills its %name% placeholders from them.
// Variables are never removed. Any thread may set and read them.
class StringTable {
public:
    void SetText(const std::string& name, const std::wstring& value);
    // The decimal text of the number: "-" for negatives, no grouping.
    void SetNumber(const std::string& name, int value);
    // A copy of the value; an unknown name is created with the empty text.
    std::wstring Get(const std::string& name);

private:
    std::mutex mLock;
    std::map<std::string, std::wstring> mValues;
};

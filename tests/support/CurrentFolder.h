#pragma once
#include <string>

namespace testsupport {

// The current folder moved somewhere for a while: Enter remembers where it
// was (the first time) and goes; Restore, or the end of the object, goes back
// to where it was when first remembered.
// A failed change of folder is reported as a test failure.
class CurrentFolder {
public:
    CurrentFolder() = default;
    explicit CurrentFolder(const std::string& path) { Enter(path); }
    ~CurrentFolder() { Restore(); }
    CurrentFolder(const CurrentFolder&) = delete;
    CurrentFolder& operator=(const CurrentFolder&) = delete;

    // Remembers the current folder (once), for code under test that moves it.
    bool Remember();
    bool Enter(const std::string& path);
    void Restore();
    // Where the folder was before the first Enter ("" before it).
    const std::string& Before() const { return mBefore; }

private:
    std::string mBefore;
};

} // namespace testsupport

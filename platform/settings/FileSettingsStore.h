#pragma once
#include "platform/settings/SettingsStore.h"

namespace plat {

// The settings store kept in a human-readable file, rewritten atomically after
// every change (temporary file in the same folder, fsync, rename):
//
//   [SOFTWARE\Tarnwick Games\Quillmore]
//   "MusicVolume"=dword:00000055
//   "Name"="text, with \" and \\ escaped"
//   "Blob"=hex:01,02,ff
//
// The file may be edited by hand. Lines that cannot be understood are skipped;
// a file that cannot be read as text at all is kept aside as "<file>.bad" and
// the store starts empty. Loading first removes the temporary files that
// rewrites of processes no longer running left beside it.
class FileSettingsStore : public SettingsStore {
public:
    explicit FileSettingsStore(std::string path);
    const std::string& Path() const { return mPath; }
    // Number of lines skipped while loading (for tests and diagnostics).
    int SkippedLines() const { return mSkipped; }

    static std::string DefaultPath();

    // Adds the keys and values of settings text in the file's form (what
    // loading does with the file's bytes); lines it cannot use are skipped.
    void ReadText(const std::string& text);
    // The file's text for what the store holds now (what a change writes).
    std::string Text() const;

protected:
    bool Commit() override;

private:
    void Load();
    std::string mPath;
    int mSkipped = 0;
};

} // namespace plat

#pragma once
#include "game/core/HiscoreTables.h"
#include "game/core/PrefHeader.h"
#include "game/core/ProfileRecord.h"

#include <string>
#include <vector>

// pref.dat on disk, worked on the state the application keeps (header,
// current profile, profile-valid flag, hiscore tables). Every change reads
// the whole file, builds the new bytes in memory and replaces the file
// atomically; a damaged file is first kept aside as "pref.dat.bad". A read
// error writes nothing. Without a path (no folder for it) nothing is read
// or written and every operation reports false.
class PrefStore {
public:
    PrefStore(std::string path, PrefHeader& header, ProfileRecord& current, bool& profileValid,
              HiscoreTables& tables);

    // Header, hiscore entries and the header's profile from the file, defaults
    // for what it lacks (the "unknown" placeholder when no profile loads);
    // profile-valid tells whether one did. False when the file could not be
    // read (or there is no path). Temporary files that saves of processes no
    // longer running left beside it are removed first.
    bool Load();
    // Header, tables and the current profile (only while it is valid: at its
    // slot, appended when its index names none, which then takes the new slot's
    // index). The index changes only once the file is written.
    bool Save();
    // Slot n becomes the current profile and the header's index (in memory).
    bool SelectProfile(int slot);
    // The current profile at its slot, or appended after the last whole slot;
    // the header on disk is left as it is. Only while the profile is valid.
    bool WriteCurrentProfile();
    // Appends every whole slot of the file, in slot order.
    void ListProfiles(std::vector<ProfileRecord>& profiles);
    // Removes slot n; later slots move down and the index follows when it was
    // above n. Refused for the current profile's slot, a slot that does not
    // exist and a file without a valid header or shorter than its tables.
    bool DeleteProfile(int slot);

    const std::string& Path() const { return mPath; }

private:
    // The file's bytes; existed is false for a missing file. False on a read
    // error or without a path.
    bool ReadFile(std::string& bytes, bool& existed) const;
    // Replaces the file with newBytes, keeping the old bytes aside first when
    // they are damaged.
    bool Replace(const std::string& oldBytes, bool keepAside, const std::string& newBytes) const;

    std::string mPath;
    PrefHeader& mHeader;
    ProfileRecord& mCurrent;
    bool& mProfileValid;
    HiscoreTables& mTables;
};

// The path of pref.dat: "<documents>/Tarnwick Games/Quillmore/pref.dat",
// making the folders that are missing. False when the documents folder is
// unknown or a folder cannot be made.
bool GetPrefsPath(std::string& path);

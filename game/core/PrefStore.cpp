#include "game/core/PrefStore.h"

#include "game/core/PrefFile.h"
#include "platform/Platform.h"
#include "platform/files/AtomicFile.h"
#include "platform/files/WholeFile.h"
#include "platform/folders/Folders.h"

#include <cstring>
#include <utility>

PrefStore::PrefStore(std::string path, PrefHeader& header, ProfileRecord& current, bool& profileValid,
                     HiscoreTables& tables)
    : mPath(std::move(path)), mHeader(header), mCurrent(current), mProfileValid(profileValid), mTables(tables)
{
}

bool PrefStore::ReadFile(std::string& bytes, bool& existed) const
{
    existed = false;
    bytes.clear();
    if (mPath.empty())
        return false;
    switch (plat::ReadWholeFile(mPath, bytes)) {
    case plat::WholeFileRead::Ok:
        existed = true;
        return true;
    case plat::WholeFileRead::Missing:
        return true;
    case plat::WholeFileRead::Failed:
        break;
    }
    return false;
}

bool PrefStore::Replace(const std::string& oldBytes, bool keepAside, const std::string& newBytes) const
{
    if (keepAside && plat::KeepFileAside(mPath, oldBytes.data(), oldBytes.size()).empty())
        return false;
    return plat::WriteFileAtomically(mPath, newBytes.data(), newBytes.size());
}

bool PrefStore::Load()
{
    // The first read of a run: saves that a killed process left half way go.
    if (!mPath.empty())
        plat::RemoveLeftoverTemporaries(mPath);
    mHeader.SetDefaults();
    mProfileValid = false;
    std::string bytes;
    bool existed = false;
    const bool read = ReadFile(bytes, existed);
    if (read && existed) {
        PrefFile::Contents contents = PrefFile::Read(bytes, &mTables);
        if (contents.headerValid) {
            mHeader = contents.header;
            const int32_t index = mHeader.mCurrentIndex;
            if (index >= 0 && size_t(index) < contents.slots.size()) {
                mCurrent = contents.slots[size_t(index)];
                mProfileValid = true;
            }
        }
    }
    if (!mProfileValid)
        mCurrent.Init(L"unknown", "woman");
    return read;
}

bool PrefStore::Save()
{
    std::string bytes;
    bool existed = false;
    if (!ReadFile(bytes, existed))
        return false;
    PrefFile::Contents contents = PrefFile::Read(bytes, nullptr);
    std::vector<ProfileRecord>& slots = contents.slots;
    int32_t index = mHeader.mCurrentIndex;
    if (mProfileValid) {
        if (index >= 0 && size_t(index) < slots.size()) {
            slots[size_t(index)] = mCurrent;
        } else {
            index = int32_t(slots.size());
            slots.push_back(mCurrent);
        }
    }
    PrefHeader header = mHeader;
    header.mCurrentIndex = index;
    if (!Replace(bytes, existed && contents.damaged, PrefFile::Write(header, mTables, slots)))
        return false;
    mHeader.mCurrentIndex = index;
    return true;
}

bool PrefStore::SelectProfile(int slot)
{
    std::string bytes;
    bool existed = false;
    if (slot < 0 || !ReadFile(bytes, existed))
        return false;
    PrefFile::Contents contents = PrefFile::Read(bytes, nullptr);
    if (size_t(slot) >= contents.slots.size())
        return false;
    mCurrent = contents.slots[size_t(slot)];
    mHeader.mCurrentIndex = slot;
    return true;
}

bool PrefStore::WriteCurrentProfile()
{
    std::string bytes;
    bool existed = false;
    if (!mProfileValid || !ReadFile(bytes, existed))
        return false;
    PrefFile::Contents contents = PrefFile::Read(bytes, nullptr);
    if (!contents.headerValid || bytes.size() < PrefFile::kSlotsOffset)
        return false;
    const size_t count = contents.slots.size();
    size_t slot = mHeader.mCurrentIndex >= 0 && size_t(mHeader.mCurrentIndex) < count ? size_t(mHeader.mCurrentIndex) : count;
    std::string out = bytes.substr(0, PrefFile::SlotOffset(std::max(count, slot + 1)));
    out.resize(PrefFile::SlotOffset(std::max(count, slot + 1)), '\0');
    PrefFile::WriteRecord(mCurrent, reinterpret_cast<uint8_t*>(out.data()) + PrefFile::SlotOffset(slot));
    if (!Replace(bytes, contents.damaged, out))
        return false;
    mHeader.mCurrentIndex = int32_t(slot);
    return true;
}

void PrefStore::ListProfiles(std::vector<ProfileRecord>& profiles)
{
    std::string bytes;
    bool existed = false;
    if (!ReadFile(bytes, existed) || !existed)
        return;
    PrefFile::Contents contents = PrefFile::Read(bytes, nullptr);
    profiles.insert(profiles.end(), contents.slots.begin(), contents.slots.end());
}

bool PrefStore::DeleteProfile(int slot)
{
    std::string bytes;
    bool existed = false;
    if (slot < 0 || slot == mHeader.mCurrentIndex || !ReadFile(bytes, existed) || !existed)
        return false;
    PrefFile::Contents contents = PrefFile::Read(bytes, nullptr);
    const size_t count = contents.slots.size();
    if (!contents.headerValid || bytes.size() < PrefFile::kSlotsOffset || size_t(slot) >= count)
        return false;
    const size_t at = PrefFile::SlotOffset(size_t(slot));
    std::string out = bytes.substr(0, at) + bytes.substr(at + PrefFile::kSlotSize, PrefFile::SlotOffset(count) - at - PrefFile::kSlotSize);
    int32_t index = mHeader.mCurrentIndex;
    // The file's own index may differ from the current profile's (a choice
    // not saved yet); when it named the slot that goes, or one past the new
    // end, the file would name the wrong profile or none (damage at the next
    // start), so the header is written then too.
    const int32_t onDisk = contents.header.mCurrentIndex;
    const bool diskIndexGone = onDisk == slot || onDisk >= int32_t(count) - 1;
    if (slot < index || diskIndexGone) {
        PrefHeader header = mHeader;
        if (slot < index)
            --index;
        header.mCurrentIndex = index;
        PrefFile::WriteHeader(header, reinterpret_cast<uint8_t*>(out.data()));
    }
    if (!Replace(bytes, contents.damaged, out))
        return false;
    mHeader.mCurrentIndex = index;
    return true;
}

bool GetPrefsPath(std::string& path)
{
    path.clear();
    plat::Folders* folders = plat::Get().folders;
    if (!folders)
        return false;
    std::string folder = folders->DocumentsFolder();
    if (folder.empty())
        return false;
    for (const char* sub : {"/Tarnwick Games", "/Quillmore"}) {
        folder += sub;
        if (!plat::MakeFolder(folder))
            return false;
    }
    path = folder + "/pref.dat";
    return true;
}

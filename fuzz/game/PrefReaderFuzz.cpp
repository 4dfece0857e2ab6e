// Any bytes as pref.dat: loaded (header, tables, the header's profile), the
// profiles listed, the texts published, saved, a slot chosen by the input
// deleted. What was read, written and read back gives the same values, and a
// second write the same bytes.
#include "fuzz/FuzzTempFolder.h"
#include "game/core/PrefFile.h"
#include "game/core/PrefStore.h"
#include "game/core/ProfileTexts.h"
#include "game/core/StringTable.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A broken promise ends the run where the fuzzer sees it.
#define Check(condition)                                                                                              \
    do {                                                                                                              \
        if (!(condition)) {                                                                                           \
            fprintf(stderr, "pref_reader: %s fails (line %d)\n", #condition, __LINE__);                               \
            abort();                                                                                                  \
        }                                                                                                             \
    } while (0)

bool SameRecord(const ProfileRecord& a, const ProfileRecord& b)
{
    bool same = a.mFigure == b.mFigure && a.mName == b.mName && a.mLevel == b.mLevel;
    for (int i = 0; i < ProfileRecord::kLevelCount; ++i)
        same = same && a.mBestMoney[i] == b.mBestMoney[i];
    return same && memcmp(&a.mPlayTime, &b.mPlayTime, sizeof a.mPlayTime) == 0;
}

// Written and read back: the same values, and the same bytes when written again.
void CheckRoundTrip(const PrefHeader& header, const HiscoreTables& tables, const std::vector<ProfileRecord>& slots)
{
    const std::string first = PrefFile::Write(header, tables, slots);
    HiscoreTables back;
    const PrefFile::Contents c = PrefFile::Read(first, &back);
    Check(c.headerValid && !c.damaged);
    Check(c.header.mMusicVolume == header.mMusicVolume && c.header.mSfxVolume == header.mSfxVolume);
    Check(c.header.mWindowed == header.mWindowed && c.header.mMuted == header.mMuted);
    Check(c.header.mCurrentIndex == header.mCurrentIndex && c.header.mReserved == header.mReserved);
    Check(c.slots.size() == slots.size());
    for (size_t i = 0; i < slots.size(); ++i)
        Check(SameRecord(c.slots[i], slots[i]));
    for (bool survival : {true, false}) {
        for (int place = 0; place < HiscoreTables::kPlaces; ++place) {
            Check(back.GetTable(survival)[place].mName == tables.GetTable(survival)[place].mName);
            Check(back.GetTable(survival)[place].mScore == tables.GetTable(survival)[place].mScore);
        }
    }
    Check(PrefFile::Write(c.header, back, c.slots) == first);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string folder = fuzzsupport::TempFolder("pref-reader");
    static const std::string path = folder + "/pref.dat";
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
    }
    const std::string input(reinterpret_cast<const char*>(data), size);

    PrefHeader header;
    ProfileRecord current;
    bool valid = false;
    HiscoreTables tables;
    tables.Insert(true, L"default", 5);
    PrefStore store(path, header, current, valid, tables);
    Check(store.Load());
    std::vector<ProfileRecord> listed;
    store.ListProfiles(listed);
    Check(listed.size() == PrefFile::Read(input, nullptr).slots.size());
    StringTable texts;
    if (valid)
        PublishProfileTexts(current, texts);
    CheckRoundTrip(header, tables, listed);

    Check(store.Save());
    const std::string saved = ReadAll(path);
    const PrefFile::Contents c = PrefFile::Read(saved, nullptr);
    Check(c.headerValid && !c.damaged);
    Check(PrefFile::Read(input, nullptr).damaged == (access((path + ".bad").c_str(), F_OK) == 0));
    if (!c.slots.empty()) {
        const int slot = size > 0 ? int(data[size - 1] % c.slots.size()) : 0;
        const int32_t index = header.mCurrentIndex;
        const bool deleted = store.DeleteProfile(slot);
        Check(deleted == (slot != index));
        Check(header.mCurrentIndex == (deleted && slot < index ? index - 1 : index));
        const PrefFile::Contents after = PrefFile::Read(ReadAll(path), nullptr);
        Check(after.slots.size() == c.slots.size() - (deleted ? 1 : 0) && !after.damaged);
        if (store.SelectProfile(int(after.slots.size()) - 1) && valid)
            PublishProfileTexts(current, texts);
    }
    unlink((path + ".bad").c_str());
    return 0;
}

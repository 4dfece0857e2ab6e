#include "PrefFixture.h"

#include "game/core/PrefFile.h"

#include <cstring>
#include <gtest/gtest.h>

namespace {

uint32_t U32At(const std::string& b, size_t at)
{
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = v << 8 | uint8_t(b[at + size_t(i)]);
    return v;
}

} // namespace

TEST(PrefFile, ThreeProfileFixtureReadsFieldByFieldAtItsOffsets)
{
    const std::string bytes = Fixture("pref3.dat");
    ASSERT_EQ(bytes.size(), 10520u + 3 * 1028);
    HiscoreTables tables;
    PrefFile::Contents c = PrefFile::Read(bytes, &tables);
    EXPECT_TRUE(c.headerValid);
    EXPECT_FALSE(c.damaged);
    EXPECT_EQ(0, memcmp(c.header.mMagic, "\x78\xd8\x64\xfa\xd2\xca\x9e\x43\xab\xf6\x64\x46\xd2\xfe\x9b\xd7", 16));
    EXPECT_EQ(c.header.mVersion, 11u);
    EXPECT_EQ(c.header.mMusicVolume, 60u);
    EXPECT_EQ(c.header.mSfxVolume, 70u);
    EXPECT_EQ(c.header.mWindowed, 0);
    EXPECT_EQ(c.header.mMuted, 0);
    EXPECT_EQ(c.header.mCurrentIndex, 2);
    EXPECT_EQ(c.header.mReserved, 0u);

    EXPECT_EQ(tables.GetTable(true)[0].mName, L"Survivor 1");
    EXPECT_EQ(tables.GetTable(true)[0].mScore, 10000);
    EXPECT_EQ(tables.GetTable(true)[9].mName, L"Survivor 10");
    EXPECT_EQ(tables.GetTable(false)[0].mScore, 50000);
    EXPECT_EQ(tables.GetTable(false)[9].mName, L"Careerist 10");
    EXPECT_EQ(tables.GetTable(false)[9].mScore, 5000);

    ASSERT_EQ(c.slots.size(), 3u);
    const ProfileRecord& zoe = c.slots[0];
    EXPECT_EQ(zoe.mFigure, "man");
    EXPECT_EQ(zoe.mName, L"Zo\u00eb Marsh");
    EXPECT_EQ(zoe.mLevel, 25);
    EXPECT_EQ(zoe.mBestMoney[0], 1000);
    EXPECT_EQ(zoe.mBestMoney[23], 24000);
    EXPECT_EQ(zoe.mBestMoney[24], 0);
    EXPECT_EQ(zoe.mPlayTime, 3725.9f);
    EXPECT_EQ(c.slots[1].mFigure, "woman");
    EXPECT_EQ(c.slots[1].mName, L"Ada \U0001D11E Crane");
    EXPECT_EQ(c.slots[1].mLevel, 1);
    EXPECT_EQ(c.slots[2].mName, L"Bo");
    EXPECT_EQ(c.slots[2].mLevel, 61);
    EXPECT_EQ(c.slots[2].mBestMoney[59], 30000);
    EXPECT_EQ(c.slots[2].mPlayTime, 123456.5f);
}

TEST(PrefFile, WellFormedFilesAreWrittenBackByteForByte)
{
    for (const char* name : {"pref0.dat", "pref1.dat", "pref3.dat", "career3.dat"}) {
        const std::string bytes = Fixture(name);
        HiscoreTables tables;
        PrefFile::Contents c = PrefFile::Read(bytes, &tables);
        EXPECT_FALSE(c.damaged) << name;
        EXPECT_EQ(PrefFile::Write(c.header, tables, c.slots), bytes) << name;
    }
}

TEST(PrefFile, WriterPutsEveryFieldAtItsOffsetWithZerosAfterTexts)
{
    PrefHeader header;
    header.SetDefaults();
    header.mMusicVolume = 33;
    header.mSfxVolume = 44;
    header.mWindowed = 1;
    header.mCurrentIndex = 0;
    header.mReserved = 0xA5A5A5A5;
    HiscoreTables tables;
    tables.Insert(true, L"S", 7);
    tables.Insert(false, L"C", 9);
    ProfileRecord p;
    p.Init(L"\U0001F600x", "woman");
    p.mLevel = 40;
    p.mBestMoney[59] = -3;
    p.mPlayTime = 2.5f;
    const std::string b = PrefFile::Write(header, tables, {p});
    ASSERT_EQ(b.size(), 11548u);
    EXPECT_EQ(U32At(b, 16), 11u);
    EXPECT_EQ(U32At(b, 20), 33u);
    EXPECT_EQ(U32At(b, 24), 44u);
    EXPECT_EQ(b.substr(28, 4), std::string("\x01\x00\x00\x00", 4)); // windowed, muted, padding
    EXPECT_EQ(U32At(b, 32), 0u);
    EXPECT_EQ(U32At(b, 36), 0xA5A5A5A5u);
    EXPECT_EQ(b.substr(40, 4), std::string("S\0\0\0", 4));
    EXPECT_EQ(U32At(b, 40 + 520), 7u);
    EXPECT_EQ(b.substr(5280, 4), std::string("C\0\0\0", 4));
    EXPECT_EQ(U32At(b, 5280 + 520), 9u);
    const size_t s = 10520;
    EXPECT_EQ(b.substr(s, 6), std::string("woman\0", 6));
    EXPECT_EQ(b.substr(s + 5, 255), std::string(255, '\0'));
    EXPECT_EQ(b.substr(s + 260, 8), std::string("\x3d\xd8\x00\xde" "x\0\0\0", 8));
    EXPECT_EQ(b.substr(s + 266, 514), std::string(514, '\0'));
    EXPECT_EQ(U32At(b, s + 780), 40u);
    EXPECT_EQ(U32At(b, s + 784 + 4 * 59), uint32_t(-3));
    EXPECT_EQ(U32At(b, s + 1024), 0x40200000u); // 2.5f
}

TEST(PrefFile, NamesAreCutTo259UnitsWithoutSplittingAPair)
{
    struct {
        std::wstring name;
        std::wstring kept;
    } cases[] = {
        {std::wstring(300, L'a'), std::wstring(259, L'a')},
        {std::wstring(258, L'a') + L"\U0001F600", std::wstring(258, L'a')},
        {std::wstring(257, L'a') + L"\U0001F600", std::wstring(257, L'a') + L"\U0001F600"},
        {L"ab" + std::wstring(1, L'\0') + L"cd", L"ab"},
        {L"", L""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PrefFile::CutName(c.name), c.kept) << c.name.size();
        HiscoreEntry entry{c.name, 5};
        uint8_t field[524];
        PrefFile::WriteEntry(entry, field);
        HiscoreEntry back;
        EXPECT_FALSE(PrefFile::ReadEntry(field, back));
        EXPECT_EQ(back.mName, c.kept);
        EXPECT_EQ(back.mScore, 5);
    }
}

TEST(PrefFile, LoneSurrogatesInANameSurviveReadAndWrite)
{
    std::string bytes = Fixture("pref1.dat");
    // "A", a lone high surrogate, "B", a lone low surrogate: then the terminator.
    std::string units("A\0\x00\xd8" "B\0\x00\xdc", 8);
    units.resize(520, '\0');
    bytes.replace(10520 + 260, units.size(), units);
    HiscoreTables tables;
    PrefFile::Contents c = PrefFile::Read(bytes, &tables);
    ASSERT_EQ(c.slots.size(), 1u);
    EXPECT_EQ(c.slots[0].mName.size(), 4u);
    EXPECT_FALSE(c.damaged);
    EXPECT_EQ(PrefFile::Write(c.header, tables, c.slots), bytes);
}

TEST(PrefFile, SlotCountCountsWholeSlotsOnly)
{
    struct {
        size_t size;
        size_t slots;
    } cases[] = {{0, 0}, {40, 0}, {10519, 0}, {10520, 0}, {11547, 0}, {11548, 1}, {12575, 1}, {12576, 2}};
    for (const auto& c : cases)
        EXPECT_EQ(PrefFile::SlotCount(c.size), c.slots) << c.size;
}

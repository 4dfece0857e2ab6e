#include "game/core/HiscoreTables.h"
#include "game/core/LocTable.h"
#include "game/core/PrefFile.h"

#include "tests/game/core/Utf16File.h"
#include "tests/support/TempDir.h"

#include <climits>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// Scores 100, 90, ..., 10 in both tables, named after their score.
HiscoreTables Tens()
{
    HiscoreTables t;
    for (bool survival : {true, false}) {
        for (int place = 0; place < 10; ++place) {
            t.GetTable(survival)[place].mName = L"p" + std::to_wstring(100 - 10 * place);
            t.GetTable(survival)[place].mScore = 100 - 10 * place;
        }
    }
    return t;
}

std::vector<std::wstring> Names(const HiscoreTables& t, bool survival)
{
    std::vector<std::wstring> names;
    for (int place = 0; place < 10; ++place)
        names.push_back(t.GetTable(survival)[place].mName);
    return names;
}

} // namespace

TEST(HiscoreTables, InsertFindsThePlaceAndShiftsTheRest)
{
    const std::vector<std::wstring> before = Names(Tens(), true);
    struct {
        int32_t score;
        int place;
        std::vector<std::wstring> after;
    } cases[] = {
        {0, 10, before},
        {-5, 10, before},
        {5, 10, before},
        // Equal to the tenth: enters at 9 and pushes the old tenth out.
        {10, 9, {L"p100", L"p90", L"p80", L"p70", L"p60", L"p50", L"p40", L"p30", L"p20", L"new"}},
        // Equal to an existing score: goes above it.
        {50, 5, {L"p100", L"p90", L"p80", L"p70", L"p60", L"new", L"p50", L"p40", L"p30", L"p20"}},
        {1000, 0, {L"new", L"p100", L"p90", L"p80", L"p70", L"p60", L"p50", L"p40", L"p30", L"p20"}},
    };
    for (const auto& c : cases) {
        for (bool survival : {true, false}) {
            HiscoreTables t = Tens();
            EXPECT_EQ(t.Insert(survival, L"new", c.score), c.place) << c.score;
            EXPECT_EQ(Names(t, survival), c.after) << c.score;
            EXPECT_EQ(Names(t, !survival), before) << "the other table is untouched";
            if (c.place < 10) {
                EXPECT_EQ(t.GetTable(survival)[c.place].mScore, c.score);
            }
        }
    }
}

TEST(HiscoreTables, InsertCutsALongNameTo259Units)
{
    HiscoreTables t;
    EXPECT_EQ(t.Insert(true, std::wstring(400, L'x'), 5), 0);
    EXPECT_EQ(t.GetTable(true)[0].mName, std::wstring(259, L'x'));
}

TEST(HiscoreTables, DefaultsComeFromTheLocalisedTexts)
{
    testsupport::TempDir dir;
    dir.Write("loc.xml", Utf16File(L"<root>"
                                   L"<loc id='record_survival_name_01' text='Hedda'/>"
                                   L"<loc id='record_survival_value_01' text=' 42abc'/>"
                                   L"<loc id='record_survival_name_02' text='Ivo'/>"
                                   L"<loc id='record_survival_value_02' text='x'/>"
                                   L"<loc id='record_survival_value_03' text='-7'/>"
                                   L"<loc id='record_survival_value_10' text='99999999999'/>"
                                   L"<loc id='record_career_name_10' text='Last'/>"
                                   L"<loc id='record_career_value_10' text='-99999999999'/>"
                                   L"</root>"));
    LocTable texts;
    ASSERT_TRUE(texts.Load(dir / "loc.xml"));
    HiscoreTables t = Tens();
    t.LoadDefaults(texts);
    const HiscoreEntry* s = t.GetTable(true);
    EXPECT_EQ(s[0].mName, L"Hedda");
    EXPECT_EQ(s[0].mScore, 42);
    EXPECT_EQ(s[1].mName, L"Ivo");
    EXPECT_EQ(s[1].mScore, 0);
    EXPECT_EQ(s[2].mName, L""); // a missing id: empty name
    EXPECT_EQ(s[2].mScore, -7);
    EXPECT_EQ(s[4].mName, L"");
    EXPECT_EQ(s[4].mScore, 0);
    EXPECT_EQ(s[9].mScore, INT_MAX);
    EXPECT_EQ(t.GetTable(false)[0].mScore, 0);
    EXPECT_EQ(t.GetTable(false)[9].mName, L"Last");
    EXPECT_EQ(t.GetTable(false)[9].mScore, INT_MIN);
}

TEST(HiscoreTables, ValuesAreReadAsTheWideToIntConversionDid)
{
    struct {
        const wchar_t* text;
        int32_t value;
    } cases[] = {{L" 42abc", 42}, {L"x", 0},           {L"-7", -7},           {L"99999999999", INT_MAX},
                 {L"", 0},        {L"\t\n +15", 15},   {L"- 3", 0},           {L"-2147483648", INT_MIN},
                 {L"2147483647", INT_MAX}, {L"-99999999999", INT_MIN}, {L"007x9", 7}, {L"+-1", 0}};
    for (const auto& c : cases)
        EXPECT_EQ(ParseLeadingInt(c.text), c.value) << c.text;
}

TEST(HiscoreTables, WriteThenReadRoundTripsAtTheirOffsets)
{
    HiscoreTables t = Tens();
    t.GetTable(false)[3].mName = L"\U0001F600 \u00e9";
    t.GetTable(false)[3].mScore = -1;
    std::string bytes(10520, '\x55');
    t.Write(reinterpret_cast<uint8_t*>(bytes.data()));
    EXPECT_EQ(bytes.substr(0, 40), std::string(40, '\x55')) << "the header is not touched";
    EXPECT_EQ(bytes.substr(40, 10), std::string("p\0" "1\0" "0\0" "0\0\0\0", 10));
    EXPECT_EQ(bytes.substr(5280, 10), std::string("p\0" "1\0" "0\0" "0\0\0\0", 10));
    HiscoreTables back;
    EXPECT_FALSE(back.Read(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
    for (bool survival : {true, false}) {
        for (int place = 0; place < 10; ++place) {
            EXPECT_EQ(back.GetTable(survival)[place].mName, t.GetTable(survival)[place].mName);
            EXPECT_EQ(back.GetTable(survival)[place].mScore, t.GetTable(survival)[place].mScore);
        }
    }
    std::string again(10520, '\x55');
    back.Write(reinterpret_cast<uint8_t*>(again.data()));
    EXPECT_EQ(again, bytes);
}

TEST(HiscoreTables, AShortReadKeepsTheRestAndANameWithoutTerminatorIsCut)
{
    HiscoreTables source;
    source.Insert(true, L"from file", 77);
    std::string bytes(10520, '\0');
    source.Write(reinterpret_cast<uint8_t*>(bytes.data()));
    // The second place's name fills its whole field.
    for (size_t i = 0; i < 260; ++i)
        bytes[40 + 524 + 2 * i] = 'Z';
    HiscoreTables t = Tens();
    // Ends inside the third survival place.
    EXPECT_TRUE(t.Read(reinterpret_cast<const uint8_t*>(bytes.data()), 40 + 2 * 524 + 100));
    EXPECT_EQ(t.GetTable(true)[0].mName, L"from file");
    EXPECT_EQ(t.GetTable(true)[1].mName, std::wstring(259, L'Z'));
    EXPECT_EQ(t.GetTable(true)[2].mName, L"p80");
    EXPECT_EQ(t.GetTable(true)[2].mScore, 80);
    EXPECT_EQ(Names(t, false), Names(Tens(), false));
}

#include "game/core/LocTable.h"
#include "game/core/StringTable.h"

#include "tests/game/core/Utf16File.h"
#include "tests/support/TempDir.h"

#include <climits>
#include <gtest/gtest.h>
#include <thread>

TEST(LocTable, FirstTextOfAnIdWinsAndEmptyTextsDefineNothing)
{
    testsupport::TempDir dir;
    std::wstring longText(3000, L'\u00e9');
    std::string longId(300, 'k');
    dir.Write("cfg/loc.xml",
              Utf16File(L"<root>"
                        L"<loc id='app_title' text='Quillmore'/>"
                        L"<loc id='app_title' text='Second'/>"
                        L"<loc id='later' text=''/>"
                        L"<loc id='later' text='Defined \U0001F600'/>"
                        L"<loc id='no_text'/>"
                        L"<loc text='no id'/>"
                        L"<loc id='long' text='" + longText + L"'/>"
                        L"<loc id='" + std::wstring(longId.begin(), longId.end()) + L"' text='long id'/>"
                        L"<other id='other' text='not a loc'/>"
                        L"<loc id='Case' text='upper'/>"
                        L"</root>"));
    LocTable table;
    ASSERT_TRUE(table.Load(dir / "cfg/loc.xml"));
    struct {
        std::string id;
        std::wstring text;
    } cases[] = {{"app_title", L"Quillmore"}, {"later", L"Defined \U0001F600"}, {"no_text", L""},
                 {"long", longText},          {longId, L"long id"},             {"other", L""},
                 {"Case", L"upper"},          {"case", L""}};
    for (auto& c : cases)
        EXPECT_EQ(table.Get(c.id), c.text) << c.id;
    // Unknown ids share one empty text.
    EXPECT_EQ(&table.Get("unknown"), &table.Get("never"));
    EXPECT_EQ(&table.Get("unknown"), &LocTable().Get("x"));
}

TEST(LocTable, AMissingFileOrRootLoadsNothing)
{
    testsupport::TempDir dir;
    dir.Write("noroot.xml", Utf16File(L"<top><loc id='a' text='b'/></top>"));
    for (const char* name : {"missing.xml", "noroot.xml"}) {
        LocTable table;
        EXPECT_TRUE(table.Load(dir / name));
        EXPECT_EQ(table.Get("a"), L"") << name;
    }
}

TEST(StringTable, NumbersAndTexts)
{
    StringTable table;
    struct {
        int value;
        const wchar_t* text;
    } cases[] = {{-25, L"-25"}, {0, L"0"}, {1234567, L"1234567"}, {INT_MIN, L"-2147483648"}, {INT_MAX, L"2147483647"}};
    for (auto& c : cases) {
        table.SetNumber("money", c.value);
        EXPECT_EQ(table.Get("money"), c.text);
    }
    table.SetText("profilename", L"Ann \u00e9");
    EXPECT_EQ(table.Get("profilename"), L"Ann \u00e9");
    EXPECT_EQ(table.Get("never"), L""); // created empty
    table.SetText("never", L"now");
    EXPECT_EQ(table.Get("never"), L"now");
}

TEST(StringTable, TwoThreadsSetAndRead)
{
    // One thread publishes while another reads new and old names (which
    // inserts); with the table's lock neither sees a torn value.
    StringTable table;
    std::thread writer([&] {
        for (int i = 0; i < 2000; ++i) {
            table.SetNumber("money", i % 2 ? 1111 : 2222);
            table.SetText("name" + std::to_string(i % 50), L"x");
        }
    });
    for (int i = 0; i < 2000; ++i) {
        std::wstring money = table.Get("money");
        EXPECT_TRUE(money.empty() || money == L"1111" || money == L"2222");
        table.Get("read" + std::to_string(i % 50));
    }
    writer.join();
    EXPECT_EQ(table.Get("money"), L"1111");
}

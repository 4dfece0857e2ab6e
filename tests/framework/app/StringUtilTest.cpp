#include "framework/app/StringUtil.h"
#include "framework/app/Utf16.h"

#include <gtest/gtest.h>

using namespace Zelk;

TEST(StrFormat, ReturnsWholeTextAtEveryLength)
{
    for (size_t len : {0u, 1u, 159u, 160u, 161u, 320u, 5000u, 2000000u}) {
        std::string body(len, 'x');
        if (len)
            body[len - 1] = 'y';
        EXPECT_EQ(StrFormat("%s", body.c_str()), body) << len;
        std::wstring wbody(len, L'x');
        if (len)
            wbody[len - 1] = L'y';
        EXPECT_EQ(WStrFormat(L"%s", wbody.c_str()), wbody) << len;
    }
}

TEST(WStrFormat, KeepsTheSystemsStringConversions)
{
    struct Case {
        std::wstring got, want;
    } cases[] = {
        {WStrFormat(L"[%s]", L"wide"), L"[wide]"},
        {WStrFormat(L"[%S]", "narrow\xE9"), L"[narrow\u00E9]"},
        {WStrFormat(L"[%ls|%hs]", L"a", "b"), L"[a|b]"},
        {WStrFormat(L"%5s|%-4s|%.2s", L"ab", L"c", L"xyz"), L"   ab|c   |xy"},
        {WStrFormat(L"%d %05.1f %x %c %%", -42, 3.14159, 255u, L'\u4E2D'), L"-42 003.1 ff \u4E2D %"},
        {WStrFormat(L"%lld %u %I64d", 1LL << 40, 4000000000u, 7LL), L"1099511627776 4000000000 7"},
        {WStrFormat(L"%*d|%-*d|", 4, 7, 3, 1), L"   7|1  |"},
    };
    for (auto& c : cases)
        EXPECT_EQ(c.got, c.want);
}

TEST(Conversions, MapBytesToCodePointsOfTheSameValue)
{
    EXPECT_EQ(StringToWString("\xE9"), std::wstring(1, wchar_t(0xE9)));
    EXPECT_EQ(WStringToString(std::wstring(1, wchar_t(0xE9))), "\xE9");
    EXPECT_EQ(WStringToString(L"ab\u4E2Dc"), "");
    std::string all;
    for (int i = 1; i < 256; ++i)
        all += char(i);
    EXPECT_EQ(WStringToString(StringToWString(all)), all);
}

TEST(CaseAndSpace, AreSafeForEveryByte)
{
    std::string all;
    for (int i = 0; i < 256; ++i)
        all += char(i);
    std::string up = StringToUpper(all);
    EXPECT_EQ(up.size(), 256u);
    EXPECT_EQ(up.substr('a', 26), "ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    EXPECT_EQ(StringToUpper("\xE9t\xE9"), "\xC9T\xC9");
    EXPECT_EQ(StringToUpper("\xDF\xFF\xF7"), "\xDF\xFF\xF7");
    EXPECT_EQ(WStringToUpper(L"abc\u00E9\u4E2D"), L"ABC\u00C9\u4E2D");
    EXPECT_EQ(StringTrim(" \t\xA0x y\r\n"), "\xA0x y");
    EXPECT_EQ(StringTrim(" \t \n"), "");
}

TEST(StrFindNoCase, Table)
{
    struct {
        const char* text;
        const char* pattern;
        int want;
    } cases[] = {
        {"Hello", "LL", 2}, {"", "", -1}, {"abc", "", 0}, {"", "a", -1},
        {"abc", "abcd", -1}, {"aXbXc", "xC", 3}, {"\xC9t\xE9", "\xE9T", 0},
    };
    for (auto& c : cases)
        EXPECT_EQ(StrFindNoCase(c.text, c.pattern), c.want) << c.text << " / " << c.pattern;
}

TEST(WStringUnquote, Table)
{
    struct {
        std::wstring in, want;
    } cases[] = {
        {L"plain", L"plain"},     {L"\"ab\"", L"ab"},     {L"\"a\"\"b\"", L"a\"b"},
        {L"\"\"", L"\""},         {L"'ab'", L"ab"},       {L"'it''s'", L"it's"},
        {L"\"a'b\"", L"a'b"},     {L"", L""},             {L"x\"y\"", L"x\"y\""},
    };
    for (auto& c : cases)
        EXPECT_EQ(WStringUnquote(c.in), c.want);
}

TEST(CommaSeparate, Table)
{
    struct {
        int32_t in;
        const wchar_t* want;
    } cases[] = {
        {0, L"0"}, {100, L"100"}, {1000, L"1,000"}, {1234567, L"1,234,567"},
        {2147483647, L"2,147,483,647"}, {-5, L""}, {999999, L"999,999"},
    };
    for (auto& c : cases)
        EXPECT_EQ(CommaSeparate(c.in), c.want) << c.in;
}

TEST(Utf16, JoinsPairsAndKeepsLoneSurrogates)
{
    // "A", U+1F600 as a pair, a lone high surrogate, "B"
    const uint8_t bytes[] = {0x41, 0, 0x3D, 0xD8, 0x00, 0xDE, 0x3D, 0xD8, 0x42, 0};
    std::wstring w = Utf16LEToWide(bytes, sizeof bytes);
    ASSERT_EQ(w.size(), 4u);
    EXPECT_EQ(uint32_t(w[1]), 0x1F600u);
    EXPECT_EQ(uint32_t(w[2]), 0xD83Du);
    EXPECT_EQ(WideToUtf16LE(w), std::string(reinterpret_cast<const char*>(bytes), sizeof bytes));
}

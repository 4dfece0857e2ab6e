#include "launcher/TOpt.h"
#include "launcher/TextLines.h"

#include <gtest/gtest.h>

using namespace vorsel;

TEST(StrToInt, FollowsTheConfigurationSyntaxExactly)
{
    struct Case {
        const wchar_t* text;
        bool ok;
        int32_t value;
    } cases[] = {
        {L"10", true, 10},           {L"  10", true, 10},      {L"+10", true, 10},
        {L"-10", true, -10},         {L"$1F", true, 31},       {L"x1f", true, 31},
        {L"X1F", true, 31},          {L"0x1f", true, 31},      {L"0X1F", true, 31},
        {L"-$10", true, -16},        {L"2147483647", true, 2147483647},
        {L"-2147483648", true, INT32_MIN},                     {L"$7FFFFFFF", true, 0x7FFFFFFF},
        {L"-$80000000", true, INT32_MIN},                      {L"007", true, 7},
        {L"2147483648", false, 0},   {L"-2147483649", false, 0}, {L"$FFFFFFFF", false, 0},
        {L"10 ", false, 0},          {L"", false, 0},          {L"\t10", false, 0},
        {L"0x", false, 0},           {L"1e3", false, 0},       {L"$", false, 0},
        {L"-", false, 0},            {L" ", false, 0},         {L"+-1", false, 0},
        {L"1\u00A0", false, 0},      {L"\u00A010", false, 0},  {L"99999999999999999999", false, 0},
    };
    for (const Case& c : cases) {
        int32_t v = 12345;
        EXPECT_EQ(StrToInt(c.text, v), c.ok) << "case " << (&c - cases);
        if (c.ok) {
            EXPECT_EQ(v, c.value) << (&c - cases);
        }
    }
}

namespace {

std::string Lines(const std::vector<std::string>& lines, const char* end = "\r\n")
{
    std::string s;
    for (size_t i = 0; i < lines.size(); ++i)
        s += lines[i] + (i + 1 < lines.size() ? end : "");
    return s;
}

std::vector<std::string> Good()
{
    return {"http://upd/conf", "http://ad/", "5", "10", "20", "800 600", "Caption", "icon.ico", "Game", "1"};
}

} // namespace

TEST(ParseOpt, SizeLineAndLineTen)
{
    struct Case {
        std::string size;
        std::string line10;
        bool ok;
        int x, y, canClose;
    } cases[] = {
        {"800 600", "1", true, 800, 600, 1},
        {"800  600", "1", true, 800, 600, 1},
        {"800x600", "1", false, 0, 0, 0},
        {"800 600 ", "1", false, 0, 0, 0},
        {" 800 600", "1", false, 0, 0, 0},
        {"800\t600", "1", false, 0, 0, 0},
        {"-5 $10", "1", true, -5, 16, 1},
        {"800 600", "256", true, 800, 600, 0},
        {"800 600", "257", true, 800, 600, 1},
        {"800 600", "-1", true, 800, 600, 255},
        {"800 600", "", false, 0, 0, 0},
    };
    for (const Case& c : cases) {
        auto lines = Good();
        lines[5] = c.size;
        lines[9] = c.line10;
        TOpt opt;
        ASSERT_EQ(ParseOptText(Lines(lines), opt), c.ok) << c.size << " / " << c.line10;
        if (c.ok) {
            EXPECT_EQ(opt.size_pxls.X, c.x);
            EXPECT_EQ(opt.size_pxls.Y, c.y);
            EXPECT_EQ(opt.can_close, c.canClose);
        }
    }
}

TEST(ParseOpt, EveryMarkAndLineEndGivesTheSameRecord)
{
    const std::vector<std::string> good = Good();
    auto utf16 = [](const std::string& ascii, bool big) {
        std::string out = big ? "\xFE\xFF" : "\xFF\xFE";
        for (char c : ascii) {
            out += big ? std::string(1, '\0') + c : std::string(1, c) + '\0';
        }
        return out;
    };
    const std::string files[] = {
        Lines(good, "\r\n"), Lines(good, "\n"), Lines(good, "\r"), Lines(good, "\n") + "\n",
        "\xEF\xBB\xBF" + Lines(good), utf16(Lines(good), false), utf16(Lines(good), true),
        utf16(Lines(good), false) + "X", // an odd last byte is dropped
        Lines(good) + "\r\nline eleven\r\nline twelve",
    };
    for (const std::string& file : files) {
        TOpt opt;
        ASSERT_TRUE(ParseOptText(file, opt)) << (&file - files);
        EXPECT_EQ(opt.url_vorsel, L"http://upd/conf");
        EXPECT_EQ(opt.caption, L"Caption");
        EXPECT_EQ(opt.path_execute, L"Game");
        EXPECT_EQ(opt.can_close, 1);
        EXPECT_EQ(opt.max_time_ad, 20);
    }
    TOpt opt;
    auto nine = good;
    nine.pop_back();
    EXPECT_FALSE(ParseOptText(Lines(nine) + "\r\n", opt)) << "nine lines and a final line end";
    EXPECT_FALSE(ParseOptText(Lines(nine), opt));
}

TEST(DecodeText, MarksValidUtf8AndSingleBytes)
{
    EXPECT_EQ(DecodeText("caf\xC3\xA9"), L"caf\u00E9");
    EXPECT_EQ(DecodeText("caf\xE9"), L"caf\u00E9") << "not UTF-8: a byte is its character";
    EXPECT_EQ(DecodeText("\xC0\xAF"), L"\u00C0\u00AF") << "an overlong form is not UTF-8";
    EXPECT_EQ(DecodeText(std::string("\xFF\xFE\x3D\xD8\x00\xDE", 6)), L"\U0001F600") << "a surrogate pair joins";
    EXPECT_EQ(DecodeText(std::string("a\0b", 3)), std::wstring(L"a\0b", 3)) << "NUL bytes stay";
    std::vector<std::wstring> lines;
    EXPECT_TRUE(SplitLines(L"a\r\rb\n\r\nc", 10, lines));
    EXPECT_EQ(lines, (std::vector<std::wstring>{L"a", L"", L"b", L"", L"c"}));
    EXPECT_TRUE(SplitLines(L" a \t", 10, lines));
    EXPECT_EQ(lines, (std::vector<std::wstring>{L" a \t"})) << "lines are not trimmed";
    EXPECT_FALSE(SplitLines(std::wstring(kMaxLine + 1, L'x'), 10, lines));
    EXPECT_TRUE(SplitLines(L"1\n2\n" + std::wstring(kMaxLine + 1, L'x'), 2, lines)) << "only kept lines count";
}

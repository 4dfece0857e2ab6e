// Numbers and colours of the UI description as a 32-bit C library reads them.
#include "game/ui/UiAttributes.h"

#include <gtest/gtest.h>

TEST(UiAttributes, SignedHexSaturatesAtTheInt32Limits)
{
    const struct {
        const wchar_t* text;
        int32_t value;
    } cases[] = {
        {L"10", 16},           {L"-1", -1},           {L"1E", 30},          {L"0x1e", 30},
        {L"-0x10", -16},       {L"  +7f", 127},       {L"12zz", 18},        {L"", 0},
        {L"zz", 0},            {L"0x", 0},            {L"7FFFFFFF", INT32_MAX}, {L"80000000", INT32_MAX},
        {L"-80000000", INT32_MIN}, {L"-80000001", INT32_MIN}, {L"FFFFFFFFFFFFFFFFFF", INT32_MAX},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseHexSigned(c.text), c.value) << std::wstring(c.text).size();
}

TEST(UiAttributes, ColoursAreUnsigned32BitWithAlphaOnTop)
{
    const struct {
        const wchar_t* text;
        uint32_t value;
    } cases[] = {
        {L"FFFFFF", 0x00FFFFFFu},       {L"FF000000", 0xFF000000u}, {L"0xFF102030", 0xFF102030u},
        {L"100000000", 0xFFFFFFFFu},    {L"-1", 0xFFFFFFFFu},       {L"-2", 0xFFFFFFFEu},
        {L"-100000000", 0xFFFFFFFFu},   {L"80ff", 0x000080FFu},     {L"", 0u},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseHexUnsigned(c.text), c.value);
    // Six digits give a fully transparent colour.
    EXPECT_EQ(Zelk::Color(ParseHexUnsigned(L"FFFFFF")).mAlpha, 0);
}

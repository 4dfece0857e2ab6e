#include "framework/graphics/DirectXErrorName.h"
#include "platform/dx/DxResult.h"

#include <gtest/gtest.h>
#include <set>

using Zelk::DirectXErrorName;

TEST(DirectXErrorName, Table)
{
    struct {
        uint32_t code;
        const char* name;
    } cases[] = {
        {0x887601C2, "DDERR_SURFACELOST"}, {0x80004005, "DSERR_GENERIC"},       {0x8007000E, "E_OUTOFMEMORY"},
        {0x80070057, "DDERR_INVALIDPARAMS"}, {0x80004001, "DDERR_UNSUPPORTED"}, {0x80004002, "DSERR_NOINTERFACE"},
        {0x80040110, "DSERR_NOAGGREGATION"}, {0x800401F0, "DDERR_NOTINITIALIZED"},
        {0x88760096, "DDERR_INVALIDRECT"},  {0x887602BC, "D3DERR_BADMAJORVERSION"}, {0x88780096, "DSERR_BUFFERLOST"},
        {0, "0"},                           {0x88760001, "88760001"},          {0x0000ABCD, "abcd"},
    };
    for (auto& c : cases)
        EXPECT_EQ(DirectXErrorName(int32_t(c.code)), c.name) << std::hex << c.code;
}

TEST(DirectXErrorName, EveryNamedCodeIsDistinctAndNamesItself)
{
    EXPECT_EQ(Zelk::DirectXErrorNameCount(), 193u);
    std::set<int32_t> codes;
    size_t n = 0;
#define CHECK_ENTRY(name, value)                                  \
    codes.insert(plat::name);                                     \
    ++n;                                                          \
    EXPECT_EQ(DirectXErrorName(plat::name), #name);
    ZELK_DX_RESULTS(CHECK_ENTRY)
#undef CHECK_ENTRY
    EXPECT_EQ(codes.size(), n);
}

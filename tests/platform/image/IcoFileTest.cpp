#include "platform/image/IcoFile.h"

#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>

namespace {

std::vector<uint8_t> Read(const std::string& name)
{
    std::ifstream in(std::string(ZELK_FIXTURES) + "/../../fuzz/launcher/corpus/ico/" + name, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

} // namespace

TEST(IcoFile, ReadsBitmapAndPngEntries)
{
    plat::IconImage img;
    auto dib32 = Read("dib32.ico");
    ASSERT_TRUE(plat::ReadIco(dib32.data(), dib32.size(), img));
    EXPECT_EQ(img.width, 2);
    EXPECT_EQ(img.height, 2);
    // Rows are stored bottom-up: the first stored pixel is the bottom left.
    EXPECT_EQ(img.argb[2], 0xFF00FF00u);
    EXPECT_EQ(img.argb[1], 0xFF00FF03u);

    auto dib8 = Read("dib8.ico");
    ASSERT_TRUE(plat::ReadIco(dib8.data(), dib8.size(), img));
    EXPECT_EQ(img.width, 3);
    EXPECT_EQ(img.argb[6], 0xFF000000u) << "palette entry 0, bottom row";
    EXPECT_EQ(img.argb[0], 0xFF020202u) << "palette entry 2, top row";

    auto png = Read("png.ico");
    ASSERT_TRUE(plat::ReadIco(png.data(), png.size(), img));
    EXPECT_EQ(img.width, 2) << "the larger entry is taken";
}

TEST(IcoFile, DamagedFilesAreRefusedNotRead)
{
    auto good = Read("dib32.ico");
    ASSERT_FALSE(good.empty());
    plat::IconImage img;
    struct Case {
        const char* name;
        std::function<void(std::vector<uint8_t>&)> damage;
    } cases[] = {
        {"empty", [](auto& b) { b.clear(); }},
        {"not an icon", [](auto& b) { b = {'n', 'o', 't', ' ', 'i', 'c', 'o', 'n'}; }},
        {"cursor type", [](auto& b) { b[2] = 2; }},
        {"no entries", [](auto& b) { b[4] = 0; }},
        {"entry count beyond the file", [](auto& b) { b[4] = 200; }},
        {"offset beyond the file", [](auto& b) { b[6 + 12] = 0xF0; }},
        {"length beyond the file", [](auto& b) { b[6 + 9] = 0x10; }},
        {"cut short", [](auto& b) { b.resize(b.size() - 20); }},
        {"huge width", [](auto& b) { b[22 + 5] = 0x7F; }},
        {"negative height", [](auto& b) { b[22 + 11] = 0xFF; }},
        {"compressed", [](auto& b) { b[22 + 16] = 1; }},
        {"bad bit count", [](auto& b) { b[22 + 14] = 7; }},
    };
    for (const Case& c : cases) {
        auto bytes = good;
        c.damage(bytes);
        EXPECT_FALSE(plat::ReadIco(bytes.data(), bytes.size(), img)) << c.name;
    }
}

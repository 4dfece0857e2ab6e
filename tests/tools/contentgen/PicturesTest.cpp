// The drawn pictures, read back through the framework's image loaders at
// the sizes the data set fixes.
#include "OfficePictures.h"
#include "assets/Assets.h"
#include "Tables.h"

#include "framework/resources/ImageLib.h"
#include "platform/NullPlatform.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <memory>

using namespace contentgen;

namespace {

std::string DiskPath(std::string path)
{
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

class FixedPictures : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        sDir = new testsupport::TempDir;
        sPaths = new std::vector<std::string>;
        // The pictures of fixed name and size, and those that show the office.
        for (const auto& pictures : {DrawFixedPictures(), contentgen::DrawOfficePictures()})
            for (const OutFile& f : pictures) {
                sDir->Write(DiskPath(f.path), std::string(f.bytes.begin(), f.bytes.end()));
                sPaths->push_back(f.path);
            }
    }
    static void TearDownTestSuite()
    {
        delete sDir;
        delete sPaths;
    }
    // Loads a picture as the game names it (with or without extension).
    std::unique_ptr<ImageLib::Image> Load(const std::string& name)
    {
        return std::unique_ptr<ImageLib::Image>(ImageLib::GetImage(*sDir / DiskPath(name)));
    }
    static uint32_t Alpha(const ImageLib::Image& image, int x, int y)
    {
        return image.GetBits()[size_t(y) * size_t(image.GetWidth()) + size_t(x)] >> 24;
    }

    static testsupport::TempDir* sDir;
    static std::vector<std::string>* sPaths;
    plat::NullPlatform platform;
};
testsupport::TempDir* FixedPictures::sDir = nullptr;
std::vector<std::string>* FixedPictures::sPaths = nullptr;

std::vector<std::string> Numbered(const std::string& before, int from, int to, const std::string& after)
{
    std::vector<std::string> out;
    for (int k = from; k <= to; ++k)
        out.push_back(before + std::to_string(k) + after);
    return out;
}

} // namespace

// Every picture the inventory names loads by its name with its size; the
// tool writes nothing else and every path is lower case with "\".
TEST_F(FixedPictures, EveryPictureLoadsAtItsSize)
{
    ImageLib::LoadJ2kCodec();
    ASSERT_NE(ImageLib::gJ2kCodecModule, nullptr);
    struct Group {
        std::vector<std::string> names; // as the game names them: extension given or left to the search
        int width, height;
        size_t files; // files written per name
    };
    std::vector<std::string> clocks, portraits, boss07, days, briefs, panels, comics, icons;
    for (int k = 0; k <= 12; ++k)
        clocks.push_back(std::string("images\\hud\\clock") + (k < 10 ? "0" : "") + std::to_string(k) + ".gif");
    for (const char* skin : {"man", "woman"}) {
        for (const char* kind : {"expert", "goal", "failure"})
            boss07.push_back(std::string("images\\portraits\\db07_boss") + skin + "_" + kind);
        for (int k = 1; k <= 5; ++k)
            comics.push_back("images\\comic\\comix" + std::to_string(k) + "_" + skin + ".jpg");
    }
    for (const char* kind : {"work", "normal", "expert", "weekend"})
        days.push_back(std::string("images\\calendar\\day_") + kind + ".png");
    for (int day : BriefingPictureLevels())
        briefs.push_back("images\\briefing\\brief_l" + std::to_string(day) + ".png");
    for (const char* kind : {"expert", "goal", "failure"})
        panels.push_back(std::string("images\\debriefing\\bosspanel_") + kind + ".png");
    for (const char* kind : {"restlvl", "exitmenu", "delcareer", "quit", "delprof"})
        icons.push_back(std::string("images\\dialogs\\icon_") + kind + ".png");
    std::vector<std::string> upgrades;
    for (const std::string& option : UpgradeOptions())
        upgrades.push_back("images\\upgrades\\" + option + ".png");
    std::vector<std::string> money;
    for (const char* kind : {"expert", "goal", "failure"})
        money.push_back(std::string("images\\debriefing\\moneypanel_") + kind + ".png");

    const Group kGroups[] = {
        {{"images\\office\\ground"}, 800, 600, 1},
        {{"images\\frontend\\background.jpg", "images\\frontend\\loading.jpg"}, 800, 600, 1},
        {Numbered("images\\frontend\\spin", 0, 7, ".png"), 64, 64, 1},
        {{"images\\splash\\studio.jpg", "images\\splash\\title.jpg", "images\\splash\\version.png"}, 800, 600, 1},
        {{"images\\loc\\logo_title.png"}, 300, 90, 1},
        {{"images\\loc\\newflash.png"}, 90, 44, 1},
        {{"images\\hud\\hud_goal.png", "images\\hud\\hud_expert.png"}, 800, 44, 1},
        {{"images\\hud\\bar.png", "images\\hud\\bar_ex.png"}, 10, 32, 1},
        {clocks, 44, 44, 1},
        {{"images\\hud\\banner_goal.png", "images\\hud\\banner_expert.png"}, 400, 150, 1},
        {{"images\\hud\\upgrade_glow.png"}, 124, 50, 1},
        {{"images\\portraits\\db06_bossman.png", "images\\portraits\\db06_bosswoman.png"}, 150, 190, 1},
        {{"images\\portraits\\mn01_bossman.png", "images\\portraits\\mn01_bosswoman.png"}, 220, 300, 1},
        {{"images\\portraits\\mn04_bossman.png", "images\\portraits\\mn04_bosswoman.png"}, 90, 120, 1},
        {boss07, 200, 260, 2},
        {days, 34, 28, 1},
        {Numbered("images\\calendar\\brief_calendar", 1, 3, ".png"), 175, 190, 1},
        {Numbered("images\\calendar\\db07_calendar", 1, 3, ".png"), 126, 145, 1},
        {briefs, 175, 190, 1},
        {panels, 230, 300, 1},
        {money, 400, 120, 1},
        {Numbered("images\\debriefing\\spark", 0, 5, ".png"), 380, 80, 1},
        {comics, 720, 540, 1},
        {icons, 96, 96, 1},
        {upgrades, 160, 120, 1},
        {{"images\\fx\\star_small.tga"}, 16, 16, 1},
        {{"images\\fx\\star_big"}, 32, 32, 1},
        {{"images\\fx\\smoke.png"}, 32, 32, 1},
        {{"images\\cursors\\normal.tga", "images\\cursors\\active.tga", "images\\cursors\\text.tga"}, 32, 32, 1},
        {Numbered("images\\career\\month", 1, 3, ".png"), 224, 90, 1},
        {Numbered("images\\survival\\month", 1, 3, ".png"), 230, 510, 1},
        {Numbered("images\\help\\help", 1, 4, ""), 300, 220, 1},
    };
    size_t expectedFiles = 0;
    for (const Group& g : kGroups)
        for (const std::string& name : g.names) {
            SCOPED_TRACE(name);
            expectedFiles += g.files;
            std::unique_ptr<ImageLib::Image> image = Load(name);
            ASSERT_NE(image, nullptr);
            EXPECT_EQ(image->GetWidth(), g.width);
            EXPECT_EQ(image->GetHeight(), g.height);
        }
    EXPECT_EQ(sPaths->size(), expectedFiles);
    std::vector<std::string> sorted = *sPaths;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end()) << "a path written twice";
    for (const std::string& path : *sPaths) {
        EXPECT_EQ(path.find('/'), std::string::npos) << path;
        EXPECT_TRUE(std::none_of(path.begin(), path.end(), [](char c) { return std::isupper(uint8_t(c)); })) << path;
    }
}

// Transparency survives each way it is stored: the Targa rows run from the
// top (the star's point is up), the GIF clock's corners use the transparent
// index, the JPEG portrait takes its alpha from the separate mask, and the
// big star is the mask alone on white.
TEST_F(FixedPictures, TransparencyReadsBackRightWayUp)
{
    const struct {
        const char* name;
        int x, y;
        bool opaque;
    } kCases[] = {
        {"images\\fx\\star_small.tga", 8, 2, true},     // the upper point
        {"images\\fx\\star_small.tga", 8, 15, false},   // between the lower points
        {"images\\hud\\clock05.gif", 0, 0, false},
        {"images\\hud\\clock05.gif", 22, 22, true},
        {"images\\portraits\\db07_bossman_goal", 2, 2, false},
        {"images\\portraits\\db07_bossman_goal", 100, 150, true},
        {"images\\fx\\star_big", 16, 4, true},
        {"images\\fx\\star_big", 2, 30, false},
        {"images\\loc\\newflash.png", 45, 22, true},
        {"images\\loc\\newflash.png", 0, 0, false},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(std::string(c.name) + " at " + std::to_string(c.x) + "," + std::to_string(c.y));
        std::unique_ptr<ImageLib::Image> image = Load(c.name);
        ASSERT_NE(image, nullptr);
        if (c.opaque)
            EXPECT_GT(Alpha(*image, c.x, c.y), 200u);
        else
            EXPECT_EQ(Alpha(*image, c.x, c.y), 0u);
    }
    std::unique_ptr<ImageLib::Image> star = Load("images\\fx\\star_big");
    ASSERT_NE(star, nullptr);
    EXPECT_EQ(star->GetBits()[16 * 32 + 16] & 0xFFFFFF, 0xFFFFFFu);
}

// The bar picture holds the fill segment at v 0 and the empty one at v 16;
// the survival month strip three states at v 0, 170 and 340.
TEST_F(FixedPictures, StackedStatesDiffer)
{
    std::unique_ptr<ImageLib::Image> bar = Load("images\\hud\\bar.png");
    ASSERT_NE(bar, nullptr);
    EXPECT_NE(bar->GetBits()[8 * 10 + 4], bar->GetBits()[24 * 10 + 4]);
    std::unique_ptr<ImageLib::Image> month = Load("images\\survival\\month1.png");
    ASSERT_NE(month, nullptr);
    auto at = [&](int y) { return month->GetBits()[size_t(y) * 230 + 115]; };
    EXPECT_NE(at(85), at(85 + 170));
    EXPECT_NE(at(85), at(85 + 340));
}

TEST(VersionPage, CaptionsGiveDifferentPictures)
{
    OutFile base = DrawVersionPage("base data"), mod = DrawVersionPage("demo data, content version 1");
    EXPECT_EQ(base.path, "images\\splash\\version.png");
    EXPECT_EQ(mod.path, base.path);
    EXPECT_NE(base.bytes, mod.bytes);
}

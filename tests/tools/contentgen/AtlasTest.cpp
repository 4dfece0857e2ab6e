// Dialog panels and the UI atlases: drawn at their sizes, packed without
// overlap, every item's spot inside its page and inked.
#include "assets/Assets.h"
#include "assets/ShelfPacker.h"

#include "framework/resources/ImageLib.h"
#include "platform/NullPlatform.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <stdexcept>

using namespace contentgen;

namespace {

std::unique_ptr<ImageLib::Image> Read(const testsupport::TempDir& dir, const OutFile& file)
{
    std::string name = file.path;
    std::replace(name.begin(), name.end(), '\\', '/');
    dir.Write(name, std::string(file.bytes.begin(), file.bytes.end()));
    return std::unique_ptr<ImageLib::Image>(ImageLib::GetImage(dir / name));
}

uint32_t Alpha(const ImageLib::Image& image, int x, int y)
{
    return image.GetBits()[size_t(y) * size_t(image.GetWidth()) + size_t(x)] >> 24;
}

} // namespace

// A dialog's panel has the dialog's size; a full-screen one dims the screen
// around the panel and leaves nothing fully clear.
TEST(Panels, DialogAndFullScreenPanels)
{
    plat::NullPlatform platform;
    testsupport::TempDir dir;
    OutFile plain = DrawPanel("options", 400, 380, false, 0, 0, 400, 380);
    EXPECT_EQ(plain.path, "images\\ui\\panel_options.png");
    std::unique_ptr<ImageLib::Image> p = Read(dir, plain);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->GetWidth(), 400);
    EXPECT_EQ(p->GetHeight(), 380);
    EXPECT_EQ(Alpha(*p, 200, 190), 255u);
    EXPECT_EQ(Alpha(*p, 0, 0), 0u); // rounded corner

    std::unique_ptr<ImageLib::Image> s = Read(dir, DrawPanel("help", 800, 600, true, 60, 40, 680, 500));
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->GetWidth(), 800);
    EXPECT_EQ(s->GetHeight(), 600);
    for (int x : {5, 795})
        for (int y : {5, 595})
            EXPECT_GT(Alpha(*s, x, y), 100u) << x << "," << y;
    EXPECT_EQ(Alpha(*s, 400, 300), 255u);
    EXPECT_THROW(DrawPanel("broken", 0, 10, false, 0, 0, 0, 10), std::runtime_error);
}

// Buttons spill onto a second page when one is full; every spot is inside its
// page, spots on one page do not overlap, and each item is drawn there.
TEST(Atlas, ButtonsPackedAcrossPages)
{
    plat::NullPlatform platform;
    testsupport::TempDir dir;
    std::vector<AtlasItem> items;
    const char* states[] = {"normal", "over", "down", "disabled"};
    for (int k = 0; k < 40; ++k)
        for (const char* state : states)
            items.push_back(AtlasItem{"b" + std::to_string(k) + state, "button", state, 200 + k, 48 + k});
    std::map<std::string, AtlasSpot> spots;
    std::vector<OutFile> pages = DrawAtlas("images\\ui\\buttons", items, spots);
    ASSERT_GE(pages.size(), 2u);
    std::vector<std::unique_ptr<ImageLib::Image>> read;
    for (size_t i = 0; i < pages.size(); ++i) {
        EXPECT_EQ(pages[i].path, "images\\ui\\buttons" + std::to_string(i) + ".png");
        read.push_back(Read(dir, pages[i]));
        ASSERT_NE(read.back(), nullptr);
        EXPECT_EQ(read.back()->GetWidth(), 1024);
        EXPECT_EQ(read.back()->GetHeight(), 1024);
    }
    ASSERT_EQ(spots.size(), items.size());
    for (const AtlasItem& a : items) {
        const AtlasSpot& sa = spots[a.key];
        ASSERT_LT(size_t(sa.page), pages.size());
        EXPECT_TRUE(sa.u >= 0 && sa.v >= 0 && sa.u + a.width <= 1024 && sa.v + a.height <= 1024) << a.key;
        EXPECT_EQ(Alpha(*read[size_t(sa.page)], sa.u + a.width / 2, sa.v + a.height / 2), 255u) << a.key;
        for (const AtlasItem& b : items) {
            const AtlasSpot& sb = spots[b.key];
            if (&a == &b || sa.page != sb.page)
                continue;
            bool apart = sa.u + a.width <= sb.u || sb.u + b.width <= sa.u || sa.v + a.height <= sb.v ||
                         sb.v + b.height <= sa.v;
            ASSERT_TRUE(apart) << a.key << " overlaps " << b.key;
        }
    }
}

// The widgets page holds every kind the layouts ask for; an unknown kind or a
// widget set larger than one page is refused with its name.
TEST(Atlas, WidgetsOnOnePage)
{
    plat::NullPlatform platform;
    const char* kinds[][2] = {{"check", "normal"},       {"check", "check_over"},  {"slider_back", ""},
                              {"bar_fill", ""},          {"bar_empty", ""},        {"thumb", ""},
                              {"scroll_up", "normal"},   {"scroll_down", "down"},  {"list_back", "normal"},
                              {"edit_back", "disabled"}, {"tick", ""},             {"ring", ""},
                              {"mark", ""},              {"life_full", ""},        {"life_lost", ""},
                              {"hint", ""},              {"caption", ""},          {"calendar_mark", ""},
                              {"highlight", "over"}};
    std::vector<AtlasItem> items;
    for (const auto& k : kinds)
        items.push_back(AtlasItem{std::string(k[0]) + k[1], k[0], k[1], 40, 30});
    std::map<std::string, AtlasSpot> spots;
    std::vector<OutFile> page = DrawAtlas("images\\ui\\widgets", items, spots);
    ASSERT_EQ(page.size(), 1u);
    EXPECT_EQ(page[0].path, "images\\ui\\widgets.png");
    EXPECT_EQ(spots.size(), items.size());

    std::map<std::string, AtlasSpot> ignored;
    try {
        DrawAtlas("images\\ui\\widgets", {AtlasItem{"odd", "teapot", "", 10, 10}}, ignored);
        ADD_FAILURE() << "an unknown kind was drawn";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("teapot"), std::string::npos);
    }
    std::vector<AtlasItem> tooMany(6, AtlasItem{"", "caption", "", 1000, 300});
    for (size_t i = 0; i < tooMany.size(); ++i)
        tooMany[i].key = "c" + std::to_string(i);
    EXPECT_THROW(DrawAtlas("images\\ui\\widgets", tooMany, ignored), std::runtime_error);
}

TEST(ShelfPacker, RefusesWhatCannotFit)
{
    ShelfPacker packer(100, 100);
    EXPECT_THROW(packer.Pack({{101, 10}}), std::runtime_error);
    EXPECT_THROW(packer.Pack({{10, 101}}), std::runtime_error);
    std::vector<PackedSpot> spots = packer.Pack({{60, 60}, {60, 60}});
    EXPECT_EQ(packer.Pages(), 2);
    EXPECT_EQ(spots[1].page, 1);
}

// One contact sheet per folder of pictures; other files are left out, and a
// picture that does not load still gets its cell.
TEST(ContactSheets, OneSheetPerFolder)
{
    plat::NullPlatform platform;
    std::vector<OutFile> panel = {DrawPanel("a", 40, 30, false, 0, 0, 40, 30)};
    std::map<std::string, std::vector<uint8_t>> files;
    files["images\\ui\\panel_a.png"] = panel[0].bytes;
    files["images\\hud\\broken.png"] = {1, 2, 3};
    files["cfg\\ui.xml"] = {'<'};
    std::vector<OutFile> sheets = DrawContactSheets(files);
    ASSERT_EQ(sheets.size(), 2u);
    EXPECT_EQ(sheets[0].path, "sheet_images_hud.png");
    EXPECT_EQ(sheets[1].path, "sheet_images_ui.png");
    testsupport::TempDir dir;
    for (const OutFile& sheet : sheets)
        EXPECT_NE(Read(dir, sheet), nullptr) << sheet.path;
}

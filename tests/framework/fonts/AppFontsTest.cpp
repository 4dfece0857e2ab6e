// Fonts as the application hands them out: the resource manager's system,
// image and copied fonts, and the default label fonts of buttons and dialogs.
#include "FontTestSupport.h"

#include "framework/fonts/FontData.h"
#include "framework/fonts/ImageFont.h"
#include "framework/fonts/SysFont.h"
#include "framework/resources/ResourceManager.h"
#include "framework/widgets/SysFontMaker.h"

#include <gtest/gtest.h>

using namespace Zelk;
using namespace fonttest;

TEST(AppFonts, TheResourceManagerMakesEachKindOfFont)
{
    TestApp test;
    TestImages images;
    testsupport::TempDir dir;
    std::string sample = std::string(ZELK_FIXTURES) + "/fonts/sample.txt";
    dir.Write("resources.xml", "<ResourceManifest><Resources id=\"Fonts\">"
                               "<Font id=\"SYS\" path=\"!sys:Arial\" size=\"12\" bold=\"\" shadow=\"\"/>"
                               "<Font id=\"IMG\" path=\"" + sample + "\" tags=\"outline, bold\"/>"
                               "<Font id=\"REF\" path=\"!ref:IMG\"/>"
                               "</Resources><Resources id=\"Broken\">"
                               "<Font id=\"NONE\" path=\"" + dir / "missing.txt" + "\"/>"
                               "</Resources></ResourceManifest>");
    ResourceManager manager(&test.app);
    ASSERT_TRUE(manager.ParseResourcesFile(dir / "resources.xml")) << manager.GetErrorText();
    ASSERT_TRUE(manager.LoadResources("Fonts")) << manager.GetErrorText();

    auto* sys = dynamic_cast<SysFont*>(manager.GetFontThrow("SYS"));
    ASSERT_TRUE(sys);
    EXPECT_TRUE(sys->mDrawShadow);
    EXPECT_FALSE(sys->mSimulateBold);
    EXPECT_EQ(sys->GetTextFont()->Desc().weight, 700);
    EXPECT_EQ(sys->GetTextFont()->Desc().height, 16);

    auto* image = dynamic_cast<ImageFont*>(manager.GetFontThrow("IMG"));
    ASSERT_TRUE(image);
    EXPECT_TRUE(image->HasTag("OUTLINE") && image->HasTag("BOLD"));
    EXPECT_EQ(ActiveLayerNames(*image), (std::vector<std::string>{"MAIN", "OUTLINE", "BOLD"}));
    auto* copy = dynamic_cast<ImageFont*>(manager.GetFontThrow("REF"));
    ASSERT_TRUE(copy);
    EXPECT_NE(copy, image);
    EXPECT_EQ(copy->mFontData, image->mFontData);

    EXPECT_FALSE(manager.LoadResources("Broken"));
    EXPECT_EQ(manager.GetErrorText(), "Failed to load font: " + dir / "missing.txt");
}

namespace {

Font* KeepMine(ZelkAppBase*, const std::string&, int, int)
{
    return nullptr;
}

} // namespace

TEST(AppFonts, ButtonsAndDialogsGetSystemFontsOnceTheApplicationStarts)
{
    plat::NullPlatform platform;
    ASSERT_EQ(gSysFontMaker, nullptr);
    {
        ZelkAppBase app;
        app.Init();
        std::unique_ptr<Font> font(MakeSysFont(&app, "Arial Unicode MS", 10, 0));
        ASSERT_TRUE(dynamic_cast<SysFont*>(font.get()));
        EXPECT_EQ(platform.text.Requests().back().face, "Arial Unicode MS");
        EXPECT_EQ(platform.text.Requests().back().height, 13);
    }
    EXPECT_EQ(gSysFontMaker, nullptr) << "the application takes its maker out again";

    gSysFontMaker = &KeepMine; // a program's (or a test's) own maker stays
    {
        ZelkAppBase app;
        app.Init();
        EXPECT_EQ(gSysFontMaker, &KeepMine);
    }
    EXPECT_EQ(gSysFontMaker, &KeepMine);
    gSysFontMaker = nullptr;
}

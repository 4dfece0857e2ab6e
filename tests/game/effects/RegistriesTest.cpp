#include "framework/fonts/ImageFont.h"
#include "framework/fonts/SysFont.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/widgets/WidgetManager.h"
#include "game/core/CursorManager.h"
#include "game/core/FontRegistry.h"
#include "game/core/TextureRegistry.h"
#include "tests/game/effects/FakeImageApp.h"
#include "tests/game/effects/RecordingCallbacks.h"

#include <gtest/gtest.h>

namespace {

class Registries : public ::testing::Test {
protected:
    XmlNode Root(const std::wstring& children) { return ParseElement(L"<root>" + children + L"</root>"); }
    FakeImageApp app;
    TextureRegistry textures{&app};
};

} // namespace

TEST_F(Registries, TexturesLoadOnFirstUseAndDieAtTheirLastRelease)
{
    textures.Load(Root(L"<texture id='a' file='a.png'/><texture id='bad' file='missing.png'/>"));
    Zelk::Image* a = textures.Get("a");
    ASSERT_TRUE(a);
    EXPECT_EQ(textures.Get("a"), a);
    EXPECT_EQ(app.loads, 1);
    textures.Release("a");
    EXPECT_EQ(textures.GetRefCount("a"), 1) << "kept";
    textures.Release("a");
    EXPECT_EQ(textures.GetRefCount("a"), 0) << "deleted";
    textures.Release("a");
    textures.Release("never");
    EXPECT_EQ(textures.GetRefCount("a"), 0);
    EXPECT_TRUE(textures.Get("a"));
    EXPECT_EQ(app.loads, 2) << "loaded anew";

    EXPECT_EQ(textures.Get("bad"), nullptr);
    EXPECT_EQ(textures.GetRefCount("bad"), 1);
    textures.ReleaseImage(nullptr);
    EXPECT_EQ(textures.GetRefCount("bad"), 1) << "null names no record";
    EXPECT_EQ(textures.Get("bad"), nullptr);
    EXPECT_EQ(app.loads, 4) << "a failed load is tried again";
    EXPECT_EQ(textures.Get("unknown"), nullptr);
    EXPECT_EQ(app.loads, 4);

    Zelk::Image* again = textures.Get("a");
    textures.ReleaseImage(again);
    textures.ReleaseImage(again);
    EXPECT_EQ(textures.GetRefCount("a"), 0);
}

TEST_F(Registries, TheTextureListEndsAtAnIncompleteEntryAndLaterIdsWin)
{
    textures.Load(Root(L"<texture id='a' file='missing-a.png'/><texture id='a' file='a.png'/>"
                       L"<texture id='b' file='b.png'/><texture file='c.png'/><texture id='d' file='d.png'/>"));
    EXPECT_TRUE(textures.Get("a")) << "the later path";
    EXPECT_TRUE(textures.Get("b"));
    EXPECT_FALSE(textures.Get("d")) << "after the entry without an id";
}

TEST_F(Registries, FontsOfEachTypeWithFreshDefaults)
{
    FontRegistry fonts(&app);
    fonts.Load(Root(L"<font name='sys' type='System' face='Arial' size='12' bold='true' italic='1'/>"
                    L"<font name='plain' type='System' face='Arial' size='10'/>"
                    L"<font name='img' type='Image' face='fonts\\none.txt' scale='2.5'/>"
                    L"<font name='img1' type='Image' face='fonts\\none.txt'/>"
                    L"<font name='bmp' type='Bitmap' face='x'/>"
                    L"<font name='nosize' type='System' face='Arial'/>"
                    L"<font name='noface' type='Image'/>"
                    L"<font type='System' face='Arial' size='9'/>"
                    L"<font name='twice' type='System' face='Arial' size='8'/>"
                    L"<font name='twice' type='Image' face='fonts\\none.txt'/>"));
    auto* sys = dynamic_cast<Zelk::SysFont*>(fonts.Get("sys"));
    ASSERT_TRUE(sys);
    auto* plain = dynamic_cast<Zelk::SysFont*>(fonts.Get("plain"));
    ASSERT_TRUE(plain);
    auto* img = dynamic_cast<Zelk::ImageFont*>(fonts.Get("img"));
    ASSERT_TRUE(img);
    EXPECT_DOUBLE_EQ(img->mScale, 2.5);
    auto* img1 = dynamic_cast<Zelk::ImageFont*>(fonts.Get("img1"));
    ASSERT_TRUE(img1);
    EXPECT_DOUBLE_EQ(img1->mScale, 1.0);
    EXPECT_TRUE(dynamic_cast<Zelk::ImageFont*>(fonts.Get("twice"))) << "replaced";
    for (const char* skipped : {"bmp", "nosize", "noface", "", "nope"})
        EXPECT_EQ(fonts.Get(skipped), nullptr) << skipped;
}

namespace {

class Cursors : public Registries {
protected:
    void SetUp() override
    {
        textures.Load(Root(L"<texture id='arrow' file='arrow.png'/><texture id='hand' file='hand.png'/>"
                           L"<texture id='bad' file='missing.png'/>"));
        cursors.Load(Root(L"<cursors mode='normal' image='arrow' hot_spot_x='3' hot_spot_y='4'/>"
                          L"<cursors mode='normal' image='hand'/>"
                          L"<cursors mode='broken' image='bad'/><cursors mode='none'/>"
                          L"<cursors mode='active' image='hand'/>"));
    }
    // Custom cursors, kind and the kind-12 picture, as the framework holds them.
    void ExpectFramework(bool custom, int kind)
    {
        EXPECT_EQ(app.mCustomCursors, custom);
        EXPECT_EQ(app.mCursorKind, kind);
        EXPECT_EQ(app.mCursorImages[12], nullptr);
    }
    CursorManager cursors{&textures};
};

int CountPixels(const Zelk::MemoryImage& image, int& left, int& top)
{
    int count = 0;
    left = top = 1 << 30;
    Zelk::MemoryImage& target = const_cast<Zelk::MemoryImage&>(image);
    const uint32_t* bits = target.GetBits();
    for (int y = 0; y < image.GetHeight(); ++y) {
        for (int x = 0; x < image.GetWidth(); ++x) {
            if (bits[y * image.GetWidth() + x]) {
                ++count;
                left = std::min(left, x);
                top = std::min(top, y);
            }
        }
    }
    return count;
}

} // namespace

TEST_F(Cursors, TheFirstEntryOfAModeWinsAndSelectionSwitchesTheFrameworkCursor)
{
    EXPECT_EQ(textures.GetRefCount("arrow"), 1);
    EXPECT_EQ(textures.GetRefCount("hand"), 2) << "the skipped duplicate keeps its reference";
    cursors.Select("normal");
    ExpectFramework(true, 12);
    cursors.Select("unknown");
    ExpectFramework(false, 0);
    cursors.Select("broken");
    ExpectFramework(false, 0);
    cursors.Select("active");
    ExpectFramework(true, 12);
    cursors.Clear();
    ExpectFramework(false, 0);
    EXPECT_EQ(textures.GetRefCount("arrow"), 0);
    EXPECT_EQ(textures.GetRefCount("hand"), 1);
}

TEST_F(Cursors, DrawnAtTheMouseLessTheHotSpotWhileEnabled)
{
    app.mWidgetManager->mLastMouseX = 100;
    app.mWidgetManager->mLastMouseY = 50;
    Zelk::MemoryImage target;
    target.Create(200, 100);
    Zelk::Graphics g(&target);
    int left, top;

    cursors.Draw(&g);
    EXPECT_EQ(CountPixels(target, left, top), 0) << "nothing selected";
    cursors.Select("normal");
    cursors.Disable();
    cursors.Draw(&g);
    EXPECT_EQ(CountPixels(target, left, top), 0) << "disabled";
    cursors.Enable();
    cursors.Draw(&g);
    EXPECT_EQ(CountPixels(target, left, top), 8 * 4);
    EXPECT_EQ(left, 97);
    EXPECT_EQ(top, 46);
}

// The screenshot and the image dump as the running program takes them: an
// application built by Init on the null display, the debug keys connected to
// the real display, image set and picture writers.
#include "framework/app/DebugToolHooks.h"
#include "framework/app/PathUtil.h"
#include "framework/app/ZelkAppBase.h"
#include "framework/graphics/Color.h"
#include "framework/graphics/DDImage.h"
#include "framework/graphics/DDInterface.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/resources/ImageLib.h"
#include "framework/widgets/WidgetManager.h"
#include "platform/NullPlatform.h"
#include "tests/support/TempDir.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

using namespace Zelk;

namespace {

const int kF11 = 0x7A;

class CaptureApp : public ZelkAppBase {
public:
    CaptureApp()
    {
        mProdName = "TestProduct";
        mLoadingThreadWanted = false;
    }
};

class ScreenCapture : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform.folders.appData = dir.Path();
        // Made by the application itself, as in the running program.
        gDebugToolHooks = DebugToolHooks();
        app = std::make_unique<CaptureApp>();
        app->Init();
        data = NativePath(GetAppDataFolder());
    }
    void TearDown() override
    {
        app.reset();
        gDebugToolHooks = DebugToolHooks();
        SetAppDataFolder("");
    }
    void Press(int key, bool shift)
    {
        app->mWidgetManager->mKeyDown[0x10] = shift;
        EXPECT_TRUE(app->OnDebugKey(key));
        app->mWidgetManager->mKeyDown[0x10] = false;
    }
    static std::vector<uint32_t> ReadPng(const std::string& path, int& width, int& height)
    {
        std::unique_ptr<ImageLib::Image> image(ImageLib::ReadPngImage(path));
        if (!image)
            return {};
        width = image->mWidth;
        height = image->mHeight;
        return std::vector<uint32_t>(image->mBits, image->mBits + size_t(width) * size_t(height));
    }

    testsupport::TempDir dir;
    plat::NullPlatform platform;
    std::unique_ptr<CaptureApp> app;
    std::string data; // the application's data folder
};

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

} // namespace

TEST_F(ScreenCapture, ScreenshotHoldsTheFrameBeingDrawn)
{
    DDInterface* display = app->mDDInterface.load();
    ASSERT_NE(display, nullptr);
    DDImage* screen = display->GetScreenImage();
    ASSERT_NE(screen, nullptr);
    const int w = screen->mWidth, h = screen->mHeight;
    ASSERT_GT(w, 0);

    // A background and two boxes, one reaching the lower right corner.
    struct Box {
        int x, y, width, height;
        uint32_t argb;
    } boxes[] = {
        {0, 0, w, h, 0xFF203040},
        {10, 20, 30, 5, 0xFFFF0000},
        {w - 7, h - 3, 7, 3, 0xFF00FF80},
    };
    {
        Graphics g(screen);
        for (const Box& b : boxes) {
            g.SetColor(Color(int((b.argb >> 16) & 0xFF), int((b.argb >> 8) & 0xFF), int(b.argb & 0xFF)));
            g.FillRect(b.x, b.y, b.width, b.height);
        }
    }
    // What the frame holds: the fills' own arithmetic may end a step short of
    // the colour asked for (a 2D fill of a 32-bit surface), so the surface is
    // the truth, checked against the boxes within that step.
    auto drawn = [&](int x, int y) { return display->mDrawSurface->PixelARGB(x, y); };
    for (const Box& b : boxes) {
        const uint32_t got = drawn(b.x, b.y);
        for (int shift = 0; shift < 24; shift += 8)
            EXPECT_LE(std::abs(int((got >> shift) & 0xFF) - int((b.argb >> shift) & 0xFF)), 1) << std::hex << got;
    }

    Press(kF11, false);
    Press(kF11, false);
    int pw = 0, ph = 0;
    const std::vector<uint32_t> shot = ReadPng(data + "_screenshots/image1.png", pw, ph);
    ASSERT_EQ(pw, w);
    ASSERT_EQ(ph, h);
    int wrong = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (shot[size_t(y) * size_t(w) + size_t(x)] != drawn(x, y) && ++wrong <= 5)
                ADD_FAILURE() << "pixel " << x << "," << y << ": " << std::hex << shot[size_t(y) * size_t(w) + size_t(x)]
                              << " drawn " << drawn(x, y);
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(ReadFile(data + "_screenshots/image2.png"), ReadFile(data + "_screenshots/image1.png"));

    // The display has its draw surface back and the reading image is gone.
    EXPECT_NE(display->mDrawSurface, nullptr);
    EXPECT_EQ(display->GetScreenImage(), screen);
    {
        Graphics g(screen);
        g.SetColor(Color(1, 2, 3));
        g.FillRect(0, 0, 1, 1);
    }
    Press(kF11, false);
    const std::vector<uint32_t> third = ReadPng(data + "_screenshots/image3.png", pw, ph);
    ASSERT_FALSE(third.empty());
    EXPECT_EQ(third[0], drawn(0, 0));
    EXPECT_NE(third[0], shot[0]);
}

TEST_F(ScreenCapture, ImageDumpListsEveryImageWithItsPictures)
{
    // An image of our own with a path that needs escaping, and an empty one.
    MemoryImage picture(app.get());
    const std::vector<uint32_t> pixels = {0xFF112233, 0x80445566, 0x00000000, 0xFFFFFFFF, 0xFF000000, 0x7F7F7F7F};
    picture.SetBits(pixels.data(), 3, 2);
    picture.mFilePath = "images\\a<b>&c";
    MemoryImage empty(app.get());
    const size_t images = app->mMemoryImageSet.size();

    Press(kF11, true);
    const std::string html = ReadFile(data + "_dump/imagelist.html");
    ASSERT_EQ(html.rfind("<HTML><BODY BGCOLOR=EEEEFF><CENTER><FONT SIZE=+2><B>", 0), 0u);
    EXPECT_NE(html.find("</TABLE></CENTER></BODY></HTML>\n"), std::string::npos);

    // One row per image of the application's set, numbered from 0.
    std::vector<std::string> rows;
    for (size_t at = html.find("<TR>"); at != std::string::npos; at = html.find("<TR>", at + 1))
        rows.push_back(html.substr(at, html.find("</TR>", at) - at));
    ASSERT_EQ(rows.size(), images);
    std::string ours, emptyRow, screenRow;
    size_t ourRow = 0;
    for (size_t k = 0; k < rows.size(); ++k) {
        char name[32];
        std::snprintf(name, sizeof name, "<A HREF=img%04d.png>", int(k));
        EXPECT_NE(rows[k].find(name), std::string::npos) << rows[k];
        if (rows[k].find("a&lt;b&gt;&amp;c") != std::string::npos) {
            ours = rows[k];
            ourRow = k;
        }
        if (rows[k].find(">0 x 0<BR>0 bytes</TD>") != std::string::npos)
            emptyRow = rows[k];
        if (rows[k].find(">800 x 600<BR>") != std::string::npos)
            screenRow = rows[k];
    }
    ASSERT_FALSE(ours.empty()) << html;
    EXPECT_NE(ours.find("<TD ALIGN=RIGHT>3 x 2<BR>24 bytes</TD>\n<TD>mBits<BR>24</TD>\n"), std::string::npos) << ours;
    EXPECT_FALSE(emptyRow.empty()) << html;
    // The screen image (800 x 600 on its surface) is the largest: listed first.
    EXPECT_EQ(rows.front(), screenRow);
    EXPECT_EQ(rows.back(), emptyRow);

    // The picture of our image, read back, is the image.
    int pw = 0, ph = 0;
    char png[32];
    std::snprintf(png, sizeof png, "_dump/img%04d.png", int(ourRow));
    EXPECT_EQ(ReadPng(data + png, pw, ph), pixels);
    EXPECT_EQ(pw, 3);
    EXPECT_EQ(ph, 2);
    char jpg[32];
    std::snprintf(jpg, sizeof jpg, "_dump/thumb%04d.jpg", int(ourRow));
    std::unique_ptr<ImageLib::Image> thumb(ImageLib::ReadJpegImage(data + jpg));
    ASSERT_TRUE(thumb);
    EXPECT_EQ(thumb->mWidth, 64);
    EXPECT_EQ(thumb->mHeight, 64);
    // The empty image keeps its row but gets no pictures.
    std::snprintf(png, sizeof png, "_dump/img%04d.png", int(rows.size() - 1));
    EXPECT_FALSE(std::ifstream(data + png).good());
    // Taking the pictures left the image as it was.
    EXPECT_EQ(app->mMemoryImageSet.size(), images);
    EXPECT_TRUE(picture.HasPixelArray());
}

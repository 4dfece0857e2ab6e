// The application's image services and what it asks of the desktop: shared
// images by name, images from files, copies, the clipboard, web links, the
// screen-error log, the version text and whole files.
#include "SurfaceFixture.h"
#include "framework/app/Buffer.h"
#include "tests/framework/resources/FakePakInterface.h"
#include "tests/support/TempDir.h"
#include "tests/support/CurrentFolder.h"

#include <fstream>
#include <regex>
#include <sstream>
#include <unistd.h>

using namespace Zelk;
using namespace Zelk::test;

namespace {

// An uncompressed top-down 32-bit Targa file of the pixels.
std::string Targa(int w, int h, const std::vector<uint32_t>& pixels)
{
    std::string bytes(18, '\0');
    bytes[2] = 2;
    bytes[12] = char(w);
    bytes[14] = char(h);
    bytes[16] = 32;
    bytes[17] = 0x28;
    for (uint32_t p : pixels)
        for (int k = 0; k < 4; ++k)
            bytes.push_back(char((p >> (8 * k)) & 0xFF));
    return bytes;
}

// Runs in a fresh current folder, and goes back afterwards.
struct InFolder {
    testsupport::TempDir dir;
    testsupport::CurrentFolder here{dir.Path()};
};

} // namespace

TEST(AppImages, SharedImagesByName)
{
    SurfaceDisplay t;
    FakePakInterface pak;
    ASSERT_TRUE(pak.Publish());
    pak.Add("images\\pic.tga", Targa(2, 1, {0xFF102030, 0x00000000}));

    bool isNew = false;
    SharedImageRef a = t.app.GetSharedImage("images\\Pic.tga", "", &isNew);
    EXPECT_TRUE(isNew);
    DDImage* image = dynamic_cast<DDImage*>(a.GetImage());
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->mFilePath, "images\\Pic.tga");
    EXPECT_EQ(image->GetBits()[0], 0xFF102030u);
    const size_t opens = pak.opened.size();

    // Letter case does not matter; the variant does.
    SharedImageRef b = t.app.GetSharedImage("IMAGES\\pic.TGA", "", &isNew);
    EXPECT_FALSE(isNew);
    EXPECT_EQ(b.GetImage(), image);
    EXPECT_EQ(a.mSharedImage->mRefCount, 2);
    SharedImageRef c = t.app.GetSharedImage("images\\pic.tga", "small", &isNew);
    EXPECT_TRUE(isNew);
    EXPECT_NE(c.GetImage(), image);

    // "!" names are images that code fills in: nothing is read.
    const size_t before = pak.opened.size();
    SharedImageRef program = t.app.GetSharedImage("!program", "", &isNew);
    EXPECT_TRUE(isNew);
    ASSERT_NE(dynamic_cast<DDImage*>(program.GetImage()), nullptr);
    EXPECT_EQ(program.GetImage()->mWidth, 0);
    EXPECT_EQ(pak.opened.size(), before);

    // A file that cannot be decoded leaves a record without an image, never tried again.
    SharedImageRef missing = t.app.GetSharedImage("images\\missing.tga", "", &isNew);
    EXPECT_TRUE(isNew);
    EXPECT_EQ(missing.GetImage(), nullptr);
    const size_t afterMissing = pak.opened.size();
    SharedImageRef again = t.app.GetSharedImage("images\\missing.tga", "", &isNew);
    EXPECT_FALSE(isNew);
    EXPECT_EQ(again.GetImage(), nullptr);
    EXPECT_EQ(pak.opened.size(), afterMissing);
    EXPECT_GT(opens, 0u);
}

TEST(AppImages, UnusedSharedImagesLiveUntilThePurge)
{
    SurfaceDisplay t;
    auto count = [&] { return t.app.mSharedImageMap.size(); };
    {
        SharedImageRef a = t.app.GetSharedImage("!one", "", nullptr);
        SharedImageRef b = t.app.GetSharedImage("!two", "", nullptr);
    }
    EXPECT_EQ(count(), 2u);
    EXPECT_TRUE(t.app.mSharedImagePurgeWanted);
    // Taken again before the purge: it stays.
    SharedImageRef back = t.app.GetSharedImage("!one", "", nullptr);
    t.app.PurgeSharedImages();
    EXPECT_EQ(count(), 1u);
    EXPECT_NE(back.GetImage(), nullptr);
    EXPECT_FALSE(t.app.mSharedImagePurgeWanted);
}

TEST(AppImages, ImagesFromFilesAndCopies)
{
    SurfaceDisplay t;
    FakePakInterface pak;
    ASSERT_TRUE(pak.Publish());
    pak.Add("sheet.tga", Targa(4, 2, {0xFF0000FF, 0xFF00FF00, 0xFFFF0000, 0xFFFFFFFF, 0xFF000010, 0xFF000020,
                                      0xFF000030, 0xFF000040}));
    EXPECT_EQ(t.app.GetImage("nothing.tga", true), nullptr);
    std::unique_ptr<DDImage> sheet(t.app.GetImage("sheet.tga", true));
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->mDDInterface, t.display);
    EXPECT_EQ(sheet->mWidth, 4);
    sheet->mNumCols = 2;

    std::unique_ptr<DDImage> part(t.app.CopyImageRect(sheet.get(), Rect(1, 0, 2, 2)));
    EXPECT_EQ(part->mWidth, 2);
    EXPECT_EQ(part->mHeight, 2);
    EXPECT_EQ(part->mNumCols, 2);
    // A near copy: channels may come out one step low.
    const uint32_t* bits = part->GetBits();
    EXPECT_GE((bits[0] >> 8) & 0xFF, 0xFEu);
    EXPECT_GE((bits[1] >> 16) & 0xFF, 0xFEu);
    EXPECT_LE(bits[3] & 0xFF, 0x30u);
    std::unique_ptr<DDImage> whole(t.app.CopyImage(sheet.get()));
    EXPECT_EQ(whole->mWidth, 4);
}

TEST(AppImages, MemoryImagesRegisterWithOrWithoutADisplay)
{
    plat::NullPlatform platform;
    ZelkAppBase app;
    {
        MemoryImage before(&app); // no display yet
        EXPECT_EQ(app.mMemoryImageSet.count(&before), 1u);
        app.FreeAllNativeImageData();
        app.ReapplyAllImageReductions();
    }
    EXPECT_TRUE(app.mMemoryImageSet.empty());
    // Master volumes before there is a sound manager.
    EXPECT_EQ(app.GetMasterVolume(), 0.0);
    app.SetMasterVolume(0.25);
    EXPECT_EQ(app.GetSfxVolume(), 0.25);
}

TEST(AppDesktop, ClipboardCarriesLatinOneText)
{
    plat::NullPlatform platform;
    ZelkAppBase app;
    app.CopyToClipboard("\xE9t\xE9");
    EXPECT_EQ(platform.shell.clipboard, L"\u00E9t\u00E9");
    EXPECT_EQ(app.GetClipboardText(), "\xE9t\xE9");
    platform.shell.clipboard = L"a\u20ACb\U0001F600";
    EXPECT_EQ(app.GetClipboardText(), "a?b?");
    // While a demo plays, the clipboard is not used.
    app.mPlayingDemo = true;
    app.CopyToClipboard("demo");
    EXPECT_EQ(app.GetClipboardText(), "");
    app.mPlayingDemo = false;
    platform.shell.clipboardAvailable = false;
    app.CopyToClipboard("lost");
    EXPECT_EQ(app.GetClipboardText(), "");
    EXPECT_EQ(platform.shell.clipboard, L"a\u20ACb\U0001F600");
}

TEST(AppDesktop, WebLinks)
{
    plat::NullPlatform platform;
    ZelkAppBase app;
    EXPECT_TRUE(app.OpenUrl("http://example.com/a", false));
    EXPECT_TRUE(app.OpenUrl("http://example.com/a", false)); // still pending: not again
    EXPECT_EQ(platform.shell.OpenedUrls().size(), 1u);
    EXPECT_TRUE(app.OpenUrl("http://example.com/b", false));
    EXPECT_EQ(platform.shell.OpenedUrls().size(), 2u);
    EXPECT_TRUE(app.mUrlPending);
    EXPECT_EQ(app.mPendingUrl, "http://example.com/b");

    platform.shell.openSucceeds = false;
    EXPECT_FALSE(app.OpenUrl("http://example.com/c", false));
    EXPECT_FALSE(app.mUrlPending);

    platform.shell.openSucceeds = true;
    EXPECT_TRUE(app.OpenUrl("http://example.com/d", true));
    app.OnUrlOpened("http://example.com/d");
    EXPECT_FALSE(app.mUrlPending);
    EXPECT_TRUE(app.mShuttingDown) << "quit after the link was opened";
}

TEST(AppDesktop, ScreenErrorLogStartsAfreshEachRun)
{
    plat::NullPlatform platform;
    ZelkAppBase app;
    InFolder folder;
    folder.dir.Write("ScrError.txt", "a line of an earlier run\n");
    platform.clock.Advance(1234);
    app.LogScreenError("first");
    app.mScreenSaverMode = true;
    EXPECT_EQ(app.MsgBox("second", "caption", 0), plat::IDOK);
    EXPECT_TRUE(platform.messageBoxes.Log().empty());
    std::istringstream lines(folder.dir.Read("ScrError.txt"));
    std::string line;
    std::vector<std::string> all;
    while (std::getline(lines, line))
        all.push_back(line);
    ASSERT_EQ(all.size(), 2u);
    EXPECT_TRUE(std::regex_match(all[0], std::regex("first [0-2][0-9]:[0-5][0-9]:[0-6][0-9] [0-9]+"))) << all[0];
    EXPECT_TRUE(std::regex_match(all[1], std::regex("second [0-9:]{8} [0-9]+"))) << all[1];
}

TEST(AppDesktop, ProductVersion)
{
    plat::NullPlatform platform;
    ZelkAppBase app;
    EXPECT_EQ(app.GetProductVersion("game"), "");
    platform.shell.versionValues[{"game", "\\StringFileInfo\\040904E4\\ProductVersion"}] = "1.2";
    EXPECT_EQ(app.GetProductVersion("game"), "1.2");
    platform.shell.versionValues[{"game", "\\StringFileInfo\\040904B0\\ProductVersion"}] = "1.3";
    EXPECT_EQ(app.GetProductVersion("game"), "1.3");
    platform.modules.SetAbsent("version.dll", true);
    EXPECT_EQ(app.GetProductVersion("game"), "");
}

TEST(AppDesktop, WholeFiles)
{
    plat::NullPlatform platform;
    ZelkAppBase app;
    testsupport::TempDir dir;
    const std::string bytes("a\0b\r\nc", 6);
    dir.Write("data.bin", bytes);
    Buffer disk;
    ASSERT_TRUE(app.ReadBufferFromFile(dir / "data.bin", disk, false));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(disk.GetDataPtr()), size_t(disk.GetDataLen())), bytes);

    FakePakInterface pak;
    ASSERT_TRUE(pak.Publish());
    pak.Add("packed\\data.bin", bytes);
    Buffer packed;
    ASSERT_TRUE(app.ReadBufferFromFile("packed\\data.bin", packed, false));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(packed.GetDataPtr()), size_t(packed.GetDataLen())), bytes);

    Buffer kept;
    kept.WriteByte(7);
    EXPECT_FALSE(app.ReadBufferFromFile(dir / "missing.bin", kept, false));
    EXPECT_EQ(kept.GetDataLen(), 1) << "untouched";
    // A folder opens but gives no bytes: the short read is a failure.
    EXPECT_FALSE(app.ReadBufferFromFile(dir.Path(), kept, false));
    EXPECT_EQ(kept.GetDataLen(), 1);
}

#include "framework/graphics/AnimInfo.h"
#include "framework/resources/ResourceManager.h"
#include "platform/NullPlatform.h"
#include "tests/framework/resources/FakePakInterface.h"
#include "tests/framework/resources/FakeResourceHost.h"
#include "tests/framework/resources/ImageTestSupport.h"

#include <gtest/gtest.h>

#include <climits>

using Zelk::ResourceManager;
using Zelk::ResourceManagerException;

namespace {

const char* kManifest = "properties\\resources.xml";

// The manager with its records in view.
class TestManager : public ResourceManager {
public:
    explicit TestManager(Zelk::ResourceHost* host) : ResourceManager(nullptr, host) {}

    ImageRes* Img(const std::string& id) { return static_cast<ImageRes*>(Find(mImageMap, id)); }
    SoundRes* Snd(const std::string& id) { return static_cast<SoundRes*>(Find(mSoundMap, id)); }
    FontRes* Fnt(const std::string& id) { return static_cast<FontRes*>(Find(mFontMap, id)); }
    std::vector<std::string> Group(const std::string& group)
    {
        std::vector<std::string> ids;
        for (BaseRes* r : mResGroupMap[group])
            ids.push_back(r->mId);
        return ids;
    }

private:
    static BaseRes* Find(ResMap& map, const std::string& id)
    {
        auto it = map.find(id);
        return it == map.end() ? nullptr : it->second;
    }
};

class ResourceManagerTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(pak.Publish()); }

    // Reads a manifest served from the archive under its usual name.
    bool Parse(TestManager& manager, const std::string& text)
    {
        pak.Add(kManifest, text);
        return manager.ParseResourcesFile(kManifest);
    }

    plat::NullPlatform platform;
    testsupport::TempDir dir;
    FakePakInterface pak;
    FakeResourceHost host;
};

std::string InFile(const std::string& text, int line)
{
    return text + " on Line " + std::to_string(line) + " in File 'properties\\resources.xml'";
}

TEST_F(ResourceManagerTest, ManifestErrorsGiveTheFirstTextWithLineAndFile)
{
    const std::string m = "<ResourceManifest>\n";
    struct Case {
        std::string manifest;
        std::string error; // empty: no error
    } cases[] = {
        {"<Manifest>\n</Manifest>", InFile("Expecting ResourceManifest tag", 1)},
        {"", InFile("Expecting ResourceManifest tag", 1)},
        {"<Manifest>\n<Bitmap/>", InFile("Expecting ResourceManifest tag", 1)},
        {m + "<Resources id=\"a\">\n<Image id=\"x\" path=\"p\"/>\n</Resources>\n<Resources id=\"b\">\n"
             "<Image id=\"x\" path=\"q\" rows=\"2\" anim=\"loop\" framedelay=\"3\" alphaimage=\"m\"/>",
         InFile("Resource already defined.", 6)},
        {m + "<Resources id=\"a\">\n<Image id=\"x\" path=\"p\"/>\n<Sound id=\"x\" path=\"p\" volume=\"1\"/>\n"
             "<Font id=\"x\" path=\"!sys:Arial\" size=\"9\"/>\n</Resources>\n</ResourceManifest>",
         ""},
        {m + "<Resources id=\"a\">\n<Image path=\"a\"><Frame/></Image>", InFile("Unexpected element found.", 3)},
        {m + "<Resources id=\"a\">\n<Image id=\"x\"/>", InFile("No path specified.", 3)},
        {m + "<Resources id=\"a\">\n<Sound path=\"\"/>", InFile("No path specified.", 3)},
        {m + "<Resources>\n<Image path=\"a\"/>", InFile("No id specified.", 2)},
        {m + "<Resources id=\"a\">\n<Bitmap path=\"x\"/>", InFile("Invalid Section 'Bitmap'", 3)},
        {m + "<Other/>", InFile("Invalid Section 'Other'", 2)},
        {m + "<Resources id=\"a\">\n  some text\n</Resources>", InFile("Element Not Expected 'some text'", 4)},
        {m + "<Resources id=\"a\">\n<Image path=\"a\" anim=\"bounce\"/>", InFile("Invalid animation type.", 3)},
        {m + "<Resources id=\"a\">\n<Image path=\"a\" anim=\"PingPong\"/>", ""},
        {m + "<Resources id=\"a\">\n<Font path=\"!sys:Arial\"/>", InFile("SysFont needs point size", 3)},
        {m + "<Resources id=\"a\">\n<Font path=\"!sys:Arial\" size=\"0\"/>", InFile("SysFont needs point size", 3)},
        {m + "<Resources id=\"a\">\n<Font path=\"!sys:Arial\" size=\"big\"/>", InFile("SysFont needs point size", 3)},
        {m + "<Resources id=\"a\">\n</Resource>", InFile("End 'Resource' Doesn't Match Start 'Resources'", 3)},
        {m + "<!-- groups follow -->\n<?xml version=\"1.0\"?>\n<Resources id=\"a\">\n</Resources>\n</ResourceManifest>", ""},
    };
    for (const Case& c : cases) {
        FakeResourceHost fresh;
        TestManager manager(&fresh);
        EXPECT_EQ(Parse(manager, c.manifest), c.error.empty()) << c.manifest;
        EXPECT_EQ(manager.GetErrorText(), c.error) << c.manifest;
    }

    // A missing manifest has no line, so no place is added.
    TestManager manager(&host);
    EXPECT_FALSE(manager.ParseResourcesFile("properties\\missing.xml"));
    EXPECT_EQ(manager.GetErrorText(), "Resource file not found: properties\\missing.xml");
}

TEST_F(ResourceManagerTest, DefaultsPrefixPathsAndIdsAndProgramImagesAreSkipped)
{
    TestManager manager(&host);
    ASSERT_TRUE(Parse(manager,
                      "<ResourceManifest>\n<Resources id=\"Init\">\n"
                      "<SetDefaults path=\"images\\\" idprefix=\"IMAGE_\"/>\n"
                      "<Image path=\"logo\"/>\n"
                      "<Image path=\"!program\" id=\"made\"/>\n"
                      "<Image path=\"sub\\back.png\" id=\"back\" alphaimage=\"back_a\"/>\n"
                      "<SetDefaults path=\"\" idprefix=\"snd/\"/>\n"
                      "<Sound path=\"sounds\\click.wav\"/>\n"
                      "</Resources>\n<Resources id=\"Later\">\n"
                      "<Image path=\"x\\y.z.png\"/>\n"
                      "</Resources>\n</ResourceManifest>\n"))
        << manager.GetErrorText();

    EXPECT_EQ(manager.Group("Init"),
              std::vector<std::string>({"IMAGE_logo", "IMAGE_made", "IMAGE_back", "sndclick"}));
    EXPECT_EQ(manager.Group("Later"), std::vector<std::string>({"sndy.z"})); // defaults carry over
    EXPECT_EQ(manager.Img("IMAGE_logo")->mPath, "images/logo");
    EXPECT_EQ(manager.Img("IMAGE_made")->mPath, "!program");
    EXPECT_EQ(manager.Img("IMAGE_back")->mPath, "images/sub\\back.png");
    EXPECT_EQ(manager.Img("IMAGE_back")->mAlphaImage, "images/back_a");
    EXPECT_EQ(manager.Snd("sndclick")->mPath, "sounds\\click.wav"); // an empty default path stays empty
    EXPECT_EQ(manager.Img("sndy.z")->mResGroup, "Later");

    host.AddImageFile("images/logo", 1, 1, {0xFF000000});
    host.AddImageFile("images/sub\\back.png", 1, 1, {0xFF000000});
    dir.Write("x.tga", Tga(2, 32, 0x28, 1, 1, {0xFFFFFFFF}));
    manager.Img("IMAGE_back")->mAlphaImage = dir / "x";
    host.sound.files.insert("sounds\\click.wav");
    ASSERT_TRUE(manager.LoadResources("Init")) << manager.GetErrorText();
    EXPECT_TRUE(manager.IsGroupLoaded("Init"));
    EXPECT_EQ(std::count(host.log.begin(), host.log.end(), "GetSharedImage !program"), 0);
    EXPECT_EQ(manager.Img("IMAGE_made")->mImage.GetImage(), nullptr);
    EXPECT_NE(manager.GetImageThrow("IMAGE_logo").GetImage(), nullptr);
}

TEST_F(ResourceManagerTest, TheFirstErrorIsKeptUntilTheNextGroupLoad)
{
    TestManager manager(&host);
    ASSERT_TRUE(Parse(manager, "<ResourceManifest>\n<Resources id=\"A\">\n<Image id=\"gone\" path=\"missing\"/>\n"
                               "<Image id=\"later\" path=\"ok\"/>\n</Resources>\n<Resources id=\"B\">\n"
                               "<Image id=\"ok\" path=\"ok\"/>\n</Resources>\n</ResourceManifest>"));
    host.AddImageFile("ok", 2, 1, {0xFF000001, 0xFF000002});

    EXPECT_FALSE(manager.LoadResources("A"));
    EXPECT_EQ(manager.GetErrorText(), "Failed to load image: missing"); // no place outside parsing
    EXPECT_FALSE(manager.IsGroupLoaded("A"));
    EXPECT_EQ(manager.Img("later")->mImage.GetImage(), nullptr); // loading stopped at the failure
    EXPECT_FALSE(manager.Fail("second"));
    try {
        manager.GetImageThrow("ok");
        FAIL() << "no exception";
    } catch (const ResourceManagerException& e) {
        EXPECT_STREQ(e.what(), "Failed to load image: missing");
    }
    EXPECT_FALSE(manager.LoadNextResource());

    EXPECT_TRUE(manager.LoadResources("B"));
    EXPECT_EQ(manager.GetErrorText(), "");
    EXPECT_EQ(manager.GetImageThrow("ok").GetImage()->mWidth, 2);

    // Without an earlier failure the look-ups throw their own texts.
    EXPECT_THROW(manager.GetSoundThrow("zz"), ResourceManagerException);
    EXPECT_EQ(manager.GetErrorText(), "Sound resource not found: zz");
    manager.LoadResources("B");
    EXPECT_THROW(manager.GetFontThrow("ok"), ResourceManagerException);
    EXPECT_EQ(manager.GetErrorText(), "Font resource not found: ok");
}

TEST_F(ResourceManagerTest, ATruncatedManifestKeepsWhatItDeclared)
{
    TestManager manager(&host);
    EXPECT_TRUE(Parse(manager, "<ResourceManifest>\n<Resources id=\"a\">\n<Image id=\"x\" path=\"x\"/>\n"
                               "<Sound id=\"s\" path=\"s.wav\"/>\n"));
    EXPECT_EQ(manager.GetErrorText(), "");
    EXPECT_EQ(manager.Group("a"), std::vector<std::string>({"x", "s"}));
}

class ImageResourceTest : public ResourceManagerTest {
protected:
    // A 4 x 2 opaque sheet and masks next to it on disk.
    void SetUp() override
    {
        ResourceManagerTest::SetUp();
        for (int i = 0; i < 8; ++i)
            sheet.push_back(0xFF000000u | uint32_t(i) << 16 | 0x0700u | uint32_t(i));
        host.AddImageFile(dir / "sheet", 4, 2, sheet);
        std::vector<uint32_t> mask, cell = {0x00000011, 0xFFFFFF22};
        for (int i = 0; i < 8; ++i)
            mask.push_back(0xFFFFFF00u | uint32_t(i * 16));
        dir.Write("mask.tga", Tga(2, 32, 0x28, 4, 2, mask));
        dir.Write("small.tga", Tga(2, 32, 0x28, 2, 2, mask));
        dir.Write("cell.tga", Tga(2, 32, 0x28, 2, 1, cell));
    }

    std::string Manifest(const std::string& images)
    {
        return "<ResourceManifest>\n<Resources id=\"g\">\n<SetDefaults path=\"" + dir.Path() + "\"/>\n" + images +
               "</Resources>\n</ResourceManifest>";
    }

    static std::vector<uint32_t> Bits(Zelk::MemoryImage* image)
    {
        uint32_t* bits = image->GetBits();
        return std::vector<uint32_t>(bits, bits + image->PixelCount());
    }

    std::vector<uint32_t> sheet;
};

// Hostile delays: each is cut at the longest delay a frame may have and the
// total stops at INT_MAX instead of wrapping.
TEST_F(ResourceManagerTest, HugeAnimationDelaysNeitherWrapNorFail)
{
    const int cap = Zelk::AnimInfo::kMaxFrameDelay;
    struct Case {
        std::string attributes;
        std::vector<int> perFrame;
        int total;
    } cases[] = {
        {"cols=\"3\" anim=\"loop\" framedelay=\"1000000000\"", {}, 3 * cap},
        {"cols=\"2\" anim=\"loop\" perframedelay=\"2147483647,5\"", {cap, 5}, cap + 5},
        {"cols=\"2\" anim=\"once\" begindelay=\"2147483647\" enddelay=\"2147483647\"", {cap, cap}, 2 * cap},
        {"rows=\"2000000000\" anim=\"loop\" framedelay=\"2147483647\"", {}, INT_MAX},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.attributes);
        TestManager manager(&host);
        ASSERT_TRUE(Parse(manager, "<ResourceManifest><Resources id=\"g\"><Image id=\"A\" path=\"a\" " +
                                       c.attributes + "/></Resources></ResourceManifest>"));
        const Zelk::AnimInfo& anim = manager.Img("A")->mAnimInfo;
        EXPECT_EQ(anim.mPerFrameDelay, c.perFrame);
        EXPECT_EQ(anim.mTotalAnimTime, c.total);
        EXPECT_GT(anim.mTotalAnimTime, 0);
    }
}

TEST_F(ImageResourceTest, AlphaImagesAndGridsBecomeTheAlphaOfANewImage)
{
    TestManager manager(&host);
    ASSERT_TRUE(Parse(manager, Manifest("<Image id=\"a\" path=\"sheet\" alphaimage=\"mask\" alphacolor=\"12abCD\"/>\n")));
    ASSERT_TRUE(manager.LoadResources("g")) << manager.GetErrorText();
    LoggingImage* image = host.SharedImage(dir / "sheet");
    std::vector<uint32_t> expect;
    for (int i = 0; i < 8; ++i)
        expect.push_back((sheet[size_t(i)] & 0xFFFFFF) | uint32_t(i * 16) << 24);
    EXPECT_EQ(Bits(image), expect);
    EXPECT_EQ(host.log, std::vector<std::string>({"GetSharedImage " + dir.Path() + "/sheet", "MarkBitsChanged",
                                                  "AnalyzeBits", "Palettize", "AnalyzeBits"}));
    EXPECT_EQ(host.alphaColourAtLoad, std::vector<uint32_t>{0x12ABCD});
    EXPECT_EQ(ImageLib::gAlphaImageColor, 0xFFFFFFu);

    // A grid mask is one cell; rows and columns below 1 count as 1 (the
    // cell is then the whole image).
    struct Case {
        std::string image;
        std::vector<uint32_t> alpha;
    } cases[] = {
        {"path=\"sheet\" cols=\"2\" rows=\"2\"", {0x11, 0x22, 0x11, 0x22, 0x11, 0x22, 0x11, 0x22}},
        {"path=\"wide\" cols=\"0\" rows=\"-3\"", {0x11, 0x22}},
        {"path=\"sheet\"", {}},
    };
    for (const Case& c : cases) {
        FakeResourceHost fresh;
        fresh.AddImageFile(dir / "sheet", 4, 2, sheet);
        fresh.AddImageFile(dir / "wide", 2, 1, {0xFF000000, 0xFF000000});
        TestManager m(&fresh);
        ASSERT_TRUE(Parse(m, Manifest("<Image id=\"a\" nopal=\"1\" alphagrid=\"cell\" " + c.image + "/>\n")));
        bool ok = m.LoadResources("g");
        if (c.alpha.empty()) {
            EXPECT_FALSE(ok);
            EXPECT_EQ(m.GetErrorText(), "GridAlphaImage size mismatch between " + dir.Path() + "/sheet and " +
                                            dir.Path() + "/cell");
            EXPECT_EQ(fresh.Shared(dir / "sheet")->mRefCount, 0);
            continue;
        }
        ASSERT_TRUE(ok) << m.GetErrorText();
        LoggingImage* loaded = fresh.SharedImage(m.Img("a")->mPath);
        std::vector<uint32_t> alpha;
        for (uint32_t p : Bits(loaded))
            alpha.push_back(p >> 24);
        EXPECT_EQ(alpha, c.alpha) << c.image;
        EXPECT_EQ(loaded->mNumRows * loaded->mNumCols, c.alpha.size() == 2 ? 1 : 4);
    }
}

TEST_F(ImageResourceTest, AlphaFailuresAndSharedImagesThatExistAlready)
{
    struct Case {
        std::string image;
        std::string error;
    } cases[] = {
        {"<Image path=\"sheet\" alphaimage=\"small\"/>",
         "AlphaImage size mismatch between " + dir.Path() + "/sheet and " + dir.Path() + "/small"},
        {"<Image path=\"sheet\" alphaimage=\"nothing\"/>", "Failed to load image: " + dir.Path() + "/nothing"},
        {"<Image path=\"absent\"/>", "Failed to load image: " + dir.Path() + "/absent"},
    };
    for (const Case& c : cases) {
        FakeResourceHost fresh;
        fresh.AddImageFile(dir / "sheet", 4, 2, sheet);
        TestManager m(&fresh);
        ASSERT_TRUE(Parse(m, Manifest(c.image + "\n")));
        EXPECT_FALSE(m.LoadResources("g"));
        EXPECT_EQ(m.GetErrorText(), c.error);
    }

    // The second record of the same file finds the shared image made: no
    // merge, but its layout, animation and flags are applied.
    TestManager manager(&host);
    ASSERT_TRUE(Parse(manager, Manifest("<Image id=\"a\" path=\"sheet\" nopal=\"1\"/>\n"
                                        "<Image id=\"b\" path=\"SHEET\" alphaimage=\"mask\" rows=\"2\" cols=\"4\" "
                                        "a4r4g4b4=\"\" minsubdivide=\"\" nopal=\"\" anim=\"Loop\" framedelay=\"5\" "
                                        "begindelay=\"9\" perframedelay=\"1, 2,x,4\" framemap=\"0,1,,2\"/>\n")));
    ASSERT_TRUE(manager.LoadResources("g")) << manager.GetErrorText();
    LoggingImage* image = host.SharedImage(dir / "sheet");
    EXPECT_EQ(Bits(image), sheet);
    EXPECT_EQ(host.Shared(dir / "sheet")->mRefCount, 2);
    EXPECT_EQ(image->mNumRows, 2);
    EXPECT_EQ(image->mNumCols, 4);
    EXPECT_EQ(image->mTextureFlags, 8u | 4u | 1u);
    ASSERT_NE(image->mAnimInfo, nullptr);
    EXPECT_EQ(image->mAnimInfo->mAnimType, Zelk::ANIM_LOOP);
    EXPECT_EQ(image->mAnimInfo->mFrameDelay, 5);
    EXPECT_EQ(image->mAnimInfo->mFrameMap, std::vector<int>({0, 1, 0, 2}));
    EXPECT_EQ(image->mAnimInfo->mPerFrameDelay, std::vector<int>({9, 2, 5, 4})); // 0 gives the frame delay
    EXPECT_EQ(image->mAnimInfo->mTotalAnimTime, 20);

    manager.DeleteResources("g");
    EXPECT_EQ(host.Shared(dir / "sheet")->mRefCount, 0);
    EXPECT_FALSE(manager.IsGroupLoaded("g"));
    EXPECT_THROW(manager.GetImageThrow("a"), ResourceManagerException);
}

TEST_F(ImageResourceTest, ReductionsFollowTheManifestSwitches)
{
    struct Case {
        std::string attributes;
        bool is3D;
        std::vector<std::string> log; // after GetSharedImage
        bool discarded, palettized;
    } cases[] = {
        {"", false, {"AnalyzeBits", "Palettize", "AnalyzeBits"}, false, true},
        {"nopal=\"1\" nobits=\"1\"", false, {"AnalyzeBits", "DiscardBits"}, true, false},
        {"nopal=\"1\" nobits3d=\"1\"", false, {"AnalyzeBits"}, false, false},
        {"nopal=\"1\" nobits3d=\"1\"", true, {"AnalyzeBits", "DiscardBits"}, true, false},
        {"nopal=\"1\" nobits2d=\"1\"", false, {"AnalyzeBits", "DiscardBits"}, true, false},
        {"nopal=\"1\" nobits2d=\"1\"", true, {"AnalyzeBits"}, false, false},
    };
    for (const Case& c : cases) {
        FakeResourceHost fresh;
        fresh.AddImageFile(dir / "sheet", 4, 2, sheet);
        fresh.is3D = c.is3D;
        TestManager m(&fresh);
        ASSERT_TRUE(Parse(m, Manifest("<Image path=\"sheet\" " + c.attributes + "/>\n")));
        ASSERT_TRUE(m.LoadResources("g"));
        LoggingImage* image = fresh.SharedImage(dir / "sheet");
        EXPECT_EQ(std::vector<std::string>(fresh.log.begin() + 1, fresh.log.end()), c.log) << c.attributes;
        EXPECT_EQ(image->mBitsDiscarded, c.discarded) << c.attributes;
        EXPECT_EQ(image->mPalettized, c.palettized) << c.attributes;
    }

    // ddsurface: an image without semi-transparent pixels wants a surface and
    // lets its memory pixels go; once it has a surface it is only marked
    // palettised.
    host.AddImageFile(dir / "soft", 1, 2, {0x80FFFFFF, 0xFF000000});
    TestManager manager(&host);
    ASSERT_TRUE(Parse(manager, Manifest("<Image id=\"a\" path=\"sheet\" ddsurface=\"1\"/>\n"
                                        "<Image id=\"b\" path=\"soft\" ddsurface=\"1\"/>\n")));
    ASSERT_TRUE(manager.LoadResources("g"));
    LoggingImage* opaque = host.SharedImage(dir / "sheet");
    LoggingImage* soft = host.SharedImage(dir / "soft");
    EXPECT_TRUE(host.surfaceWanted.count(opaque) && opaque->mBitsDiscarded);
    EXPECT_TRUE(!host.surfaceWanted.count(soft) && !soft->mBitsDiscarded);
    manager.DeleteResources("g");
    host.withSurface = {opaque, soft};
    opaque->mPalettized = soft->mPalettized = false;
    host.log.clear();
    ASSERT_TRUE(manager.LoadResources("g"));
    EXPECT_EQ(host.log, std::vector<std::string>({"GetSharedImage " + dir.Path() + "/sheet", "AnalyzeBits",
                                                  "AnalyzeBits", "DiscardBits", "GetSharedImage " + dir.Path() + "/soft",
                                                  "AnalyzeBits", "AnalyzeBits"}));
    EXPECT_TRUE(opaque->mPalettized && soft->mPalettized);
}

TEST_F(ImageResourceTest, ReplacedImagesAreOwnedAndLoadedAgainOnRequest)
{
    TestManager manager(&host);
    ASSERT_TRUE(Parse(manager, Manifest("<Image id=\"a\" path=\"sheet\"/>\n<Image id=\"p\" path=\"!program\"/>\n")));
    EXPECT_FALSE(manager.ReplaceImage("nothing", nullptr));
    Zelk::Image* shared = manager.GetImageOrLoad("a").GetImage();
    ASSERT_NE(shared, nullptr);
    EXPECT_EQ(manager.GetImageOrLoad("a").GetImage(), shared);
    EXPECT_EQ(host.Shared(dir / "sheet")->mRefCount, 1);

    auto* own = new Zelk::MemoryImage(nullptr);
    ASSERT_TRUE(manager.ReplaceImage("a", own));
    EXPECT_EQ(host.Shared(dir / "sheet")->mRefCount, 0);
    EXPECT_EQ(manager.GetImageThrow("a").GetImage(), own);
    EXPECT_EQ(manager.GetImageOrLoad("a").GetImage(), shared); // not a shared image: loaded again, own deleted

    EXPECT_EQ(manager.GetImageOrLoad("p").GetImage(), nullptr);
    ASSERT_TRUE(manager.ReplaceImage("p", new Zelk::MemoryImage(nullptr)));
    EXPECT_EQ(manager.GetImageOrLoad("p").GetImage(), nullptr);
    EXPECT_EQ(manager.GetImageOrLoad("unknown").GetImage(), nullptr);
}

TEST_F(ResourceManagerTest, SoundsGetFreeIdsVolumesAndPans)
{
    TestManager manager(&host);
    ASSERT_TRUE(Parse(manager, "<ResourceManifest>\n<Resources id=\"S\">\n"
                               "<Sound id=\"a\" path=\"a.wav\" volume=\"0.5\" pan=\"-300\"/>\n"
                               "<Sound id=\"b\" path=\"b.wav\" volume=\"loud\" pan=\"0\"/>\n"
                               "<Sound id=\"c\" path=\"c.wav\" volume=\"0\"/>\n"
                               "</Resources>\n<Resources id=\"T\">\n<Sound id=\"d\" path=\"a.wav\"/>\n"
                               "<Sound id=\"e\" path=\"missing.wav\"/>\n</Resources>\n</ResourceManifest>"));
    FakeSoundManager& sound = host.sound;
    sound.files = {"a.wav", "b.wav", "c.wav"};
    ASSERT_TRUE(manager.LoadResources("S")) << manager.GetErrorText();
    int a = manager.GetSoundThrow("a"), b = manager.GetSoundThrow("b"), c = manager.GetSoundThrow("c");
    EXPECT_EQ(sound.volumes, (std::map<int, double>{{a, 0.5}, {c, 0.0}}));
    EXPECT_EQ(sound.pans, (std::map<int, int>{{a, -300}}));
    EXPECT_EQ(sound.sounds.at(b), "b.wav");

    EXPECT_FALSE(manager.LoadResources("T"));
    EXPECT_EQ(manager.GetErrorText(), "Failed to load sound: missing.wav");

    manager.DeleteResources("S");
    EXPECT_EQ(sound.sounds.size(), 1u); // only T's "d"
    sound.ids = 1;                      // one id, and "d" holds it
    EXPECT_FALSE(manager.LoadResources("S"));
    EXPECT_EQ(manager.GetErrorText(), "Out of free sound ids");
}

TEST_F(ResourceManagerTest, FontsAreSystemFontsImageFontsOrCopies)
{
    std::string manyTags;
    for (int i = 0; i < 300; ++i)
        manyTags += "tag" + std::to_string(i) + ",";
    const int liveBefore = FakeFont::live;
    {
        TestManager manager(&host);
        ASSERT_TRUE(Parse(manager, "<ResourceManifest>\n<Resources id=\"F\">\n"
                                   "<Font id=\"sys\" path=\"!sys:Arial\" size=\"12\" bold=\"\" shadow=\"yes\"/>\n"
                                   "<Font id=\"img\" path=\"fonts\\big.txt\" tags=\"red, big\tsmall&cr;x\"/>\n"
                                   "<Font id=\"copy\" path=\"!ref:img\" tags=\"blue\"/>\n"
                                   "<Font id=\"syscopy\" path=\"!ref:sys\" tags=\"ignored\"/>\n"
                                   "<Font id=\"many\" path=\"fonts\\many.txt\" tags=\"" + manyTags + "\"/>\n"
                                   "</Resources>\n"
                                   "<Resources id=\"Broken\">\n<Font path=\"fonts\\bad.txt\"/>\n</Resources>\n"
                                   "<Resources id=\"NoRef\">\n<Font path=\"!ref:nothing\"/>\n</Resources>\n"
                                   "<Resources id=\"Image\">\n<Font path=\"f.txt\" image=\"f.png\"/>\n</Resources>\n"
                                   "</ResourceManifest>"));
        ASSERT_TRUE(manager.LoadResources("F")) << manager.GetErrorText();

        auto font = [&](const char* id) { return static_cast<FakeFont*>(manager.GetFontThrow(id)); };
        FakeFont* sys = font("sys");
        EXPECT_TRUE(sys->sys);
        EXPECT_EQ(sys->face, "Arial");
        EXPECT_EQ(sys->size, 12);
        EXPECT_TRUE(sys->bold && sys->shadow && !sys->italic && !sys->underline && !sys->simulateBold);
        EXPECT_EQ(font("img")->tags, std::vector<std::string>({"red", "big", "small", "x"}));
        EXPECT_TRUE(font("img")->prepared);
        EXPECT_NE(font("copy"), font("img"));
        EXPECT_EQ(font("copy")->face, "fonts\\big.txt");
        EXPECT_EQ(font("copy")->tags, std::vector<std::string>({"red", "big", "small", "x", "blue"}));
        EXPECT_TRUE(font("syscopy")->sys && font("syscopy")->tags.empty()); // not an image font
        EXPECT_EQ(font("many")->tags.size(), 300u);

        host.brokenFonts.insert("fonts\\bad.txt");
        const int live = FakeFont::live;
        struct Case {
            const char* group;
            const char* error;
        } cases[] = {
            {"Broken", "Failed to load font: fonts\\bad.txt"},
            {"NoRef", "Ref font not found: nothing"},
            {"Image", "Failed to load font: f.txt"},
        };
        for (const Case& c : cases) {
            EXPECT_FALSE(manager.LoadResources(c.group));
            EXPECT_EQ(manager.GetErrorText(), c.error);
        }
        EXPECT_EQ(FakeFont::live, live); // the broken font was deleted
        manager.DeleteResources("");
        EXPECT_EQ(FakeFont::live, liveBefore);
        EXPECT_THROW(manager.GetFontThrow("sys"), ResourceManagerException);
        ASSERT_TRUE(manager.LoadResources("F"));
    }
    EXPECT_EQ(FakeFont::live, liveBefore); // the manager deletes what it holds
}

} // namespace

#include "tests/framework/resources/FakePakInterface.h"
#include "tests/framework/resources/ImageTestSupport.h"
#include "tools/imagefixtures/FixturePattern.h"

#include <cstring>

namespace {

// A codec library that records how the reader drives it.
struct FakeCodec {
    static int version;
    static const char* missing;
    static std::string options;
    static int pitch, size;
    static std::string streamBytes;
    static bool closed;

    static int GetVersion() { return version; }
    static void* OpenCustom(void* user, plat::J2kCallbacks* cb)
    {
        // Read the whole stream through the callback record, from the start.
        char buf[3];
        streamBytes.clear();
        cb->seek(user, 0);
        for (int n; (n = cb->read(buf, sizeof buf, user)) > 0;)
            streamBytes.append(buf, size_t(n));
        cb->close(user);
        return &version;
    }
    static void* OpenFile(const char*) { return nullptr; }
    static void Close(void*) { closed = true; }
    static int GetInfo(void*, int* w, int* h, int* c)
    {
        *w = 3;
        *h = 2;
        *c = 3;
        return 0;
    }
    static int GetDimensions(void*, int, int* w, int* h)
    {
        *w = 3;
        *h = 2;
        return 0;
    }
    static int Decode(void*, unsigned char** buffer, int* bufferSize, const char* opts, int* rowPitch)
    {
        options = opts;
        pitch = *rowPitch;
        size = *bufferSize;
        for (int i = 0; i < *bufferSize; ++i)
            (*buffer)[i] = (unsigned char)(i % 4 == 3 ? 0x10 : i);
        return 0;
    }
    static int GetLastError() { return 0; }
    static const char* GetErrorStr(int) { return ""; }

    static void* Export(const char* name)
    {
        if (missing && std::strcmp(name, missing) == 0)
            return nullptr;
        static const struct {
            const char* name;
            void* fn;
        } table[] = {
            {"_J2K_getVersion@0", reinterpret_cast<void*>(GetVersion)},
            {"_J2K_OpenCustom@8", reinterpret_cast<void*>(OpenCustom)},
            {"_J2K_OpenFile@4", reinterpret_cast<void*>(OpenFile)},
            {"_J2K_Close@4", reinterpret_cast<void*>(Close)},
            {"_J2K_GetInfo@16", reinterpret_cast<void*>(GetInfo)},
            {"_J2K_GetResolutionDimensions@16", reinterpret_cast<void*>(GetDimensions)},
            {"_J2K_Decode@20", reinterpret_cast<void*>(Decode)},
            {"_J2K_getLastError@0", reinterpret_cast<void*>(GetLastError)},
            {"_J2K_getErrorStr@4", reinterpret_cast<void*>(GetErrorStr)},
        };
        for (const auto& e : table)
            if (std::strcmp(e.name, name) == 0)
                return e.fn;
        return nullptr;
    }
};
int FakeCodec::version = 0x120000;
const char* FakeCodec::missing = nullptr;
std::string FakeCodec::options;
int FakeCodec::pitch = 0, FakeCodec::size = 0;
std::string FakeCodec::streamBytes;
bool FakeCodec::closed = false;

class Jpeg2000Test : public ImageLibTest {
protected:
    void SetUp() override
    {
        FakeCodec::version = 0x120000;
        FakeCodec::missing = nullptr;
        ImageLib::gJ2kExportLookup = FakeCodec::Export;
        dir.Write("a.jp2", "jp2 bytes");
        dir.Write("b.j2k", "j2k bytes");
    }
};

TEST_F(Jpeg2000Test, TheCodecDecodesThroughTheCallbackRecordAndIsMadeOpaque)
{
    ImageLib::LoadJ2kCodec();
    ImagePtr image(ImageLib::GetImage(dir / "a"));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(FakeCodec::streamBytes, "jp2 bytes");
    EXPECT_EQ(FakeCodec::options, "bpp=4,rl=0");
    EXPECT_EQ(FakeCodec::pitch, 3 * 4);
    EXPECT_EQ(FakeCodec::size, 3 * 2 * 4);
    EXPECT_TRUE(FakeCodec::closed);
    ASSERT_EQ(image->mWidth, 3);
    EXPECT_EQ(image->mBits[0], 0xFF020100u); // alpha 0x10 forced to 0xFF
    EXPECT_EQ(image->mBits[5], 0xFF161514u);
}

TEST_F(Jpeg2000Test, AnOldOrIncompleteCodecIsUnloadedForGood)
{
    struct Case {
        int version;
        const char* missing;
    } cases[] = {{0x11FFFF, nullptr}, {0x120000, "_J2K_OpenFile@4"}, {0x120000, "_J2K_getErrorStr@4"}};
    for (const Case& c : cases) {
        ImageLib::LoadJ2kCodec();
        FakeCodec::version = c.version;
        FakeCodec::missing = c.missing;
        EXPECT_EQ(ImagePtr(ImageLib::ReadJpeg2000Image(dir / "b.j2k")), nullptr);
        EXPECT_EQ(ImageLib::gJ2kCodecModule, nullptr);
        FakeCodec::version = 0x120000;
        FakeCodec::missing = nullptr;
        EXPECT_EQ(ImagePtr(ImageLib::ReadJpeg2000Image(dir / "b.j2k")), nullptr);
    }
}

TEST_F(Jpeg2000Test, AnAbsentLibraryLoadsNothingAndOtherKindsStillLoad)
{
    platform.modules.SetAbsent(plat::kJ2kCodecModuleName, true);
    ImageLib::LoadJ2kCodec();
    EXPECT_EQ(ImageLib::gJ2kCodecModule, nullptr);
    EXPECT_EQ(ImagePtr(ImageLib::GetImage(dir / "a")), nullptr);
    dir.Write("a.gif", ImageFixture("transparent.gif"));
    EXPECT_NE(ImagePtr(ImageLib::GetImage(dir / "a")), nullptr);
}

TEST_F(ImageLibTest, TheOpenJpegCodecDecodesCodestreamsAndJp2Files)
{
    ImageLib::LoadJ2kCodec();
    std::vector<uint32_t> expect;
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            expect.push_back(fixtures::PatternPixel(x, y) | 0xFF000000u);
    FakePakInterface pak;
    ASSERT_TRUE(pak.Publish());
    for (const char* name : {"pattern.j2k", "pattern.jp2"}) {
        pak.Add(name, ImageFixture(name));
        ImagePtr image(ImageLib::GetImage(name, false));
        ASSERT_NE(image, nullptr) << name;
        EXPECT_EQ(image->mWidth, 4);
        EXPECT_EQ(Pixels(image.get()), expect) << name;
    }
    pak.Add("junk.j2k", "\xFF\x4F\xFF\x51 not really");
    EXPECT_EQ(ImagePtr(ImageLib::GetImage("junk.j2k", false)), nullptr);
}

} // namespace

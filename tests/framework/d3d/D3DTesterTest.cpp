// The 3D capability test: adapter lists, video memory, texture formats, the
// five rendered tests on the software device and on devices that misbehave.
#include "D3DFixture.h"

#include "framework/graphics/D3DTester.h"
#include "tests/support/TempDir.h"
#include "tests/support/CurrentFolder.h"

#include <ctime>
#include <gtest/gtest.h>
#include <unistd.h>
#include <utime.h>

using namespace Zelk;
using namespace Zelk::test;

namespace {

void SetYear(const std::string& path, int year)
{
    struct tm t = {};
    t.tm_year = year - 1900;
    t.tm_mon = 5;
    t.tm_mday = 15;
    t.tm_hour = 12;
    const time_t when = mktime(&t);
    struct utimbuf times = {when, when};
    ASSERT_EQ(utime(path.c_str(), &times), 0);
}

class Tester3D : public ::testing::Test {
protected:
    Tester3D()
    {
        app.mRegKey = "Test Co\\Test Game";
        tester.mMinVidMemory = 6;
        tester.mRecommendedVidMemory = 14;
        plat::DirectDrawDevice::Get().config.adapter.description = "NVIDIA GeForce4 Ti 4200";
        EXPECT_EQ(plat::DirectDrawCreateEx(&dd), plat::DD_OK);
    }
    ~Tester3D() override
    {
        tester.Cleanup();
        dd->Release();
    }

    // The whole test in an empty game folder.
    void Run()
    {
        testsupport::CurrentFolder here(folder.Path());
        tester.RunAndRecord(0, dd);
    }

    CleanDevices devices;
    plat::NullPlatform platform;
    ZelkAppBase app;
    testsupport::TempDir folder;
    D3DTester tester;
    plat::DirectDraw* dd = nullptr;
};

} // namespace

TEST_F(Tester3D, AdapterLists)
{
    struct Case {
        const char* name;
        const char* allow; // vhw.dat, or null for no file
        const char* deny;  // vhwb.dat
        const char* description;
        int year;
        bool supported;
    } cases[] = {
        {"no lists, a known word in any case", nullptr, nullptr, "ATI RADEON 7500", 2001, true},
        {"no lists, a recent driver", nullptr, nullptr, "Generic VGA", 2003, true},
        {"no lists, an old driver", nullptr, nullptr, "Generic VGA", 1999, false},
        {"\"ati\" needs its blank", nullptr, nullptr, "Matrox Corporation G400", 1999, false},
        {"an allow list of blank lines allows nothing", " \n\t\n\r\n", nullptr, "NVIDIA GeForce2", 2005, false},
        {"an allow list entry", "s3 savage\nradeon\n", nullptr, "ATI RADEON 9800", 1999, true},
        {"missing from the allow list", "radeon\n", nullptr, "3dfx Voodoo3", 2005, false},
        {"a deny entry between blanks, in lower case", nullptr, "  geforce2 mx \r\n", "NVIDIA GEFORCE2 MX 400",
         2005, false},
        {"the deny list wins", "nvidia\n", "mx 400\n", "NVIDIA GeForce2 MX 400", 2005, false},
        {"not on the deny list", nullptr, "geforce2 mx\n", "NVIDIA GeForce4 Ti", 1999, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::TempDir game;
        if (c.allow)
            game.Write("vhw.dat", c.allow);
        if (c.deny)
            game.Write("vhwb.dat", c.deny);
        testsupport::CurrentFolder here(game.Path());
        tester.mDriverYear = c.year;
        EXPECT_EQ(tester.IsAdapterSupported(c.description), c.supported);
    }
}

TEST_F(Tester3D, AdapterIdentityAndDriverYear)
{
    testsupport::TempDir system;
    system.Write("zdrv.dll", "driver");
    plat::DesktopConfig& config = plat::DirectDrawDevice::Get().config;
    config.systemFolder = system.Path();
    config.adapter.description = "Generic VGA";
    config.adapter.driver = "ZDRV.DLL"; // a bare name: found in the system folder, in any case

    SetYear(system / "zdrv.dll", 2001);
    Run();
    EXPECT_EQ(tester.mDriverYear, 2001);
    EXPECT_EQ(tester.mWarning, "Unsupported video card: Generic VGA");
    EXPECT_EQ(tester.mFailureReason, "");

    SetYear(system / "zdrv.dll", 2003);
    Run();
    EXPECT_EQ(tester.mWarning, "");

    // The other interface names the adapter when its module is there.
    plat::D3DSettings::Get().direct3D8Present = true;
    plat::D3DSettings::Get().direct3D8Adapter.description = "RADEON 9600";
    plat::D3DSettings::Get().direct3D8Adapter.driver = system / "none.dll";
    plat::D3DSettings::Get().direct3D8Adapter.guid[0] = 0x42;
    Run();
    EXPECT_EQ(tester.mDescription, "RADEON 9600");
    EXPECT_EQ(tester.mDisplayGUID[0], 0x42);
    EXPECT_EQ(tester.mDriverYear, 0);
    EXPECT_EQ(tester.mWarning, "") << "radeon is a known word";
    platform.modules.SetAbsent("d3d8.dll", true);
    Run();
    EXPECT_EQ(tester.mDescription, "Generic VGA");
}

TEST_F(Tester3D, VideoMemory)
{
    struct Case {
        uint32_t megabytes;
        int32_t failure;
        bool passes;
        const char* reason;
        const char* warning;
    } cases[] = {
        {4, 0, true, "", "Low video memory."}, // 4 + 3 for a 1024 x 768 x 32 desktop = 7
        {2, 0, false, "Not enough video memory.", ""},
        {16, 0, true, "", ""},
        {16, plat::DDERR_NODIRECTDRAWHW, true, "", "GetAvailableVidMem failed: DDERR_NODIRECTDRAWHW"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.megabytes);
        plat::DirectDrawDevice::Get().config.videoMemory = c.megabytes << 20;
        if (c.failure)
            plat::DirectDrawDevice::Get().FailNext("GetAvailableVidMem", c.failure);
        testsupport::CurrentFolder here(folder.Path());
        EXPECT_EQ(tester.Test(0, dd), c.passes);
        EXPECT_EQ(tester.mFailureReason, c.reason);
        EXPECT_EQ(tester.mWarning, c.warning) << "a warning of the memory check survives";
        if (c.passes) {
            EXPECT_TRUE(tester.RunBlendTests());
        }
        EXPECT_EQ(tester.mWarning, c.warning);
        tester.Cleanup();
    }
}

TEST_F(Tester3D, TextureFormats)
{
    std::vector<plat::DDPixelFormat>& formats = plat::D3DSettings::Get().textureFormats;
    formats.erase(formats.begin()); // no A8R8G8B8
    Run();
    EXPECT_EQ(tester.mFailureReason, "");
    EXPECT_EQ(tester.mWarning, "A8R8G8B8 texture format not supported.");
    EXPECT_FALSE(gTestUsesA8R8G8B8) << "the tests ran with A4R4G4B4 textures";

    formats.erase(formats.begin()); // nor A4R4G4B4
    Run();
    EXPECT_EQ(tester.mFailureReason, "A4R4G4B4 and A8R8G8B8 texture formats not supported.");
}

TEST_F(Tester3D, AllFiveTestsPassOnTheSoftwareDevice)
{
    for (int depth : {32, 16}) {
        SCOPED_TRACE(depth);
        plat::DirectDrawDevice::Get().config.bitDepth = depth;
        const int live = plat::DirectDrawDevice::Get().liveSurfaces;
        Run();
        EXPECT_EQ(tester.mFailureReason, "");
        EXPECT_EQ(tester.mWarning, "");
        EXPECT_TRUE(gTestUsesA8R8G8B8);
        EXPECT_EQ(tester.mDD, nullptr) << "its objects go when the run is over";
        EXPECT_EQ(plat::DirectDrawDevice::Get().liveSurfaces, live);
        EXPECT_FALSE(tester.mResultChanged);
    }
}

TEST_F(Tester3D, DevicesThatMisbehave)
{
    using States = plat::D3DRenderStates;
    const uint32_t white = 0xFFFFFFFF;
    struct Case {
        const char* name;
        std::function<uint32_t(const States&, int, int, uint32_t)> distort;
        const char* reason;
        const char* warning;
    } cases[] = {
        {"alpha ignored",
         [](const States& s, int, int, uint32_t p) {
             return s.destBlend == plat::D3DBLEND_INVSRCALPHA && s.alphaOp != plat::D3DTOP_MODULATE ? 0xFFFF0000 : p;
         },
         "Alpha blend Not Supported", ""},
        {"additive ignored",
         [](const States& s, int, int, uint32_t p) { return s.srcBlend == plat::D3DBLEND_ONE ? 0xFF404040 : p; },
         "Additive blend not supported.", ""},
        {"alpha-add ignored",
         [](const States& s, int, int, uint32_t p) {
             return s.srcBlend == plat::D3DBLEND_SRCALPHA && s.destBlend == plat::D3DBLEND_ONE ? 0xFFFFFFFF : p;
         },
         "AlphaAdd blend not supported.", ""},
        {"vertex alpha ignored",
         [white](const States& s, int, int, uint32_t p) {
             return s.alphaOp == plat::D3DTOP_MODULATE && p != white ? 0xFFFF0000 : p;
         },
         "AlphaModulated blend not supported.", ""},
        {"additive block not uniform",
         [](const States& s, int x, int y, uint32_t p) {
             return s.srcBlend == plat::D3DBLEND_ONE && ((x + y) & 1) ? p + 0x010101 : p;
         },
         "", "Additive blend test not uniform."},
        {"clipped columns lost",
         [white](const States&, int x, int, uint32_t p) { return p == white && x < 4 ? 0xFF000000 : p; }, "",
         "Clip problem detected."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        plat::D3DSettings::Get().distort = c.distort;
        Run();
        EXPECT_EQ(tester.mFailureReason, c.reason);
        EXPECT_EQ(tester.mWarning, c.warning);
    }
}

TEST_F(Tester3D, BlendCheckLimits)
{
    testsupport::CurrentFolder here(folder.Path());
    ASSERT_TRUE(tester.Test(0, dd));
    auto fill = [&](uint32_t p) {
        for (int i = 0; i < 100 * 100; ++i)
            tester.mTestImage.mBits[i] = p;
    };
    fill(0xFF7F007F);
    EXPECT_TRUE(tester.CheckBlendResult(0x7F007F, "bad", "uneven"));
    EXPECT_EQ(tester.mWarning, "");
    // 16 in each channel is a distance of 768: close, but not uniform.
    tester.mTestImage.mBits[9 * 100 + 9] = 0xFF8F108F;
    EXPECT_TRUE(tester.CheckBlendResult(0x7F007F, "bad", "uneven"));
    EXPECT_EQ(tester.mWarning, "uneven");
    EXPECT_EQ(tester.mFailureReason, "");
    tester.mTestImage.mBits[9 * 100 + 9] = 0xFF90108F; // 17, 16, 16: 801
    EXPECT_FALSE(tester.CheckBlendResult(0x7F007F, "bad", "uneven"));
    EXPECT_EQ(tester.mFailureReason, "bad");
    // Only the top-left 10 x 10 pixels count.
    fill(0xFF7F007F);
    tester.mTestImage.mBits[10] = 0xFF000000;
    tester.mFailureReason.clear();
    tester.mWarning.clear();
    EXPECT_TRUE(tester.CheckBlendResult(0x7F007F, "bad", "uneven"));
    EXPECT_EQ(tester.mWarning, "");
}

TEST_F(Tester3D, FailingCalls)
{
    struct Case {
        const char* operation;
        const char* reason;
    } cases[] = {
        {"CreateDevice", "DXError - CreateDevice: DDERR_OUTOFVIDEOMEMORY"},
        {"QueryDirect3D", "DXError - QueryInterface IID_IDirect3D7: DDERR_OUTOFVIDEOMEMORY"},
        {"CreateSurface", "DXError - CreateSurface (Primary): DDERR_OUTOFVIDEOMEMORY"},
        {"EnumTextureFormats", "DXError - EnumTextureFormats: DDERR_OUTOFVIDEOMEMORY"},
        {"DrawPrimitive", "DXError - DrawPrimitive: DDERR_OUTOFVIDEOMEMORY"},
        {"Clear", "DXError - Clear: DDERR_OUTOFVIDEOMEMORY"},
        {"Lock", "DXError - Lock Texture: DDERR_OUTOFVIDEOMEMORY"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.operation);
        plat::DirectDrawDevice::Get().FailNext(c.operation, plat::DDERR_OUTOFVIDEOMEMORY);
        Run();
        EXPECT_EQ(tester.mFailureReason, c.reason);
    }

    // Without a DirectDraw object of the display the test makes its own, if it can.
    testsupport::CurrentFolder here(folder.Path());
    tester.RunAndRecord(0, nullptr);
    EXPECT_EQ(tester.mFailureReason, "");
    plat::DirectDrawDevice::Get().config.hasCreateEx = false;
    tester.RunAndRecord(0, nullptr);
    EXPECT_EQ(tester.mFailureReason, "No DirectDrawCreateEx");
}

TEST_F(Tester3D, TwentyFourBitTargetIsUnlockedBeforeFailing)
{
    testsupport::CurrentFolder here(folder.Path());
    ASSERT_TRUE(tester.Test(0, dd));
    struct Case {
        uint32_t bits;
        const char* reason;
    } cases[] = {{24, "Can't test 24-bit mode."}, {8, "Invalid Color Depth"}};
    for (const Case& c : cases) {
        plat::DDSurfaceDesc desc;
        desc.flags = plat::DDSD_CAPS | plat::DDSD_WIDTH | plat::DDSD_HEIGHT | plat::DDSD_PIXELFORMAT;
        desc.width = desc.height = 100;
        desc.caps = plat::DDSCAPS_OFFSCREENPLAIN;
        desc.pixelFormat.flags = plat::DDPF_RGB;
        desc.pixelFormat.rgbBitCount = c.bits;
        plat::DDSurface* odd = nullptr;
        ASSERT_EQ(dd->CreateSurface(desc, &odd), plat::DD_OK);
        tester.mPrimarySurface->Release();
        tester.mPrimarySurface = odd;
        EXPECT_FALSE(tester.CopyRenderTarget());
        EXPECT_EQ(tester.mFailureReason, c.reason);
        EXPECT_EQ(odd->LockCount(), 0);
    }
}

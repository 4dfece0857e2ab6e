#include "framework/graphics/D3DTester.h"

#include "framework/app/PathUtil.h"
#include "framework/app/StringUtil.h"
#include "framework/app/ZelkAppBase.h"
#include "framework/graphics/D3DInterface.h"
#include "framework/graphics/DirectXErrorName.h"
#include "framework/graphics/PixelFormat.h"
#include "platform/d3d/Direct3D8.h"
#include "platform/files/DiskFiles.h"
#include "platform/settings/SettingsStore.h"

#include <cstdio>
#include <cstring>

namespace Zelk {

bool gTestUsesA8R8G8B8 = false;

namespace {

constexpr int kTargetSize = 100;
constexpr int kTextureSize = 64;
constexpr int kDistanceLimit = 768;

void Fill(D3DTestImage& image, uint32_t argb)
{
    for (int i = 0; i < image.mWidth * image.mHeight; ++i)
        image.mBits[i] = argb;
}

bool Close(uint32_t pixel, uint32_t expected)
{
    const int dr = int((pixel >> 16) & 0xFF) - int((expected >> 16) & 0xFF);
    const int dg = int((pixel >> 8) & 0xFF) - int((expected >> 8) & 0xFF);
    const int db = int(pixel & 0xFF) - int(expected & 0xFF);
    return dr * dr + dg * dg + db * db <= kDistanceLimit;
}

int HighBit(uint32_t mask)
{
    int high = -1;
    for (int i = 0; i < 32; ++i)
        if (mask & (1u << i))
            high = i;
    return high;
}

// The mask's bits moved so that its highest bit lands on bit `top`.
uint32_t Align(uint32_t pixel, uint32_t mask, int top)
{
    const int shift = top - HighBit(mask);
    const uint32_t v = pixel & mask;
    return shift >= 0 ? v << shift : v >> -shift;
}

// True when a line of the list file occurs in the description; `opened`
// tells whether the file was there.
bool ListMatches(const char* fileName, const std::string& description, bool& opened)
{
    FILE* file = plat::OpenFile(fileName, "r");
    opened = file != nullptr;
    if (!file)
        return false;
    char line[4001];
    bool matched = false;
    while (!matched && std::fgets(line, sizeof line, file)) {
        const std::string entry = StringTrim(line);
        matched = !entry.empty() && StrFindNoCase(description, entry) >= 0;
    }
    std::fclose(file);
    return matched;
}

} // namespace

void CheckDXResult(int32_t result, const std::string& context)
{
    if (plat::Failed(result))
        throw D3DTester::TestException("DXError - " + context + ": " + DirectXErrorName(result));
}

struct D3DTester::BlendTest {
    uint32_t srcBlend;
    const char* srcContext;
    uint32_t destBlend;
    const char* destContext;
    bool alphaModulate;
    uint32_t first, firstVertex, second, secondVertex, expected;
    const char* failure;
    const char* warning;
};

D3DTester::D3DTester() = default;

D3DTester::~D3DTester()
{
    Cleanup();
}

void D3DTester::Cleanup()
{
    plat::SafeRelease(mD3DDevice);
    plat::SafeRelease(mD3D);
    plat::SafeRelease(mTextureSurface);
    plat::SafeRelease(mTextureSurface2);
    plat::SafeRelease(mPrimarySurface);
    plat::SafeRelease(mDD);
    mRegKeyOpen = false;
}

void D3DTester::RunAndRecord(plat::WindowHandle window, plat::DirectDraw* directDraw)
{
    if (!(gAppBase && gAppBase->mPlayingDemo)) {
        mWriteToRegistry = false;
        const bool passed = Test(window, directDraw);
        if (passed)
            RunBlendTests();
        if (mCheckRegistry) {
            if (!passed && !mWriteToRegistry) {
                uint32_t type = 0, size = 0;
                mResultChanged = !(gAppBase && gAppBase->RegistryRead("Test3D\\FailureReason", &type, nullptr, &size));
                mWriteToRegistry = true;
            }
            if (mWriteToRegistry)
                WriteCachedResult();
        }
        Cleanup();
    }
    if (gAppBase) {
        gAppBase->DemoSyncString(mFailureReason);
        gAppBase->DemoSyncString(mWarning);
        gAppBase->DemoSyncBool(mResultChanged);
    }
}

bool D3DTester::Test(plat::WindowHandle window, plat::DirectDraw* directDraw)
{
    Cleanup();
    mDriverYear = 0;
    // Both texts start empty here, so the video-memory warnings below survive.
    mFailureReason.clear();
    mWarning.clear();
    if (mCheckRegistry)
        mRegKeyOpen = true;
    try {
        if (directDraw) {
            directDraw->AddRef();
            mDD = directDraw;
        } else {
            if (!plat::HasDirectDrawCreateEx()) {
                mFailureReason = "No DirectDrawCreateEx";
                return false;
            }
            CheckDXResult(plat::DirectDrawCreateEx(&mDD), "DirectDrawCreateEx");
        }

        plat::DeviceIdentifier id;
        if (!plat::Direct3D8AdapterIdentifier(plat::D3D8_SDK_VERSION, plat::D3DENUM_NO_WHQL_LEVEL, id))
            CheckDXResult(mDD->GetDeviceIdentifier(0, id), "GetDeviceIdentifier");
        std::memcpy(mDisplayGUID, id.guid, sizeof mDisplayGUID);
        mDriver = id.driver;
        mDescription = id.description;

        uint32_t total = 0, available = 0;
        const int32_t vidMem = mDD->GetAvailableVidMem(plat::DDSCAPS_VIDEOMEMORY, &total, &available);
        if (!plat::Failed(vidMem)) {
            int width = 0, height = 0, bits = 0;
            plat::GetScreenDeviceCaps(width, height, bits);
            const int64_t bytes = int64_t(total) + int64_t(width) * height * (bits / 8);
            const int megabytes = int(bytes >> 20);
            if (megabytes < mMinVidMemory) {
                mFailureReason = "Not enough video memory.";
                return false;
            }
            if (megabytes < mRecommendedVidMemory)
                mWarning = "Low video memory.";
        } else {
            mWarning = StrFormat("GetAvailableVidMem failed: %s", DirectXErrorName(vidMem).c_str());
        }

        if (mCheckRegistry) {
            if (!ReadCachedResult())
                return false;
            mWriteToRegistry = true;
        }

        std::string driverPath = mDriver;
        if (driverPath.find('/') == std::string::npos && driverPath.find('\\') == std::string::npos)
            driverPath = AddTrailingSlash(plat::GetSystemDirectory()) + driverPath;
        mDriverYear = plat::FileModificationYear(driverPath);

        if (!IsAdapterSupported(mDescription))
            mWarning = StrFormat("Unsupported video card: %s", mDescription.c_str());

        CheckDXResult(plat::QueryDirect3D(mDD, &mD3D), "QueryInterface IID_IDirect3D7");
        CheckDXResult(mDD->SetCooperativeLevel(window, plat::DDSCL_NORMAL), "SetCooperativeLevel");

        plat::DDSurfaceDesc desc;
        desc.flags = plat::DDSD_CAPS | plat::DDSD_WIDTH | plat::DDSD_HEIGHT;
        desc.width = kTargetSize;
        desc.height = kTargetSize;
        desc.caps = plat::DDSCAPS_OFFSCREENPLAIN | plat::DDSCAPS_3DDEVICE;
        CheckDXResult(mDD->CreateSurface(desc, &mPrimarySurface), "CreateSurface (Primary)");
        mTestImage.Create(kTargetSize, kTargetSize);

        CheckDXResult(mD3D->CreateDevice(mPrimarySurface, &mD3DDevice), "CreateDevice");

        int formats = 0;
        CheckDXResult(mD3DDevice->EnumTextureFormats(&EnumTextureFormatCodes, &formats), "EnumTextureFormats");
        const bool a8r8g8b8 = (formats & PixelFormat_A8R8G8B8) != 0;
        if (!a8r8g8b8) {
            mWarning = "A8R8G8B8 texture format not supported.";
            if (!(formats & PixelFormat_A4R4G4B4)) {
                mFailureReason = "A4R4G4B4 and A8R8G8B8 texture formats not supported.";
                return false;
            }
        }
        gTestUsesA8R8G8B8 = a8r8g8b8;

        plat::DDSurfaceDesc tex;
        tex.flags = plat::DDSD_CAPS | plat::DDSD_WIDTH | plat::DDSD_HEIGHT | plat::DDSD_PIXELFORMAT;
        tex.width = kTextureSize;
        tex.height = kTextureSize;
        tex.caps = plat::DDSCAPS_TEXTURE;
        tex.pixelFormat = TexturePixelFormat(a8r8g8b8 ? PixelFormat_A8R8G8B8 : PixelFormat_A4R4G4B4);
        CheckDXResult(mDD->CreateSurface(tex, &mTextureSurface), "CreateSurface (TextureSurface1)");
        CheckDXResult(mDD->CreateSurface(tex, &mTextureSurface2), "CreateSurface (TextureSurfacd2)");
        return true;
    } catch (const TestException& e) {
        mFailureReason = e.mMessage;
        return false;
    }
}

bool D3DTester::IsAdapterSupported(const std::string& description)
{
    bool opened = false;
    if (ListMatches("vhwb.dat", description, opened))
        return false;
    const bool allowed = ListMatches("vhw.dat", description, opened);
    if (opened)
        return allowed;
    if (mDriverYear >= 2002)
        return true;
    return StrFindNoCase(description, "nvidia") >= 0 || StrFindNoCase(description, "radeon") >= 0 ||
           StrFindNoCase(description, "ati ") >= 0;
}

void D3DTester::BeginTestScene(uint32_t srcBlend, const char* srcContext, uint32_t destBlend,
                               const char* destContext, bool alphaModulate)
{
    CheckDXResult(mD3DDevice->BeginScene(), "");
    CheckDXResult(mD3DDevice->Clear(0, nullptr, plat::D3DCLEAR_TARGET, 0xFF000000u, 1.0f, 0), "Clear");
    CheckDXResult(mD3DDevice->SetRenderState(plat::D3DRENDERSTATE_ALPHABLENDENABLE, 1),
                  "D3DRENDERSTATE_ALPHABLENDENABLE, TRUE");
    CheckDXResult(mD3DDevice->SetRenderState(plat::D3DRENDERSTATE_SRCBLEND, srcBlend), srcContext);
    CheckDXResult(mD3DDevice->SetRenderState(plat::D3DRENDERSTATE_DESTBLEND, destBlend), destContext);
    if (alphaModulate)
        CheckDXResult(mD3DDevice->SetTextureStageState(0, plat::D3DTSS_ALPHAOP, plat::D3DTOP_MODULATE),
                      "D3DTSS_ALPHAOP, D3DTOP_MODULATE");
    CheckDXResult(mD3DDevice->SetRenderState(plat::D3DRENDERSTATE_CULLMODE, plat::D3DCULL_NONE),
                  "D3DRENDERSTATE_CULLMODE, D3DCULL_NONE");
}

void D3DTester::DrawTestImage(const D3DTestImage& image, int x, int y, uint32_t vertexColor)
{
    for (int ty = 0; ty < image.mHeight; ty += kTextureSize) {
        for (int tx = 0; tx < image.mWidth; tx += kTextureSize) {
            const int w = std::min(kTextureSize, image.mWidth - tx), h = std::min(kTextureSize, image.mHeight - ty);
            plat::DDSurfaceDesc desc;
            CheckDXResult(mTextureSurface->Lock(nullptr, desc, plat::DDLOCK_WAIT | plat::DDLOCK_WRITEONLY),
                          "Lock Texture");
            uint8_t* base = static_cast<uint8_t*>(desc.surface);
            const int bytes = gTestUsesA8R8G8B8 ? 4 : 2;
            if (w < kTextureSize || h < kTextureSize)
                for (int row = 0; row < kTextureSize; ++row)
                    std::memset(base + size_t(row) * size_t(desc.pitch), 0, size_t(kTextureSize * bytes));
            for (int row = 0; row < h; ++row) {
                uint8_t* line = base + size_t(row) * size_t(desc.pitch);
                for (int col = 0; col < w; ++col) {
                    const uint32_t p = image.At(tx + col, ty + row);
                    if (gTestUsesA8R8G8B8)
                        reinterpret_cast<uint32_t*>(line)[col] = p;
                    else
                        reinterpret_cast<uint16_t*>(line)[col] =
                            uint16_t((p >> 16 & 0xF000) | (p >> 12 & 0x0F00) | (p >> 8 & 0x00F0) | (p >> 4 & 0x000F));
                }
            }
            CheckDXResult(mTextureSurface->Unlock(), "Texture Unlock");

            const float left = float(x + tx) - 0.5f, top = float(y + ty) - 0.5f;
            const float right = left + float(w), bottom = top + float(h);
            const float u = float(w) / kTextureSize, v = float(h) / kTextureSize;
            const plat::D3DTLVertex vertices[4] = {
                {left, top, vertexColor, 0, 0},
                {left, bottom, vertexColor, 0, v},
                {right, top, vertexColor, u, 0},
                {right, bottom, vertexColor, u, v},
            };
            CheckDXResult(mD3DDevice->SetTexture(0, mTextureSurface), "SetTexture theTexture");
            CheckDXResult(mD3DDevice->DrawPrimitive(plat::D3DPT_TRIANGLESTRIP, plat::D3DFVF_TLVERTEX, vertices, 4,
                                                    plat::D3DDP_WAIT),
                          "DrawPrimitive");
            CheckDXResult(mD3DDevice->SetTexture(0, nullptr), "SetTexture NULL");
        }
    }
}

bool D3DTester::CopyRenderTarget()
{
    plat::DDSurfaceDesc desc;
    CheckDXResult(mPrimarySurface->Lock(nullptr, desc, plat::DDLOCK_WAIT), "CopyPrimary Lock");
    const uint32_t bits = desc.pixelFormat.rgbBitCount;
    if (bits != 16 && bits != 32) {
        // Unlocked before the test fails, so nothing is left locked.
        mPrimarySurface->Unlock();
        mFailureReason = bits == 24 ? "Can't test 24-bit mode." : "Invalid Color Depth";
        return false;
    }
    const plat::DDPixelFormat& f = desc.pixelFormat;
    const int w = std::min(mTestImage.mWidth, int(desc.width)), h = std::min(mTestImage.mHeight, int(desc.height));
    for (int y = 0; y < h; ++y) {
        const uint8_t* line = static_cast<const uint8_t*>(desc.surface) + size_t(y) * size_t(desc.pitch);
        for (int x = 0; x < w; ++x) {
            const uint32_t p = bits == 32 ? reinterpret_cast<const uint32_t*>(line)[x]
                                          : uint32_t(reinterpret_cast<const uint16_t*>(line)[x]);
            mTestImage.mBits[size_t(y) * size_t(mTestImage.mWidth) + size_t(x)] =
                0xFF000000u | (Align(p, f.rBitMask, 23) & 0xFF0000u) | (Align(p, f.gBitMask, 15) & 0xFF00u) |
                (Align(p, f.bBitMask, 7) & 0xFFu);
        }
    }
    mPrimarySurface->Unlock();
    return true;
}

bool D3DTester::CheckBlendResult(uint32_t expected, const char* failure, const char* warning)
{
    const uint32_t first = mTestImage.At(0, 0);
    bool uniform = true;
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x) {
            const uint32_t p = mTestImage.At(x, y);
            if (!Close(p, expected)) {
                mFailureReason = failure;
                return false;
            }
            uniform = uniform && p == first;
        }
    }
    if (!uniform)
        mWarning = warning;
    return true;
}

bool D3DTester::RenderTest(uint32_t srcBlend, const char* srcContext, uint32_t destBlend, const char* destContext,
                           bool alphaModulate, const std::function<void(D3DTestImage&)>& draw)
{
    try {
        BeginTestScene(srcBlend, srcContext, destBlend, destContext, alphaModulate);
        D3DTestImage image;
        image.Create(kTextureSize, kTextureSize);
        draw(image);
        mD3DDevice->EndScene();
        return CopyRenderTarget();
    } catch (const TestException& e) {
        mFailureReason = e.mMessage;
        return false;
    }
}

bool D3DTester::RunBlendTest(const BlendTest& t)
{
    const bool rendered = RenderTest(t.srcBlend, t.srcContext, t.destBlend, t.destContext, t.alphaModulate,
                                     [&](D3DTestImage& image) {
                                         Fill(image, t.first);
                                         DrawTestImage(image, 0, 0, t.firstVertex);
                                         Fill(image, t.second);
                                         DrawTestImage(image, 0, 0, t.secondVertex);
                                     });
    return rendered && CheckBlendResult(t.expected, t.failure, t.warning);
}

bool D3DTester::RunClipTest()
{
    const bool rendered = RenderTest(plat::D3DBLEND_SRCALPHA, "D3DRENDERSTATE_SRCBLEND, D3DBLEND_SRCALPHA",
                                     plat::D3DBLEND_INVSRCALPHA, "D3DRENDERSTATE_DESTBLEND, D3DBLEND_INVSRCALPHA",
                                     false, [&](D3DTestImage& image) {
                                         for (int y = 0; y < kTextureSize; ++y)
                                             for (int x = 0; x < kTextureSize; ++x)
                                                 image.mBits[y * kTextureSize + x] =
                                                     (x & 1) ? 0xFFFFFFFFu : 0xFF000000u;
                                         DrawTestImage(image, -2, -2, 0xFFFFFFFFu);
                                     });
    if (!rendered)
        return false;
    for (int y = 0; y < kTextureSize - 2; ++y)
        for (int x = 0; x < kTextureSize - 2; ++x)
            if (!Close(mTestImage.At(x, y), (x & 1) ? 0xFFFFFFu : 0x000000u)) {
                mWarning = "Clip problem detected.";
                return true;
            }
    return true;
}

bool D3DTester::RunBlendTests()
{
    static const BlendTest kTests[] = {
        {plat::D3DBLEND_SRCALPHA, "D3DRENDERSTATE_SRCBLEND, D3DBLEND_SRCALPHA", plat::D3DBLEND_INVSRCALPHA,
         "D3DRENDERSTATE_DESTBLEND, D3DBLEND_INVSRCALPHA", false, 0xFF0000FF, 0xFFFFFFFF, 0x80FF0000, 0xFFFFFFFF,
         0x7F007F, "Alpha blend Not Supported", "Alpha blend test not uniform."},
        {plat::D3DBLEND_ONE, "D3DRENDERSTATE_SRCBLEND, D3DBLEND_ONE", plat::D3DBLEND_ONE,
         "D3DRENDERSTATE_DESTBLEND, D3DBLEND_ONE", false, 0xFF404040, 0xFFFFFFFF, 0xFF404040, 0xFFFFFFFF, 0x808080,
         "Additive blend not supported.", "Additive blend test not uniform."},
        {plat::D3DBLEND_SRCALPHA, "D3DRENDERSTATE_SRCBLEND, D3DBLEND_SRCALPHA", plat::D3DBLEND_ONE,
         "D3DRENDERSTATE_DESTBLEND, D3DBLEND_ONE", false, 0xFF404040, 0xFFFFFFFF, 0x80808080, 0xFFFFFFFF, 0x808080,
         "AlphaAdd blend not supported.", "AlphaAdd blend test not uniform."},
        {plat::D3DBLEND_SRCALPHA, "D3DRENDERSTATE_SRCBLEND, D3DBLEND_SRCALPHA", plat::D3DBLEND_INVSRCALPHA,
         "D3DRENDERSTATE_DESTBLEND, D3DBLEND_INVSRCALPHA", true, 0xFF0000FF, 0xFFFFFFFF, 0xFFFF0000, 0x80FFFFFF,
         0x7F007F, "AlphaModulated blend not supported.", "AlphaModulated blend test not uniform."},
    };
    for (const BlendTest& t : kTests)
        if (!RunBlendTest(t))
            return false;
    return RunClipTest();
}

bool D3DTester::ReadCachedResult()
{
    mResultChanged = true;
    if (!mRegKeyOpen || !gAppBase)
        return false;
    auto readDword = [](const char* name, uint32_t& value) {
        uint32_t type = 0, size = 4;
        return gAppBase->RegistryRead(std::string("Test3D\\") + name, &type, &value, &size) &&
               type == plat::REG_DWORD && size == 4;
    };
    uint32_t version = 0, minimum = 0, recommended = 0;
    uint8_t guid[16];
    uint32_t type = 0, size = sizeof guid;
    if (!readDword("Version", version) || version != 2 || !readDword("MinVidMemory", minimum) ||
        int(minimum) != mMinVidMemory || !readDword("RecVidMemory", recommended) ||
        int(recommended) != mRecommendedVidMemory ||
        !gAppBase->RegistryRead("Test3D\\DisplayGUID", &type, guid, &size) || size != 16 ||
        std::memcmp(guid, mDisplayGUID, 16) != 0)
        return false;
    auto readText = [](const char* name) {
        char text[4096] = {};
        uint32_t t = 0, s = sizeof text - 1;
        if (!gAppBase->RegistryRead(std::string("Test3D\\") + name, &t, text, &s))
            return std::string();
        return std::string(text, strnlen(text, s));
    };
    mFailureReason = readText("FailureReason");
    mWarning = readText("Warning");
    mResultChanged = false;
    return mFailureReason.empty();
}

void D3DTester::WriteCachedResult()
{
    if (!gAppBase)
        return;
    const uint32_t version = 2, minimum = uint32_t(mMinVidMemory), recommended = uint32_t(mRecommendedVidMemory);
    gAppBase->RegistryWrite("Test3D\\Version", plat::REG_DWORD, &version, 4);
    gAppBase->RegistryWrite("Test3D\\MinVidMemory", plat::REG_DWORD, &minimum, 4);
    gAppBase->RegistryWrite("Test3D\\RecVidMemory", plat::REG_DWORD, &recommended, 4);
    gAppBase->RegistryWrite("Test3D\\DisplayGUID", plat::REG_BINARY, mDisplayGUID, 16);
    gAppBase->RegistryWrite("Test3D\\FailureReason", plat::REG_SZ, mFailureReason.c_str(),
                            uint32_t(mFailureReason.size() + 1));
    gAppBase->RegistryWrite("Test3D\\Warning", plat::REG_SZ, mWarning.c_str(), uint32_t(mWarning.size() + 1));
}

} // namespace Zelk

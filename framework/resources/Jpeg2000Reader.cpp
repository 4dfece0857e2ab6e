#include "framework/resources/ImageFile.h"
#include "framework/resources/ImageLib.h"
#include "platform/Platform.h"
#include "platform/j2k/J2kCodec.h"
#include "platform/modules/Modules.h"

#include <memory>

namespace ImageLib {

bool gJ2kForceOpaque = true;
void* gJ2kCodecModule = nullptr;
J2kExportLookup gJ2kExportLookup = plat::J2kCodecExport;

namespace {

// The codec's entry points, bound on the first read after loading.
struct J2kBinding {
    plat::J2kGetVersionFn getVersion;
    plat::J2kOpenCustomFn openCustom;
    plat::J2kOpenFileFn openFile;
    plat::J2kCloseFn close;
    plat::J2kGetInfoFn getInfo;
    plat::J2kGetResolutionDimensionsFn getResolutionDimensions;
    plat::J2kDecodeFn decode;
    plat::J2kGetLastErrorFn getLastError;
    plat::J2kGetErrorStrFn getErrorStr;
};

J2kBinding gJ2k = {};
bool gJ2kBindPending = true;
// What gJ2kCodecModule points at while the library is loaded.
int gJ2kModuleToken;

const int kMinimumVersion = 0x120000;

template <typename Fn>
bool Bind(Fn* fn, const char* name)
{
    *fn = reinterpret_cast<Fn>(gJ2kExportLookup ? gJ2kExportLookup(name) : nullptr);
    return *fn != nullptr;
}

bool BindAll()
{
    bool ok = true;
    ok &= Bind(&gJ2k.getVersion, "_J2K_getVersion@0");
    ok &= Bind(&gJ2k.openCustom, "_J2K_OpenCustom@8");
    ok &= Bind(&gJ2k.openFile, "_J2K_OpenFile@4");
    ok &= Bind(&gJ2k.close, "_J2K_Close@4");
    ok &= Bind(&gJ2k.getInfo, "_J2K_GetInfo@16");
    ok &= Bind(&gJ2k.getResolutionDimensions, "_J2K_GetResolutionDimensions@16");
    ok &= Bind(&gJ2k.decode, "_J2K_Decode@20");
    ok &= Bind(&gJ2k.getLastError, "_J2K_getLastError@0");
    ok &= Bind(&gJ2k.getErrorStr, "_J2K_getErrorStr@4");
    return ok;
}

int SeekStream(void* user, int offset)
{
    return PakFSeek(static_cast<PakFile*>(user), offset, SEEK_SET) == 0 ? 0 : -1;
}

int ReadStream(void* buffer, int size, void* user)
{
    return size > 0 ? int(PakFRead(buffer, 1, size_t(size), static_cast<PakFile*>(user))) : 0;
}

void StreamDone(void*) {}

} // namespace

void LoadJ2kCodec()
{
    if (gJ2kCodecModule)
        return;
    plat::Modules* modules = plat::Get().modules;
    if (!modules || !modules->Load(plat::kJ2kCodecModuleName))
        return;
    gJ2kCodecModule = &gJ2kModuleToken;
    gJ2k = {};
    gJ2kBindPending = true;
}

void FreeJ2kCodec()
{
    gJ2kCodecModule = nullptr;
    gJ2k = {};
}

Image* ReadJpeg2000Image(const std::string& path)
{
    if (!gJ2kCodecModule)
        return nullptr;
    ImageFile file(path);
    if (!file)
        return nullptr;
    if (gJ2kBindPending) {
        gJ2kBindPending = false;
        if (!BindAll() || gJ2k.getVersion() < kMinimumVersion) {
            FreeJ2kCodec();
            return nullptr;
        }
    }

    plat::J2kCallbacks callbacks = {SeekStream, ReadStream, StreamDone};
    void* handle = gJ2k.openCustom(file.Get(), &callbacks);
    if (!handle) {
        gJ2k.getErrorStr(gJ2k.getLastError());
        return nullptr;
    }
    int width = 0, height = 0, components = 0;
    if (gJ2k.getInfo(handle, &width, &height, &components) != 0) {
        gJ2k.close(handle);
        return nullptr;
    }
    gJ2k.getResolutionDimensions(handle, 0, &width, &height);
    std::unique_ptr<Image> image(new Image);
    if (!image->Create(width, height)) {
        gJ2k.close(handle);
        return nullptr;
    }
    unsigned char* buffer = reinterpret_cast<unsigned char*>(image->mBits);
    int size = width * height * 4;
    int pitch = width * 4;
    int result = gJ2k.decode(handle, &buffer, &size, "bpp=4,rl=0", &pitch);
    gJ2k.close(handle);
    if (result != 0)
        return nullptr;
    if (gJ2kForceOpaque) {
        size_t n = size_t(width) * size_t(height);
        for (size_t i = 0; i < n; ++i)
            image->mBits[i] |= 0xFF000000u;
    }
    return image.release();
}

} // namespace ImageLib

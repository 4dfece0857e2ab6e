#include "platform/fmod/FmodLibrary.h"
#include "platform/Platform.h"
#include "platform/modules/Modules.h"

#include <mutex>

namespace plat {

namespace {
std::mutex gLock;
const FmodExports* gExports = nullptr;
int gLoads = 0;
} // namespace

void InstallFmodLibrary(const FmodExports* exports)
{
    std::lock_guard<std::mutex> g(gLock);
    gExports = exports;
}

bool LoadFmodLibrary()
{
    Modules* modules = Get().modules;
    if (modules && !modules->Load("fmod.dll"))
        return false;
    std::lock_guard<std::mutex> g(gLock);
    if (!gExports)
        return false;
    ++gLoads;
    return true;
}

void FreeFmodLibrary()
{
    std::lock_guard<std::mutex> g(gLock);
    if (gLoads > 0)
        --gLoads;
}

void* GetFmodExport(const std::string& name)
{
    std::lock_guard<std::mutex> g(gLock);
    if (!gExports || gLoads == 0)
        return nullptr;
    auto it = gExports->find(name);
    return it == gExports->end() ? nullptr : it->second;
}

int FmodLibraryLoads()
{
    std::lock_guard<std::mutex> g(gLock);
    return gLoads;
}

} // namespace plat

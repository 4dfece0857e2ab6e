#include "platform/d3d/Direct3D8.h"
#include "platform/Platform.h"
#include "platform/d3d/Direct3D.h"
#include "platform/modules/Modules.h"

namespace plat {

bool Direct3D8AdapterIdentifier(uint32_t sdkVersion, uint32_t flags, DeviceIdentifier& out)
{
    const D3DSettings& settings = D3DSettings::Get();
    Modules* modules = plat::Get().modules;
    if (!settings.direct3D8Present || (modules && !modules->Load("d3d8.dll")))
        return false;
    if (sdkVersion != D3D8_SDK_VERSION)
        return false; // the object is not created for another version
    if (DirectDrawDevice::Get().TakeFailure("GetAdapterIdentifier"))
        return false;
    out = settings.direct3D8Adapter;
    return true;
}

} // namespace plat

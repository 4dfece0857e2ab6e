#pragma once
// The other 3D interface's module ("d3d8.dll"), which the system loads by name
// only to ask who the display adapter is. Absent unless a test makes it
// present (D3DSettings); then it reports the configured adapter.
#include "platform/ddraw/DirectDraw.h"

#include <cstdint>

namespace plat {

enum : uint32_t { D3D8_SDK_VERSION = 220, D3DADAPTER_DEFAULT = 0, D3DENUM_NO_WHQL_LEVEL = 2 };

// Loads the module, creates its object with the SDK version, reads the
// default adapter's identifier and lets everything go again. False when the
// module, its entry point, the object or the identifier is not to be had.
bool Direct3D8AdapterIdentifier(uint32_t sdkVersion, uint32_t flags, DeviceIdentifier& out);

} // namespace plat

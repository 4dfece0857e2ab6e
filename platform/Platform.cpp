#include "platform/Platform.h"

namespace plat {

namespace {
Services gServices;
}

Services& Get() { return gServices; }

void Install(const Services& services) { gServices = services; }

} // namespace plat

#include "framework/resources/ResourceManager.h"

namespace Zelk {

bool ResourceManager::ParseResourceManifest(const std::string& fileName)
{
    mError.clear();
    return true;
}

} // namespace Zelk

#pragma once
#include <string>

namespace Zelk {

class ZelkAppBase;

// The resource manager: reads the resource manifest and loads its groups.
// (So far only what the application object calls.)
class ResourceManager {
public:
    explicit ResourceManager(ZelkAppBase* app) : mApp(app) {}
    virtual ~ResourceManager() = default;
    bool ParseResourceManifest(const std::string& fileName);
    const std::string& GetErrorText() const { return mError; }

private:
    ZelkAppBase* mApp;
    std::string mError;
};

} // namespace Zelk

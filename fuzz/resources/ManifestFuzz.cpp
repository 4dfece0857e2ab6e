// The resource manifest over any bytes: read, then every group it declared
// loaded against a host where every image and sound exists.
#include "framework/resources/ResourceManager.h"
#include "fuzz/resources/FuzzSupport.h"
#include "tests/framework/resources/FakeResourceHost.h"

namespace {

class EverythingHost : public FakeResourceHost {
public:
    EverythingHost() { sound.acceptAll = true; }
    Zelk::SharedImageRef GetSharedImage(const std::string& path, const std::string& variant, bool* isNew) override
    {
        if (!Shared(path, variant))
            AddImageFile(path, 6, 4, std::vector<uint32_t>(24, 0x80FFFFFF));
        return FakeResourceHost::GetSharedImage(path, variant, isNew);
    }
};

class Manager : public Zelk::ResourceManager {
public:
    using ResourceManager::ResourceManager;
    std::vector<std::string> Groups() const
    {
        std::vector<std::string> out;
        for (const auto& g : mResGroupMap)
            out.push_back(g.first);
        return out;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzzsupport::Serve("properties\\resources.xml", data, size);
    EverythingHost host;
    Manager manager(nullptr, &host);
    manager.ParseResourcesFile("properties\\resources.xml");
    for (const std::string& group : manager.Groups())
        manager.LoadResources(group);
    manager.DeleteResources("");
    return 0;
}

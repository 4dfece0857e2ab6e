#include "launcher/gif/GraphicRegistry.h"
#include "launcher/gif/GIFException.h"
#include <algorithm>
#include <map>
#include <mutex>

namespace GIFImage {

namespace {

struct Format {
    std::string extension, description;
    GraphicRegistry::Factory factory;
};

struct Registry {
    std::mutex lock;
    std::map<std::string, Format> byClass;
};

Registry& TheRegistry()
{
    static Registry registry;
    return registry;
}

std::string Folded(std::string extension)
{
    if (!extension.empty() && extension[0] == '.')
        extension.erase(0, 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
        [](unsigned char c) { return char(c >= 'A' && c <= 'Z' ? c + 32 : c); });
    return extension;
}

const Format* FindExtension(Registry& r, const std::string& extension)
{
    const std::string wanted = Folded(extension);
    for (auto& entry : r.byClass)
        if (entry.second.extension == wanted)
            return &entry.second;
    return nullptr;
}

} // namespace

void GraphicRegistry::RegisterFileFormat(const std::string& extension, const std::string& description,
    const std::string& className, Factory factory)
{
    Registry& r = TheRegistry();
    std::lock_guard<std::mutex> guard(r.lock);
    r.byClass[className] = Format{Folded(extension), description, std::move(factory)};
}

void GraphicRegistry::UnregisterClass(const std::string& className)
{
    Registry& r = TheRegistry();
    std::lock_guard<std::mutex> guard(r.lock);
    r.byClass.erase(className);
}

std::unique_ptr<Graphic> GraphicRegistry::CreateByClassName(const std::string& className)
{
    Factory factory;
    {
        Registry& r = TheRegistry();
        std::lock_guard<std::mutex> guard(r.lock);
        auto it = r.byClass.find(className);
        if (it == r.byClass.end())
            return nullptr;
        factory = it->second.factory;
    }
    return factory();
}

std::unique_ptr<Graphic> GraphicRegistry::CreateByExtension(const std::string& extension)
{
    Factory factory;
    {
        Registry& r = TheRegistry();
        std::lock_guard<std::mutex> guard(r.lock);
        const Format* format = FindExtension(r, extension);
        if (!format)
            return nullptr;
        factory = format->factory;
    }
    return factory();
}

std::string GraphicRegistry::Description(const std::string& extension)
{
    Registry& r = TheRegistry();
    std::lock_guard<std::mutex> guard(r.lock);
    const Format* format = FindExtension(r, extension);
    return format ? format->description : std::string();
}

std::unique_ptr<Graphic> GraphicRegistry::LoadFromFormData(Stream& s)
{
    uint8_t length = 0;
    std::string className;
    if (s.Read(&length, 1) == 1) {
        className.resize(length);
        if (s.Read(className.data(), length) != length)
            length = 0, className.clear();
    }
    if (className.empty())
        throw GraphicError("Picture data without a class name");
    std::unique_ptr<Graphic> graphic = CreateByClassName(className);
    if (!graphic)
        throw GraphicError("Unknown picture class \"" + className + "\"");
    graphic->LoadFromStream(s);
    return graphic;
}

void GraphicRegistry::SaveToFormData(Stream& s, const std::string& className, Graphic& graphic)
{
    if (className.empty() || className.size() > 255)
        throw GraphicError("Invalid picture class name");
    const uint8_t length = uint8_t(className.size());
    s.Write(&length, 1);
    s.Write(className.data(), className.size());
    graphic.SaveToStream(s);
}

} // namespace GIFImage

#include "launcher/gif/ClipboardFormats.h"
#include <stdexcept>

namespace GIFImage {

std::mutex& ClipboardFormats::Lock()
{
    static std::mutex lock;
    return lock;
}

std::map<std::string, unsigned>& ClipboardFormats::Ids()
{
    static std::map<std::string, unsigned> ids;
    return ids;
}

unsigned ClipboardFormats::Register(const std::string& name)
{
    std::lock_guard<std::mutex> guard(Lock());
    auto& ids = Ids();
    auto it = ids.find(name);
    if (it != ids.end())
        return it->second;
    unsigned id = 0xC000 + unsigned(ids.size());
    if (id > 0xFFFF)
        throw std::range_error("clipboard format id out of range");
    ids[name] = id;
    return id;
}

} // namespace GIFImage

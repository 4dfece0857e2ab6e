#include "platform/files/NamedSlots.h"

#include <map>
#include <memory>
#include <mutex>

namespace plat {

std::atomic<void*>& NamedSlot(const std::string& name)
{
    // Deliberately never destroyed: slots may be read from static destructors.
    static std::mutex* lock = new std::mutex;
    static auto* slots = new std::map<std::string, std::unique_ptr<std::atomic<void*>>>;
    std::lock_guard<std::mutex> guard(*lock);
    auto& slot = (*slots)[name];
    if (!slot)
        slot = std::make_unique<std::atomic<void*>>(nullptr);
    return *slot;
}

} // namespace plat

#include "platform/modules/Modules.h"

namespace plat {

std::string Modules::Fold(const std::string& name)
{
    std::string out;
    for (unsigned char c : name)
        out += char(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return out;
}

bool Modules::Load(const std::string& name)
{
    std::lock_guard<std::mutex> g(mLock);
    auto it = mAbsent.find(Fold(name));
    return it == mAbsent.end() || !it->second;
}

void Modules::SetAbsent(const std::string& name, bool absent)
{
    std::lock_guard<std::mutex> g(mLock);
    mAbsent[Fold(name)] = absent;
}

void Modules::Reset()
{
    std::lock_guard<std::mutex> g(mLock);
    mAbsent.clear();
}

} // namespace plat

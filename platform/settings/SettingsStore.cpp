#include "platform/settings/SettingsStore.h"
#include <cstring>

namespace plat {

std::string SettingsStore::Fold(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (unsigned char c : text) {
        if (c == '/')
            c = '\\';
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
        if (c == '\\' && !out.empty() && out.back() == '\\')
            continue;
        out += char(c);
    }
    while (!out.empty() && out.back() == '\\')
        out.pop_back();
    return out;
}

bool SettingsStore::KeyExists(const std::string& key) const
{
    if (failOpen)
        return false;
    return mKeys.count(Fold(key)) != 0;
}

bool SettingsStore::CreateKey(const std::string& key)
{
    if (failCreate || key.empty())
        return false;
    auto& k = mKeys[Fold(key)];
    if (k.name.empty())
        k.name = key;
    return Commit();
}

bool SettingsStore::SetValue(const std::string& key, const std::string& name, uint32_t type,
                             const void* data, uint32_t size)
{
    if (failWrite)
        return false;
    auto it = mKeys.find(Fold(key));
    if (it == mKeys.end())
        return false;
    SettingsValue v;
    v.type = type;
    if (size)
        v.data.assign(static_cast<const uint8_t*>(data), static_cast<const uint8_t*>(data) + size);
    auto& slot = it->second.values[Fold(name)];
    if (slot.first.empty())
        slot.first = name;
    slot.second = std::move(v);
    return Commit();
}

bool SettingsStore::QueryValue(const std::string& key, const std::string& name,
                               SettingsValue& out) const
{
    if (failOpen)
        return false;
    auto it = mKeys.find(Fold(key));
    if (it == mKeys.end())
        return false;
    auto v = it->second.values.find(Fold(name));
    if (v == it->second.values.end())
        return false;
    out = v->second.second;
    return true;
}

bool SettingsStore::DeleteValue(const std::string& key, const std::string& name)
{
    if (failWrite)
        return false;
    auto it = mKeys.find(Fold(key));
    if (it == mKeys.end())
        return false;
    if (it->second.values.erase(Fold(name)) == 0)
        return false;
    return Commit();
}

bool SettingsStore::SetDword(const std::string& key, const std::string& name, uint32_t value)
{
    uint8_t b[4] = {uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16), uint8_t(value >> 24)};
    return CreateKey(key) && SetValue(key, name, REG_DWORD, b, 4);
}

bool SettingsStore::SetString(const std::string& key, const std::string& name,
                              const std::string& value)
{
    return CreateKey(key) && SetValue(key, name, REG_SZ, value.data(), uint32_t(value.size()));
}

bool SettingsStore::GetDword(const std::string& key, const std::string& name, uint32_t& value) const
{
    SettingsValue v;
    if (!QueryValue(key, name, v) || v.type != REG_DWORD || v.data.size() != 4)
        return false;
    value = uint32_t(v.data[0]) | uint32_t(v.data[1]) << 8 | uint32_t(v.data[2]) << 16 |
            uint32_t(v.data[3]) << 24;
    return true;
}

void SettingsStore::Clear() { mKeys.clear(); }

size_t SettingsStore::ValueCount(const std::string& key) const
{
    auto it = mKeys.find(Fold(key));
    return it == mKeys.end() ? 0 : it->second.values.size();
}

} // namespace plat

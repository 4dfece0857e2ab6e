#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace plat {

// Value types of the settings store, with the registry's numbers.
enum : uint32_t { REG_NONE = 0, REG_SZ = 1, REG_BINARY = 3, REG_DWORD = 4 };

struct SettingsValue {
    uint32_t type = REG_NONE;
    std::vector<uint8_t> data;
};

// The settings store that stands in for the registry: keys are paths such as
// "SOFTWARE\Tarnwick Games\Quillmore\Test3D" (case-insensitive, "\" or "/"),
// each holding typed values by name (case-insensitive).
//
// This in-memory store is the null platform's store; a test can make any call
// fail. The file-backed store derives from it.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    virtual bool KeyExists(const std::string& key) const;
    virtual bool CreateKey(const std::string& key);
    virtual bool SetValue(const std::string& key, const std::string& name, uint32_t type,
                          const void* data, uint32_t size);
    virtual bool QueryValue(const std::string& key, const std::string& name,
                            SettingsValue& out) const;
    virtual bool DeleteValue(const std::string& key, const std::string& name);

    // Convenience for tests and tools.
    bool SetDword(const std::string& key, const std::string& name, uint32_t value);
    bool SetString(const std::string& key, const std::string& name, const std::string& value);
    bool GetDword(const std::string& key, const std::string& name, uint32_t& value) const;
    void Clear();
    size_t ValueCount(const std::string& key) const;

    // Failure injection: while set, every call of that kind fails.
    bool failOpen = false;
    bool failCreate = false;
    bool failWrite = false;

protected:
    using ValueMap = std::map<std::string, std::pair<std::string, SettingsValue>>; // folded name -> (name, value)
    struct Key {
        std::string name;
        ValueMap values;
    };
    static std::string Fold(const std::string& text);
    std::map<std::string, Key> mKeys; // folded key -> key
    // Called after every change that succeeded; returns false when the change could not be kept.
    virtual bool Commit() { return true; }
};

} // namespace plat

#pragma once
#include <map>
#include <mutex>
#include <string>

namespace plat {

// The libraries the system loads by name ("ddraw.dll", "dsound.dll",
// "version.dll", "j2k-codec.dll", "imagehlp.dll", ...). Each is a stand-in
// provided by this layer; a test can report any of them absent.
class Modules {
public:
    // True when the named library can be loaded (case-insensitive name).
    bool Load(const std::string& name);
    void SetAbsent(const std::string& name, bool absent);
    void Reset();

private:
    static std::string Fold(const std::string& name);
    std::mutex mLock;
    std::map<std::string, bool> mAbsent;
};

} // namespace plat

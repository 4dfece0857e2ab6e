// The application's settings in the settings store, under
// "SOFTWARE\" + registry key.
#include "framework/app/PathUtil.h"
#include "framework/app/StringUtil.h"
#include "framework/app/ZelkAppBase.h"
#include "platform/Platform.h"
#include "platform/settings/SettingsStore.h"

#include <cstring>

namespace Zelk {

namespace {
double ClampVolume(double v) { return v < 0.0 ? 0.0 : (v > 1.0 ? 1.0 : v); }
} // namespace

std::string ZelkAppBase::RegistryKeyPath(const std::string& valueName, std::string& name) const
{
    std::string key = "SOFTWARE\\" + RemoveTrailingSlash(mRegKey);
    size_t sep = valueName.rfind('\\');
    if (sep == std::string::npos) {
        name = valueName;
    } else {
        key += "\\" + valueName.substr(0, sep);
        name = valueName.substr(sep + 1);
    }
    return key;
}

bool ZelkAppBase::RegistryWrite(const std::string& valueName, uint32_t type, const void* data,
                                uint32_t size)
{
    if (mRegKey.empty())
        return false;
    if (mPlayingDemo)
        return ReplayRegistryWrite(); // the store is not touched
    plat::SettingsStore* store = plat::Get().settings;
    std::string name;
    std::string key = RegistryKeyPath(valueName, name);
    // A write the store could not keep is a failure, not a success.
    const bool written = store && (store->KeyExists(key) || store->CreateKey(key)) &&
                         store->SetValue(key, name, type, data, size);
    if (mRecordingDemo)
        RecordRegistryWrite(written);
    return written;
}

bool ZelkAppBase::WriteRegistryString(const std::string& valueName, const std::string& text)
{
    return RegistryWrite(valueName, plat::REG_SZ, text.data(), uint32_t(text.size()));
}

bool ZelkAppBase::RegistryRead(const std::string& valueName, uint32_t* type, void* data, uint32_t* size)
{
    if (mRegKey.empty())
        return false;
    plat::SettingsValue value;
    if (mPlayingDemo) {
        // The value comes from the demo; the store is not touched.
        if (!ReplayRegistryRead(value))
            return false;
    } else {
        plat::SettingsStore* store = plat::Get().settings;
        std::string name;
        std::string key = RegistryKeyPath(valueName, name);
        const bool found = store && store->QueryValue(key, name, value);
        if (mRecordingDemo)
            RecordRegistryRead(found ? &value : nullptr);
        if (!found)
            return false;
    }
    // The same checks for a live and a replayed value, so both runs answer alike.
    if (type)
        *type = value.type;
    if (size) {
        if (data) {
            if (value.data.size() > *size)
                return false; // the caller's buffer is too small
            if (!value.data.empty())
                memcpy(data, value.data.data(), value.data.size());
        }
        *size = uint32_t(value.data.size());
    }
    return true;
}

bool ZelkAppBase::RegistryReadInteger(const std::string& valueName, int32_t* value)
{
    uint32_t type = 0, size = 4;
    uint8_t buf[4] = {};
    if (!RegistryRead(valueName, &type, buf, &size) || type != plat::REG_DWORD || size != 4)
        return false;
    *value = int32_t(uint32_t(buf[0]) | uint32_t(buf[1]) << 8 | uint32_t(buf[2]) << 16 |
                     uint32_t(buf[3]) << 24);
    return true;
}

bool ZelkAppBase::RegistryReadBoolean(const std::string& valueName, bool* value)
{
    int32_t v = 0;
    if (!RegistryReadInteger(valueName, &v))
        return false;
    *value = v != 0;
    return true;
}

void ZelkAppBase::RegistryEraseValue(const std::wstring& valueName)
{
    plat::SettingsStore* store = plat::Get().settings;
    if (mRegKey.empty() || !store)
        return;
    std::string name;
    std::string key = RegistryKeyPath(WStringToString(valueName), name);
    store->DeleteValue(key, name);
}

void ZelkAppBase::LoadSettings()
{
    mSettingsLoaded = true;
    mRegKey = WStringToString(GetString("RegistryKey", StringToWString(mRegKey)));
    if (mRegKey.empty())
        return;

    int32_t v = 0;
    if (RegistryReadInteger("MusicVolume", &v))
        mMusicVolume = ClampVolume(v * 0.01);
    if (RegistryReadInteger("SfxVolume", &v))
        mSfxVolume = ClampVolume(v * 0.01);
    if (RegistryReadInteger("Muted", &v))
        mMuteCount = v < 0 ? 0 : v;
    if (RegistryReadInteger("ScreenMode", &v))
        mWindowedWanted = v == 0;
    if (RegistryReadInteger("PreferredX", &v))
        mPreferredX = v;
    if (RegistryReadInteger("PreferredY", &v))
        mPreferredY = v;
    if (RegistryReadInteger("CustomCursors", &v)) {
        mCustomCursors = v != 0;
        UpdateCursor();
    }
    bool b = false;
    if (RegistryReadBoolean("WaitForVSync", &b))
        mWaitForVSync = b;
    if (RegistryReadInteger("InProgress", &v))
        mLastRunEndedCleanly = v == 0;

    if (!mScreenSaverMode) {
        uint32_t one = 1;
        RegistryWrite("InProgress", plat::REG_DWORD, &one, 4);
    }
}

void ZelkAppBase::SaveSettings()
{
    if (mRegKey.empty())
        return;
    auto writeInt = [this](const char* name, int32_t value) {
        uint32_t v = uint32_t(value);
        RegistryWrite(name, plat::REG_DWORD, &v, 4);
    };
    writeInt("MusicVolume", int32_t(mMusicVolume * 100.0));
    writeInt("SfxVolume", int32_t(mSfxVolume * 100.0));
    writeInt("Muted", mMuteCount - mAutoMuteCount > 0 ? 1 : 0);
    writeInt("ScreenMode", mWindowedWanted ? 0 : 1);
    writeInt("PreferredX", mPreferredX);
    writeInt("PreferredY", mPreferredY);
    writeInt("CustomCursors", mCustomCursors ? 1 : 0);
    writeInt("InProgress", 0);
    writeInt("WaitForVSync", mWaitForVSync ? 1 : 0);
}

} // namespace Zelk

// Services of the application object: volumes and muting, playing a sound by
// id, the string table, message boxes and the set of live memory images.
#include "framework/app/StringUtil.h"
#include "framework/app/ZelkAppBase.h"
#include "framework/graphics/DDInterface.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/sound/MusicInterface.h"
#include "framework/sound/SoundInstance.h"
#include "framework/sound/SoundManager.h"
#include "platform/Platform.h"
#include "platform/msgbox/MessageBoxes.h"

namespace Zelk {

double ZelkAppBase::GetMusicVolume() { return mMusicVolume; }
double ZelkAppBase::GetSfxVolume() { return mSfxVolume; }
bool ZelkAppBase::IsMuted() { return mMuteCount > 0; }

void ZelkAppBase::SetMusicVolume(double volume)
{
    mMusicVolume = volume;
    if (mMusicInterface)
        mMusicInterface->SetVolume(mMuteCount > 0 ? 0.0 : volume);
}

void ZelkAppBase::SetSfxVolume(double volume)
{
    mSfxVolume = volume;
    if (mSoundManager)
        mSoundManager->SetVolume(mMuteCount > 0 ? 0.0 : volume);
}

// Before the sound manager exists there is no device volume: 0, and a new
// value is only stored.
double ZelkAppBase::GetMasterVolume() { return mSoundManager ? mSoundManager->GetMasterVolume() : 0.0; }

void ZelkAppBase::SetMasterVolume(double volume)
{
    mSfxVolume = volume;
    if (mSoundManager)
        mSoundManager->SetMasterVolume(volume);
}

void ZelkAppBase::Mute(bool automatic)
{
    ++mMuteCount;
    if (automatic)
        ++mAutoMuteCount;
    SetMusicVolume(mMusicVolume);
    SetSfxVolume(mSfxVolume);
}

void ZelkAppBase::Unmute(bool automatic)
{
    // An automatic unmute undoes only an automatic mute: the first focus gain
    // after start must not undo a stored "Muted".
    if (automatic && mAutoMuteCount <= 0)
        return;
    if (mMuteCount > 0) {
        --mMuteCount;
        if (automatic)
            --mAutoMuteCount;
    }
    SetMusicVolume(mMusicVolume);
    SetSfxVolume(mSfxVolume);
}

void ZelkAppBase::ToggleSound()
{
    if (GetMusicVolume() != 0.0) {
        mSavedMusicVolume = mMusicVolume;
        SetMusicVolume(0.0);
    } else {
        SetMusicVolume(mSavedMusicVolume);
    }
    if (GetSfxVolume() != 0.0) {
        mSavedSfxVolume = mSfxVolume;
        SetSfxVolume(0.0);
    } else {
        SetSfxVolume(mSavedSfxVolume);
    }
}

bool ZelkAppBase::PlaySoundById(int id)
{
    if (!mSoundManager)
        return false;
    SoundInstance* instance = mSoundManager->GetSoundInstance(id);
    if (!instance)
        return false;
    instance->Play(false, true);
    return true;
}

bool ZelkAppBase::PlaySoundPanned(int id, int pan)
{
    if (!mSoundManager)
        return false;
    SoundInstance* instance = mSoundManager->GetSoundInstance(id);
    if (!instance)
        return false;
    instance->SetPan(pan);
    instance->Play(false, true);
    return true;
}

std::wstring ZelkAppBase::GetString(const std::string& id, const std::wstring& defaultText)
{
    auto it = mStringTable.find(id);
    return it == mStringTable.end() ? defaultText : it->second;
}

void ZelkAppBase::SetString(const std::string& id, const std::wstring& text) { mStringTable[id] = text; }

int ZelkAppBase::MsgBoxW(const std::wstring& text, const std::wstring& caption, uint32_t flags)
{
    if (mScreenSaverMode) {
        LogScreenError(WStringToString(text));
        return plat::IDOK;
    }
    BeginPopup();
    int answer = plat::Get().messageBoxes->Show(text, caption, flags);
    ReleaseInput();
    return answer;
}

int ZelkAppBase::MsgBox(const std::string& text, const std::string& caption, uint32_t flags)
{
    return MsgBoxW(StringToWString(text), StringToWString(caption), flags);
}

CriticalSection* ZelkAppBase::DisplayLock()
{
    DDInterface* dd = mDDInterface;
    return dd ? &dd->mCritSect : &mAppLock;
}

void ZelkAppBase::AddMemoryImage(MemoryImage* image)
{
    CritSectGuard g(DisplayLock());
    mMemoryImageSet.insert(image);
}

void ZelkAppBase::RemoveMemoryImage(MemoryImage* image)
{
    {
        CritSectGuard g(DisplayLock());
        mMemoryImageSet.erase(image);
        // An image going away must not stay the cursor: the cursor thread
        // would draw freed pixels.
        Image* asImage = image;
        if (DDInterface* dd = mDDInterface; dd && dd->mCursorImage == asImage)
            dd->SetCursorImage(nullptr);
        for (Image*& cursor : mCursorImages)
            if (cursor == asImage)
                cursor = nullptr;
    }
    RemoveImageTextures(image);
}

} // namespace Zelk

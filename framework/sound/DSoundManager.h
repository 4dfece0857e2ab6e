#pragma once
#include "framework/sound/SoundManager.h"

#include <cstdint>
#include <functional>
#include <string>

namespace plat {
class DirectSound;
class SoundBuffer;
} // namespace plat

struct PakFile;

namespace Zelk {

class DSoundInstance;

// The sound manager over the in-memory sound buffers: up to 256 sounds, each
// decoded once into a whole buffer, played through up to 32 instances that
// duplicate it. Without a window (sound off) or without a sound device the
// whole interface works silently.
class DSoundManager : public SoundManager {
public:
    static constexpr int kMaxSounds = 256;
    static constexpr int kMaxChannels = 32;

    DSoundManager(plat::WindowHandle window, bool useFmod);
    ~DSoundManager() override;

    bool Initialized() override;
    int FindSoundId(const std::string& fileName) override;
    bool LoadSound(unsigned int id, const std::string& fileName) override;
    void ReleaseSound(unsigned int id) override;
    void SetVolume(double volume) override;
    bool SetBaseVolume(unsigned int id, double baseVolume) override;
    bool SetBasePan(unsigned int id, int basePan) override;
    SoundInstance* GetSoundInstance(unsigned int id) override;
    void ReleaseSounds() override;
    void ReleaseChannels() override;
    double GetMasterVolume() override;
    void SetMasterVolume(double volume) override;
    void Flush() override;
    void SetCooperativeWindow(plat::WindowHandle window, bool isWindowed) override;
    void StopAllSounds() override;
    int GetFreeSoundId() override;
    int GetNumSounds() override;

    // The readers: each decodes a whole file into a new buffer for the id.
    // The file of a sound for the id, or null when the id is out of range,
    // there is no DirectSound or the file cannot be opened.
    PakFile* OpenSoundFile(unsigned int id, const std::string& path);
    bool ReadWaveFile(unsigned int id, const std::string& path);
    bool DecodeOgg(unsigned int id, const std::string& path);
    bool ReadAuFile(unsigned int id, const std::string& path);
    bool DecodeMp3(unsigned int id, const std::string& path);
    // Writes the id's sound as a cached wave file that names its source.
    bool WriteCachedWave(unsigned int id, const std::string& cachePath, const std::string& sourcePath);
    // Last-write time of a file on disk as a Windows file time; false (and 0)
    // when it cannot be opened. Archives are not consulted.
    static bool GetFileTime(const std::string& path, uint64_t& fileTime);

    // Looking inside, for the application's diagnostics and for tests.
    plat::DirectSound* GetDirectSound() const { return mDirectSound; }
    plat::SoundBuffer* GetPrimaryBuffer() const { return mPrimaryBuffer; }
    plat::SoundBuffer* GetSoundBuffer(unsigned int id) const;
    uint32_t GetSampleLength(unsigned int id) const;
    std::string GetSoundFileName(unsigned int id) const;
    SoundInstance* GetChannel(int channel) const;

protected:
    friend class DSoundInstance;

    int FindFreeChannel();
    void ReleaseFinishedChannels();
    // Creates the id's buffer for 16- or 8-bit PCM of the given length (the
    // id's old buffer is released first); null when the device refuses.
    plat::SoundBuffer* CreateSoundBuffer(unsigned int id, uint16_t channels, uint32_t rate, uint16_t bits,
                                         uint32_t bytes);
    // Releases the buffer a failed reader left behind; the name stays.
    void DropBuffer(unsigned int id);
    // Creates the id's buffer, locks it whole and lets fill write the samples;
    // false (and no buffer) when any step or the fill fails.
    bool FillNewBuffer(unsigned int id, uint16_t channels, uint32_t rate, uint16_t bits, uint32_t bytes,
                       const std::function<bool(uint8_t* data, uint32_t bytes)>& fill);

    plat::SoundBuffer* mSourceSounds[kMaxSounds] = {};
    std::string mSourceFileNames[kMaxSounds];
    plat::SoundBuffer* mPrimaryBuffer = nullptr;
    uint32_t mSourceDataSizes[kMaxSounds] = {};
    double mBaseVolumes[kMaxSounds];
    int mBasePans[kMaxSounds] = {};
    DSoundInstance* mPlayingSounds[kMaxChannels] = {};
    double mMasterVolume = 1.0;
    uint32_t mLastReleaseTick = 0;
    plat::DirectSound* mDirectSound = nullptr;
    bool mLoadMp3s;
};

} // namespace Zelk

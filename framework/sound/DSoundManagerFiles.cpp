// The sound manager's files: where a sound name is looked for, the readers
// that decode each kind into a buffer, and the cache of decoded sounds.
#include "framework/app/PathUtil.h"
#include "framework/resources/PakFileAccess.h"
#include "framework/sound/DSoundManager.h"
#include "framework/sound/FmodInstance.h"
#include "framework/sound/MuLaw.h"
#include "framework/sound/PakByteSource.h"
#include "framework/sound/WaveBytes.h"
#include "platform/audio/OggDecoder.h"
#include "platform/debug/DebugSink.h"
#include "platform/audio/WaveReader.h"
#include "platform/dsound/DirectSound.h"
#include "platform/files/DiskFiles.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace Zelk {

namespace {

constexpr uint8_t kCacheKey = 0x5D;

bool ReadU32BigEndian(plat::ByteSource& f, uint32_t& v)
{
    uint8_t b[4];
    if (!f.ReadExact(b, 4))
        return false;
    v = uint32_t(b[0]) << 24 | uint32_t(b[1]) << 16 | uint32_t(b[2]) << 8 | uint32_t(b[3]);
    return true;
}

bool PcmShapeOk(uint16_t channels, uint32_t rate, uint16_t bits)
{
    return channels != 0 && rate != 0 && (bits == 8 || bits == 16);
}

// Relative names are cached; absolute ones, and names that climb out of the
// cache folder, are not.
bool IsCacheable(const std::string& name)
{
    return name.size() > 2 && IsPathInsideFolder(name);
}

} // namespace

bool DSoundManager::LoadSound(unsigned int id, const std::string& fileName)
{
    if (id >= unsigned(kMaxSounds))
        return false;
    ReleaseSound(id);
    if (!mDirectSound)
        return true;
    mSourceFileNames[id] = fileName;

    std::string cachePath;
    if (IsCacheable(fileName)) {
        cachePath = GetAppDataFolder() + "cached\\" + fileName + ".wav";
        if (ReadWaveFile(id, cachePath))
            return true;
        CreateDirectories(GetFileDir(cachePath));
    }
    if (ReadWaveFile(id, fileName + ".wav"))
        return true;

    std::string source;
    if (mLoadMp3s && DecodeMp3(id, fileName + ".mp3"))
        source = fileName + ".mp3";
    else if (DecodeOgg(id, fileName + ".ogg"))
        source = fileName + ".ogg";
    else if (ReadAuFile(id, fileName + ".au"))
        source = fileName + ".au";
    else
        return false;
    WriteCachedWave(id, cachePath, source);
    return true;
}

bool DSoundManager::GetFileTime(const std::string& path, uint64_t& fileTime)
{
    fileTime = 0;
    std::string native = plat::ResolvePath(path);
    if (native.empty())
        return false;
    int fd = open(native.c_str(), O_RDONLY | O_NONBLOCK);
    if (fd < 0)
        return false;
    struct stat st;
    bool ok = fstat(fd, &st) == 0 && !S_ISDIR(st.st_mode);
    close(fd);
    if (!ok)
        return false;
    fileTime = (uint64_t(st.st_mtim.tv_sec) + 11644473600ull) * 10000000ull + uint64_t(st.st_mtim.tv_nsec) / 100;
    return true;
}

bool DSoundManager::FillNewBuffer(unsigned int id, uint16_t channels, uint32_t rate, uint16_t bits, uint32_t bytes,
                                  const std::function<bool(uint8_t* data, uint32_t bytes)>& fill)
{
    plat::SoundBuffer* buffer = CreateSoundBuffer(id, channels, rate, bits, bytes);
    if (!buffer)
        return false;
    void* data = nullptr;
    uint32_t locked = 0;
    if (plat::Failed(buffer->Lock(0, bytes, &data, &locked))) {
        DropBuffer(id);
        return false;
    }
    bool filled = fill(static_cast<uint8_t*>(data), locked);
    bool ok = !plat::Failed(buffer->Unlock(data, locked)) && filled;
    if (!ok)
        DropBuffer(id);
    return ok;
}

PakFile* DSoundManager::OpenSoundFile(unsigned int id, const std::string& path)
{
    if (id >= unsigned(kMaxSounds) || !mDirectSound)
        return nullptr;
    return PakFOpen(path, "rb");
}

bool DSoundManager::ReadWaveFile(unsigned int id, const std::string& path)
{
    PakFile* f = OpenSoundFile(id, path);
    if (!f)
        return false;
    PakByteSource src(f);
    plat::WaveHeader header;
    auto current = [](const std::string& name, uint64_t storedTime) {
        uint64_t currentTime;
        GetFileTime(name, currentTime);
        return storedTime == currentTime;
    };
    if (!plat::WaveReader::ReadHeader(src, header, current))
        return false;
    return FillNewBuffer(id, header.channels, header.rate, header.bits, header.dataSize,
                         [&](uint8_t* data, uint32_t) { return plat::WaveReader::ReadData(src, header, data); });
}

bool DSoundManager::DecodeOgg(unsigned int id, const std::string& path)
{
    PakFile* f = OpenSoundFile(id, path);
    if (!f)
        return false;
    PakByteSource src(f);
    plat::OggDecoder ogg;
    if (!ogg.Open(src)) {
        plat::OutputDebugString(path + ": " + ogg.Error() + "\n");
        return false;
    }
    if (ogg.Bytes() > plat::DSBSIZE_MAX)
        return false;
    return FillNewBuffer(id, ogg.Channels(), ogg.Rate(), 16, uint32_t(ogg.Bytes()),
                         [&](uint8_t* data, uint32_t n) { return ogg.Read(data, n); });
}

bool DSoundManager::ReadAuFile(unsigned int id, const std::string& path)
{
    PakFile* f = OpenSoundFile(id, path);
    if (!f)
        return false;
    PakByteSource src(f);

    char magic[4];
    uint32_t offset, size, encoding, rate, channels;
    if (!src.ReadExact(magic, 4) || std::memcmp(magic, ".snd", 4) != 0)
        return false;
    if (!ReadU32BigEndian(src, offset) || !ReadU32BigEndian(src, size) || !ReadU32BigEndian(src, encoding) ||
        !ReadU32BigEndian(src, rate) || !ReadU32BigEndian(src, channels))
        return false;
    if (offset > uint32_t(LONG_MAX) || src.Seek(offset, SEEK_SET) != 0)
        return false;

    uint16_t bits;
    if (encoding == 1)
        bits = 16; // 8-bit mu-law, widened
    else if (encoding == 2)
        bits = 8; // 8-bit linear
    else
        return false;
    if (channels == 0 || channels > 0xFFFF || !PcmShapeOk(uint16_t(channels), rate, bits))
        return false;
    // The size is outside input: 0xFFFFFFFF means "unknown" (read to the end),
    // and no size may claim more than the file holds.
    uint64_t left = src.BytesLeft();
    if (size == 0xFFFFFFFFu)
        size = uint32_t(std::min<uint64_t>(left, 0xFFFFFFFEu));
    else if (size > left)
        return false;
    uint64_t bytes = uint64_t(size) * bits / 8;
    if (bytes > plat::DSBSIZE_MAX)
        return false;

    return FillNewBuffer(id, uint16_t(channels), rate, bits, uint32_t(bytes), [&](uint8_t* data, uint32_t) {
        std::vector<uint8_t> raw(size);
        size_t got = src.Read(raw.data(), size);
        if (encoding == 2) {
            // .au linear bytes are signed; the buffer's 8-bit samples are
            // unsigned around 128.
            for (uint32_t i = 0; i < size; ++i)
                data[i] = uint8_t(raw[i] ^ 0x80);
        } else {
            for (uint32_t i = 0; i < size; ++i) {
                int16_t sample = MuLawToLinear(raw[i]);
                std::memcpy(data + 2 * i, &sample, 2);
            }
        }
        return got == size;
    });
}

bool DSoundManager::DecodeMp3(unsigned int id, const std::string& path)
{
    FMOD_INSTANCE* fmod = PeekFmodInstance();
    if (id >= unsigned(kMaxSounds) || !mDirectSound || !mLoadMp3s || !fmod)
        return false;
    FSoundSample* sample = fmod->FSOUND_Sample_Load(-1, path.c_str(), 0, 0);
    if (!sample)
        return false;
    unsigned int mode = fmod->FSOUND_Sample_GetMode(sample);
    uint16_t channels = (mode & FSOUND_MONO) ? 1 : 2;
    uint16_t bits = (mode & FSOUND_8BITS) ? 8 : 16;
    int frequency = 0;
    fmod->FSOUND_Sample_GetDefaults(sample, &frequency, nullptr, nullptr, nullptr);
    uint64_t bytes = uint64_t(fmod->FSOUND_Sample_GetLength(sample)) * (channels * bits / 8);
    // Succeeds also when the library's lock fails: the sound is then silent.
    bool ok = frequency > 0 && bytes <= plat::DSBSIZE_MAX &&
              FillNewBuffer(id, channels, uint32_t(frequency), bits, uint32_t(bytes), [&](uint8_t* data, uint32_t n) {
                  void* ptr1 = nullptr;
                  void* ptr2 = nullptr;
                  unsigned int len1 = 0, len2 = 0;
                  if (fmod->FSOUND_Sample_Lock(sample, 0, int(n), &ptr1, &ptr2, &len1, &len2)) {
                      if (ptr1)
                          std::memcpy(data, ptr1, std::min<uint32_t>(len1, n));
                      fmod->FSOUND_Sample_Unlock(sample, ptr1, ptr2, len1, len2);
                  }
                  return true;
              });
    fmod->FSOUND_Sample_Free(sample);
    return ok;
}

bool DSoundManager::WriteCachedWave(unsigned int id, const std::string& cachePath, const std::string& sourcePath)
{
    if (cachePath.empty() || id >= unsigned(kMaxSounds) || !mSourceSounds[id])
        return false;
    plat::SoundBuffer* buffer = mSourceSounds[id];
    uint32_t length = mSourceDataSizes[id];
    void* data = nullptr;
    uint32_t locked = 0;
    if (plat::Failed(buffer->Lock(0, length, &data, &locked)))
        return false;
    FILE* f = plat::OpenFile(cachePath, "wb");
    if (!f) {
        buffer->Unlock(data, locked);
        return false;
    }
    uint32_t formatSize = 0;
    plat::WaveFormat format;
    buffer->GetFormat(nullptr, 0, &formatSize);
    buffer->GetFormat(&format, formatSize, nullptr);
    uint64_t sourceTime = 0;
    GetFileTime(sourcePath, sourceTime);
    uint16_t blockAlign = uint16_t(format.bitsPerSample * format.channels / 8);

    WaveBytes out;
    out.Tag("RIFF").U32(length + 36).Tag("WAVE");
    out.Tag("fmt ").U32(16).U16(1).U16(format.channels).U32(format.samplesPerSec);
    out.U32(uint32_t(blockAlign) * format.samplesPerSec).U16(blockAlign).U16(format.bitsPerSample);
    out.Tag("dep ").U32(uint32_t(sourcePath.size()) + 10).U16(uint16_t(sourcePath.size())).Str(sourcePath);
    out.U64(sourceTime);
    out.Tag("xor ").U32(1).U8(kCacheKey);
    out.Tag("data").U32(length);
    // The samples are scrambled in a copy: the buffer may be playing.
    size_t header = out.bytes.size();
    out.Raw(data, length);
    for (size_t i = header; i < out.bytes.size(); ++i)
        out.bytes[i] ^= kCacheKey;
    fwrite(out.bytes.data(), 1, out.bytes.size(), f);
    fclose(f);
    return !plat::Failed(buffer->Unlock(data, locked));
}

} // namespace Zelk

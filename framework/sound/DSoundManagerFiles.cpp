// The sound manager's files: where a sound name is looked for, the readers
// that decode each kind into a buffer, and the cache of decoded sounds.
#include "framework/app/PathUtil.h"
#include "framework/resources/PakFileAccess.h"
#include "framework/sound/DSoundManager.h"
#include "framework/sound/FmodInstance.h"
#include "framework/sound/MuLaw.h"
#include "framework/sound/WaveBytes.h"
#include "platform/dsound/DirectSound.h"
#include "platform/files/DiskFiles.h"

#include <tremor/ivorbisfile.h>

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

// Closes the file on every path out of a reader.
struct PakCloser {
    PakFile* file;
    ~PakCloser()
    {
        if (file)
            PakFClose(file);
    }
};

bool ReadExact(void* dst, size_t n, PakFile* f) { return PakFRead(dst, 1, n, f) == n; }

bool ReadU16(PakFile* f, uint16_t& v)
{
    uint8_t b[2];
    if (!ReadExact(b, 2, f))
        return false;
    v = uint16_t(b[0] | b[1] << 8);
    return true;
}

bool ReadU32(PakFile* f, uint32_t& v)
{
    uint8_t b[4];
    if (!ReadExact(b, 4, f))
        return false;
    v = uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
    return true;
}

bool ReadU32BigEndian(PakFile* f, uint32_t& v)
{
    uint8_t b[4];
    if (!ReadExact(b, 4, f))
        return false;
    v = uint32_t(b[0]) << 24 | uint32_t(b[1]) << 16 | uint32_t(b[2]) << 8 | uint32_t(b[3]);
    return true;
}

bool ReadU64(PakFile* f, uint64_t& v)
{
    uint32_t lo, hi;
    if (!ReadU32(f, lo) || !ReadU32(f, hi))
        return false;
    v = uint64_t(hi) << 32 | lo;
    return true;
}

// The bytes between the position and the end of the file.
uint64_t BytesLeft(PakFile* f)
{
    long here = PakFTell(f);
    if (here < 0 || PakFSeek(f, 0, SEEK_END) != 0)
        return 0;
    long end = PakFTell(f);
    PakFSeek(f, here, SEEK_SET);
    return end > here ? uint64_t(end - here) : 0;
}

bool PcmShapeOk(uint16_t channels, uint32_t rate, uint16_t bits)
{
    return channels != 0 && rate != 0 && (bits == 8 || bits == 16);
}

bool HasParentComponent(const std::string& name)
{
    size_t start = 0;
    while (start <= name.size()) {
        size_t end = name.find_first_of("\\/", start);
        if (end == std::string::npos)
            end = name.size();
        if (name.compare(start, end - start, "..") == 0 && end - start == 2)
            return true;
        start = end + 1;
    }
    return false;
}

// Relative names are cached; absolute ones, and names that climb out of the
// cache folder, are not.
bool IsCacheable(const std::string& name)
{
    return name.size() > 2 && name[0] != '\\' && name[0] != '/' && name[1] != ':' && !HasParentComponent(name);
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
    PakCloser closer{f};

    char tag[4];
    uint32_t riffSize;
    if (!ReadExact(tag, 4, f) || std::memcmp(tag, "RIFF", 4) != 0)
        return false;
    if (!ReadU32(f, riffSize) || !ReadExact(tag, 4, f) || std::memcmp(tag, "WAVE", 4) != 0)
        return false;

    uint16_t bits = 16, channels = 1;
    uint32_t rate = 22050;
    uint8_t key = 0;
    uint32_t dataSize = 0;
    for (;;) {
        if (PakFEof(f))
            return false;
        uint32_t chunkSize;
        if (!ReadExact(tag, 4, f) || !ReadU32(f, chunkSize))
            return false;
        long chunkStart = PakFTell(f);
        if (std::memcmp(tag, "fmt ", 4) == 0) {
            uint16_t formatTag, blockAlign;
            uint32_t avgBytes;
            if (!ReadU16(f, formatTag) || !ReadU16(f, channels) || !ReadU32(f, rate) || !ReadU32(f, avgBytes) ||
                !ReadU16(f, blockAlign) || !ReadU16(f, bits))
                return false;
            if (formatTag != 1)
                return false;
        } else if (std::memcmp(tag, "dep ", 4) == 0) {
            uint16_t length;
            if (!ReadU16(f, length))
                return false;
            uint16_t kept = std::min<uint16_t>(length, 255);
            char name[256] = {};
            if (!ReadExact(name, kept, f))
                return false;
            // A longer name is cut to 255 bytes; the rest is skipped so the
            // time is read from where it was written.
            if (length > kept && PakFSeek(f, long(length - kept), SEEK_CUR) != 0)
                return false;
            uint64_t storedTime, currentTime;
            if (!ReadU64(f, storedTime))
                return false;
            GetFileTime(std::string(name, strnlen(name, kept)), currentTime);
            if (storedTime != currentTime)
                return false;
        } else if (std::memcmp(tag, "xor ", 4) == 0) {
            if (!ReadExact(&key, 1, f))
                return false;
        } else if (std::memcmp(tag, "data", 4) == 0) {
            dataSize = chunkSize;
            break;
        }
        // Chunks follow each other without pad bytes, as the cache writer
        // lays them out.
        if (chunkStart < 0 || PakFSeek(f, long(uint64_t(chunkStart) + chunkSize), SEEK_SET) != 0)
            return false;
    }

    if (!PcmShapeOk(channels, rate, bits) || dataSize > BytesLeft(f))
        return false;
    return FillNewBuffer(id, channels, rate, bits, dataSize, [&](uint8_t* data, uint32_t bytes) {
        size_t got = PakFRead(data, 1, bytes, f);
        if (key)
            for (uint32_t i = 0; i < bytes; ++i)
                data[i] ^= key;
        return got == bytes;
    });
}

bool DSoundManager::DecodeOgg(unsigned int id, const std::string& path)
{
    PakFile* f = OpenSoundFile(id, path);
    if (!f)
        return false;
    OggVorbis_File vf;
    ov_callbacks callbacks;
    callbacks.read_func = &PakOggRead;
    callbacks.seek_func = [](void* source, ogg_int64_t offset, int origin) {
        return PakOggSeek(source, static_cast<long long>(offset), origin);
    };
    callbacks.close_func = &PakOggClose;
    callbacks.tell_func = &PakOggTell;
    if (ov_open_callbacks(f, &vf, nullptr, 0, callbacks) < 0) {
        PakFClose(f);
        return false;
    }
    vorbis_info* info = ov_info(&vf, -1);
    ogg_int64_t frames = ov_pcm_total(&vf, -1);
    if (!info || frames <= 0 || info->channels < 1 || info->channels > 2 || info->rate <= 0) {
        ov_clear(&vf);
        return false;
    }
    uint16_t channels = uint16_t(info->channels);
    uint64_t bytes = uint64_t(frames) * channels * 2;
    if (bytes > plat::DSBSIZE_MAX) {
        ov_clear(&vf);
        return false;
    }
    bool ok = FillNewBuffer(id, channels, uint32_t(info->rate), 16, uint32_t(bytes), [&](uint8_t* data, uint32_t n) {
        uint32_t filled = 0;
        int section = 0;
        while (filled < n) {
            long got = ov_read(&vf, reinterpret_cast<char*>(data) + filled, int(std::min<uint32_t>(n - filled, INT_MAX)),
                               &section);
            if (got <= 0)
                break;
            filled += uint32_t(got);
        }
        return filled == n;
    });
    ov_clear(&vf);
    return ok;
}

bool DSoundManager::ReadAuFile(unsigned int id, const std::string& path)
{
    PakFile* f = OpenSoundFile(id, path);
    if (!f)
        return false;
    PakCloser closer{f};

    char magic[4];
    uint32_t offset, size, encoding, rate, channels;
    if (!ReadExact(magic, 4, f) || std::memcmp(magic, ".snd", 4) != 0)
        return false;
    if (!ReadU32BigEndian(f, offset) || !ReadU32BigEndian(f, size) || !ReadU32BigEndian(f, encoding) ||
        !ReadU32BigEndian(f, rate) || !ReadU32BigEndian(f, channels))
        return false;
    if (offset > uint32_t(LONG_MAX) || PakFSeek(f, long(offset), SEEK_SET) != 0)
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
    uint64_t left = BytesLeft(f);
    if (size == 0xFFFFFFFFu)
        size = uint32_t(std::min<uint64_t>(left, 0xFFFFFFFEu));
    else if (size > left)
        return false;
    uint64_t bytes = uint64_t(size) * bits / 8;
    if (bytes > plat::DSBSIZE_MAX)
        return false;

    return FillNewBuffer(id, uint16_t(channels), rate, bits, uint32_t(bytes), [&](uint8_t* data, uint32_t) {
        std::vector<uint8_t> raw(size);
        size_t got = PakFRead(raw.data(), 1, size, f);
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

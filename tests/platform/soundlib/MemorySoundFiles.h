#pragma once
// Sound files served from memory through the sound library's file callbacks,
// and a counting allocator for its memory callbacks.
#include "platform/soundlib/SoundLibrary.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <string>

namespace soundtest {

class MemorySoundFiles {
public:
    static MemorySoundFiles& Get()
    {
        static MemorySoundFiles files;
        return files;
    }
    void Put(const std::string& path, const std::string& bytes)
    {
        std::lock_guard<std::mutex> g(mLock);
        mFiles[path] = bytes;
    }
    void Clear()
    {
        std::lock_guard<std::mutex> g(mLock);
        mFiles.clear();
    }
    int OpenHandles()
    {
        std::lock_guard<std::mutex> g(mLock);
        return int(mOpen.size());
    }
    void Install(plat::SoundLibrary& lib) { lib.SetFileCallbacks(&Open, &Seek, &Read, &Close); }

private:
    struct Handle {
        std::string bytes;
        long pos = 0;
    };
    static intptr_t Open(const char* path)
    {
        MemorySoundFiles& f = Get();
        std::lock_guard<std::mutex> g(f.mLock);
        auto it = f.mFiles.find(path);
        if (it == f.mFiles.end())
            return -1;
        auto* h = new Handle{it->second, 0};
        f.mOpen[intptr_t(h)] = h;
        return intptr_t(h);
    }
    static long Seek(intptr_t file, long offset, int origin)
    {
        auto* h = reinterpret_cast<Handle*>(file);
        long size = long(h->bytes.size());
        long base = origin == SEEK_SET ? 0 : origin == SEEK_CUR ? h->pos : size;
        h->pos = std::clamp(base + offset, 0L, size);
        return h->pos;
    }
    static int Read(intptr_t file, void* buffer, int bytes)
    {
        auto* h = reinterpret_cast<Handle*>(file);
        int n = int(std::min<long>(bytes, long(h->bytes.size()) - h->pos));
        std::memcpy(buffer, h->bytes.data() + h->pos, size_t(n));
        h->pos += n;
        return n;
    }
    static void Close(intptr_t file)
    {
        MemorySoundFiles& f = Get();
        std::lock_guard<std::mutex> g(f.mLock);
        f.mOpen.erase(file);
        delete reinterpret_cast<Handle*>(file);
    }
    std::mutex mLock;
    std::map<std::string, std::string> mFiles;
    std::map<intptr_t, Handle*> mOpen;
};

// Counts what passes through the memory callbacks.
struct CountingMemory {
    static inline std::mutex lock;
    static inline long allocations = 0;
    static inline long releases = 0;
    static void* Allocate(size_t bytes)
    {
        std::lock_guard<std::mutex> g(lock);
        ++allocations;
        return bytes ? malloc(bytes) : nullptr;
    }
    static void Release(void* p)
    {
        std::lock_guard<std::mutex> g(lock);
        if (p) {
            ++releases;
            free(p);
        }
    }
    static void Reset()
    {
        std::lock_guard<std::mutex> g(lock);
        allocations = releases = 0;
    }
};

// The start-up block the game gives.
inline plat::SoundLibrary::InitParams GameParams()
{
    plat::SoundLibrary::InitParams p;
    p.window = 1;
    int32_t v[12] = {0, 44100, 16, 32, 1, 1, 0, 500, 0, 0, 0, 0};
    std::copy(v, v + 12, p.values);
    return p;
}

} // namespace soundtest

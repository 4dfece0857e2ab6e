#pragma once
#include "framework/app/StringUtil.h"
#include "framework/fonts/Font.h"
#include "framework/graphics/MemoryImage.h"
#include "framework/graphics/SharedImage.h"
#include "framework/resources/ImageLib.h"
#include "framework/resources/ResourceHost.h"
#include "framework/sound/SoundManager.h"

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

// A memory image that notes the calls the resource manager makes on it.
class LoggingImage : public Zelk::MemoryImage {
public:
    explicit LoggingImage(std::vector<std::string>* log) : MemoryImage(nullptr), mLog(log) {}
    void MarkBitsChanged() override
    {
        Note("MarkBitsChanged");
        MemoryImage::MarkBitsChanged();
    }
    void AnalyzeBits() override
    {
        Note("AnalyzeBits");
        MemoryImage::AnalyzeBits();
    }
    void DiscardBits() override
    {
        Note("DiscardBits");
        MemoryImage::DiscardBits();
    }
    bool Palettize() override
    {
        Note("Palettize");
        return MemoryImage::Palettize();
    }
    std::vector<std::string>* mLog;

private:
    void Note(const char* what)
    {
        if (mLog)
            mLog->push_back(what);
    }
};

// Sounds by id, the highest free id first.
class FakeSoundManager : public Zelk::SoundManager {
public:
    std::set<std::string> files; // paths LoadSound accepts
    bool acceptAll = false;      // or every path
    int ids = 256;               // ids 256 - ids .. 255 exist
    std::map<int, std::string> sounds;
    std::map<int, double> volumes;
    std::map<int, int> pans;

    int GetFreeSoundId() override
    {
        for (int id = 255; id >= 256 - ids && id >= 0; --id)
            if (!sounds.count(id))
                return id;
        return -1;
    }
    bool LoadSound(unsigned int id, const std::string& fileName) override
    {
        if (!acceptAll && !files.count(fileName))
            return false;
        sounds[int(id)] = fileName;
        return true;
    }
    void ReleaseSound(unsigned int id) override { sounds.erase(int(id)); }
    bool SetBaseVolume(unsigned int id, double v) override { return volumes[int(id)] = v, true; }
    bool SetBasePan(unsigned int id, int p) override { return pans[int(id)] = p, true; }
    bool Initialized() override { return true; }
    int FindSoundId(const std::string&) override { return -1; }
    void SetVolume(double) override {}
    Zelk::SoundInstance* GetSoundInstance(unsigned int) override { return nullptr; }
    void ReleaseSounds() override { sounds.clear(); }
    void ReleaseChannels() override {}
    double GetMasterVolume() override { return 1.0; }
    void SetMasterVolume(double) override {}
    void Flush() override {}
    void SetCooperativeWindow(plat::WindowHandle, bool) override {}
    void StopAllSounds() override {}
    int GetNumSounds() override { return int(sounds.size()); }
};

// A system or image font as a plain record; copies keep everything, as the
// real fonts' copies do.
class FakeFont : public Zelk::Font {
public:
    FakeFont() { ++live; }
    FakeFont(const FakeFont& other) : Font(other), sys(other.sys), image(other.image), loaded(other.loaded),
        face(other.face), size(other.size), bold(other.bold), italic(other.italic), underline(other.underline),
        shadow(other.shadow), simulateBold(other.simulateBold), tags(other.tags) { ++live; }
    ~FakeFont() override { --live; }
    Zelk::Font* Duplicate() override { return new FakeFont(*this); }

    static int live;
    bool sys = false, image = false, loaded = true;
    std::string face;
    int size = 0;
    bool bold = false, italic = false, underline = false, shadow = false, simulateBold = false;
    std::vector<std::string> tags;
    bool prepared = false;
};
inline int FakeFont::live = 0;

// The application, surface images and font classes as the manager sees
// them, with a log of the calls made.
class FakeResourceHost : public Zelk::ResourceHost {
public:
    // An image file the shared images can be made from.
    void AddImageFile(const std::string& path, int width, int height, std::vector<uint32_t> bits)
    {
        mFiles[Zelk::StringToUpper(path)] = {width, height, std::move(bits)};
    }
    std::set<std::string> brokenFonts; // image fonts whose description does not load
    bool is3D = false;
    std::set<Zelk::MemoryImage*> withSurface;
    std::set<Zelk::MemoryImage*> surfaceWanted;
    FakeSoundManager sound;

    std::vector<std::string> log;
    std::vector<uint32_t> alphaColourAtLoad;

    Zelk::SharedImage* Shared(const std::string& path, const std::string& variant = "")
    {
        auto it = mShared.find(Zelk::StringToUpper(path) + "|" + variant);
        return it == mShared.end() ? nullptr : &it->second->record;
    }
    LoggingImage* SharedImage(const std::string& path, const std::string& variant = "")
    {
        Zelk::SharedImage* s = Shared(path, variant);
        return s ? static_cast<LoggingImage*>(s->mImage) : nullptr;
    }

    Zelk::SharedImageRef GetSharedImage(const std::string& path, const std::string& variant, bool* isNew) override
    {
        log.push_back("GetSharedImage " + path);
        alphaColourAtLoad.push_back(ImageLib::gAlphaImageColor);
        std::unique_ptr<Entry>& entry = mShared[Zelk::StringToUpper(path) + "|" + variant];
        *isNew = !entry;
        if (!entry) {
            entry.reset(new Entry);
            auto file = mFiles.find(Zelk::StringToUpper(path));
            if (file != mFiles.end()) {
                entry->image.reset(new LoggingImage(nullptr));
                entry->image->SetBits(file->second.bits.data(), file->second.width, file->second.height);
                entry->image->mLog = &log;
            }
            entry->record.mImage = entry->image.get();
        }
        return Zelk::SharedImageRef(&entry->record);
    }
    bool Is3DAccelerated() override { return is3D; }
    Zelk::SoundManager* GetSoundManager() override { return &sound; }
    void SetSurfaceWanted(Zelk::MemoryImage* image) override { surfaceWanted.insert(image); }
    bool HasSurface(Zelk::MemoryImage* image) override { return withSurface.count(image) != 0; }

    Zelk::Font* MakeSysFont(const std::string& face, int size, bool bold, bool italic, bool underline, bool shadow,
                            bool simulateBold) override
    {
        FakeFont* f = new FakeFont;
        f->sys = true;
        f->face = face;
        f->size = size;
        f->bold = bold;
        f->italic = italic;
        f->underline = underline;
        f->shadow = shadow;
        f->simulateBold = simulateBold;
        return f;
    }
    Zelk::Font* MakeImageFont(const std::string& path) override
    {
        FakeFont* f = new FakeFont;
        f->image = true;
        f->face = path;
        f->loaded = !brokenFonts.count(path);
        return f;
    }
    bool IsImageFont(Zelk::Font* font) override { return static_cast<FakeFont*>(font)->image; }
    bool ImageFontLoaded(Zelk::Font* font) override { return static_cast<FakeFont*>(font)->loaded; }
    void AddTag(Zelk::Font* font, const std::string& tag) override { static_cast<FakeFont*>(font)->tags.push_back(tag); }
    void Prepare(Zelk::Font* font) override { static_cast<FakeFont*>(font)->prepared = true; }

private:
    struct File {
        int width, height;
        std::vector<uint32_t> bits;
    };
    struct Entry {
        std::unique_ptr<LoggingImage> image;
        Zelk::SharedImage record;
    };
    std::map<std::string, File> mFiles;
    std::map<std::string, std::unique_ptr<Entry>> mShared;
};

#pragma once
#include "framework/app/StringUtil.h"
#include "framework/resources/ImageLib.h"
#include "framework/resources/ResourceHost.h"

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

// Images, sounds and fonts as plain records, and a log of the calls the
// resource manager makes.
struct FakeImage {
    int width = 0, height = 0;
    std::vector<uint32_t> bits;
    int holds = 0;
    int changes = 0;
    bool discarded = false, surfaceWanted = false, hasSurface = false, palettized = false;
    uint32_t textureFlags = 8;
    int rows = 1, cols = 1;
    bool animSet = false;
    Zelk::ResourceAnim anim;
};

struct FakeFont {
    bool sys = false, image = false, loaded = true;
    std::string face;
    int size = 0;
    bool bold = false, italic = false, underline = false, shadow = false, simulateBold = false;
    std::vector<std::string> tags;
    bool prepared = false;
};

class FakeResourceHost : public Zelk::ResourceHost {
public:
    // ---- what the fake offers ----
    // An image file the shared images can be made from.
    void AddImageFile(const std::string& path, int width, int height, std::vector<uint32_t> bits)
    {
        mFiles[Zelk::StringToUpper(path)] = {width, height, std::move(bits)};
    }
    std::set<std::string> soundFiles; // paths LoadSound accepts
    int freeSoundIds = 256;
    std::set<std::string> brokenFonts; // image font paths whose description does not load
    bool is3D = false;

    // ---- what was asked ----
    std::vector<std::string> log;
    std::vector<uint32_t> alphaColourAtLoad;
    std::map<int, std::string> sounds;
    std::map<int, double> volumes;
    std::map<int, int> pans;
    std::set<FakeFont*> liveFonts;
    int deletedOwnedImages = 0;

    FakeImage* Shared(const std::string& path, const std::string& variant = "")
    {
        auto it = mShared.find(Zelk::StringToUpper(path) + "|" + variant);
        return it == mShared.end() ? nullptr : it->second.get();
    }
    static FakeImage* Of(Zelk::Image* image) { return reinterpret_cast<FakeImage*>(image); }
    static FakeFont* Of(Zelk::Font* font) { return reinterpret_cast<FakeFont*>(font); }

    ~FakeResourceHost() override
    {
        for (FakeFont* f : liveFonts)
            delete f;
    }

    Zelk::Image* GetSharedImage(const std::string& path, const std::string& variant, bool* isNew) override
    {
        log.push_back("GetSharedImage " + path);
        alphaColourAtLoad.push_back(ImageLib::gAlphaImageColor);
        std::unique_ptr<FakeImage>& slot = mShared[Zelk::StringToUpper(path) + "|" + variant];
        *isNew = !slot;
        if (!slot) {
            auto file = mFiles.find(Zelk::StringToUpper(path));
            if (file == mFiles.end())
                return nullptr;
            slot.reset(new FakeImage);
            slot->width = file->second.width;
            slot->height = file->second.height;
            slot->bits = file->second.bits;
        }
        ++slot->holds;
        return reinterpret_cast<Zelk::Image*>(slot.get());
    }
    void ReleaseImage(Zelk::Image* image, bool owned) override
    {
        if (owned) {
            ++deletedOwnedImages;
            delete Of(image);
        } else {
            --Of(image)->holds;
        }
    }
    uint32_t* GetBits(Zelk::Image* image, int* width, int* height) override
    {
        *width = Of(image)->width;
        *height = Of(image)->height;
        return Of(image)->bits.data();
    }
    void MarkBitsChanged(Zelk::Image* image) override
    {
        log.push_back("MarkBitsChanged");
        ++Of(image)->changes;
    }
    bool AnalyzeBits(Zelk::Image* image) override
    {
        log.push_back("AnalyzeBits");
        for (uint32_t p : Of(image)->bits)
            if ((p >> 24) != 0 && (p >> 24) != 255)
                return true;
        return false;
    }
    void SetBitsDiscarded(Zelk::Image* image, bool discarded) override { Of(image)->discarded = discarded; }
    bool BitsDiscarded(Zelk::Image* image) override { return Of(image)->discarded; }
    void DiscardBits(Zelk::Image* image) override { log.push_back("DiscardBits"); }
    void SetSurfaceWanted(Zelk::Image* image) override { Of(image)->surfaceWanted = true; }
    bool HasSurface(Zelk::Image* image) override { return Of(image)->hasSurface; }
    void Palettize(Zelk::Image* image) override
    {
        log.push_back("Palettize");
        Of(image)->palettized = true;
    }
    void SetPalettized(Zelk::Image* image) override
    {
        log.push_back("SetPalettized");
        Of(image)->palettized = true;
    }
    void AddTextureFlags(Zelk::Image* image, uint32_t flags) override { Of(image)->textureFlags |= flags; }
    void SetLayout(Zelk::Image* image, int rows, int cols, const Zelk::ResourceAnim* anim) override
    {
        Of(image)->rows = rows;
        Of(image)->cols = cols;
        if (anim) {
            Of(image)->animSet = true;
            Of(image)->anim = *anim;
        }
    }

    int GetFreeSoundId() override
    {
        for (int id = 255; id >= 256 - freeSoundIds && id >= 0; --id)
            if (!sounds.count(id))
                return id;
        return -1;
    }
    bool LoadSound(int id, const std::string& path) override
    {
        if (!soundFiles.count(path))
            return false;
        sounds[id] = path;
        return true;
    }
    void SetBaseVolume(int id, double volume) override { volumes[id] = volume; }
    void SetBasePan(int id, int pan) override { pans[id] = pan; }
    void ReleaseSound(int id) override { sounds.erase(id); }

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
        liveFonts.insert(f);
        return reinterpret_cast<Zelk::Font*>(f);
    }
    Zelk::Font* MakeImageFont(const std::string& path) override
    {
        FakeFont* f = new FakeFont;
        f->image = true;
        f->face = path;
        f->loaded = !brokenFonts.count(path);
        liveFonts.insert(f);
        return reinterpret_cast<Zelk::Font*>(f);
    }
    Zelk::Font* DuplicateFont(Zelk::Font* font) override
    {
        FakeFont* f = new FakeFont(*Of(font));
        f->tags.clear();
        f->prepared = false;
        liveFonts.insert(f);
        return reinterpret_cast<Zelk::Font*>(f);
    }
    bool IsImageFont(Zelk::Font* font) override { return Of(font)->image; }
    bool ImageFontLoaded(Zelk::Font* font) override { return Of(font)->loaded; }
    void AddTag(Zelk::Font* font, const std::string& tag) override { Of(font)->tags.push_back(tag); }
    void Prepare(Zelk::Font* font) override { Of(font)->prepared = true; }
    void DeleteFont(Zelk::Font* font) override
    {
        liveFonts.erase(Of(font));
        delete Of(font);
    }
    bool Is3DAccelerated() override { return is3D; }

private:
    struct File {
        int width, height;
        std::vector<uint32_t> bits;
    };
    std::map<std::string, File> mFiles;
    std::map<std::string, std::unique_ptr<FakeImage>> mShared;
};

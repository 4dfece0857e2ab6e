#pragma once
#include "launcher/gif/GIFTypes.h"
#include <deque>
#include <vector>

namespace GIFImage {

class TGIFColorMap;
class TGIFSubImage;

// One colour of a histogram.
struct TOptimizeEntry {
    int64_t Count = 0; // -1: dropped as unused
    int OldIndex = 0;
    int NewIndex = 256; // 256: not mapped yet
    TGIFColor Color;
    TOptimizeEntry* SameAs = nullptr; // merged into an equal colour
    uint32_t Value() const { return uint32_t(Color.Red) << 16 | uint32_t(Color.Green) << 8 | Color.Blue; }
};

// How often each colour of one table is used by the frames fed to it.
class THistogram {
public:
    explicit THistogram(TGIFColorMap& colorMap);
    TGIFColorMap& ColorMap() const { return *fColorMap; }
    std::vector<TOptimizeEntry*>& List() { return fList; }
    int Count() const { return int(fList.size()); }
    bool Fed() const { return !fImages.empty(); }
    // Counts a frame's pixels; answers whether it uses its transparent index.
    bool ProcessSubImage(TGIFSubImage* image);
    // Counts one more use of an entry (the screen's background colour).
    void CountUse(int index);
    // Sorts by use and drops the unused entries; answers how many are left.
    int Prune();
    // Renumbers the pixels (and transparent indices) of the counted frames.
    void MapImages(bool useTransparency, uint8_t newTransparentColorIndex);
    int NewIndexOf(int oldIndex) const;

private:
    TGIFColorMap* fColorMap;
    std::deque<TOptimizeEntry> fEntries;
    std::vector<TOptimizeEntry*> fList;
    std::vector<TGIFSubImage*> fImages;
};

} // namespace GIFImage

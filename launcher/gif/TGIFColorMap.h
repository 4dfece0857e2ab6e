#pragma once
#include "launcher/gif/Palette.h"
#include "launcher/gif/GIFTypes.h"
#include "launcher/gif/Stream.h"
#include <vector>

namespace GIFImage {

class TGIFSubImage;

// A colour table of at most 256 entries, grown on demand.
class TGIFColorMap {
public:
    TGIFColorMap() = default;
    virtual ~TGIFColorMap() = default;
    TGIFColorMap(const TGIFColorMap&) = delete;
    TGIFColorMap& operator=(const TGIFColorMap&) = delete;

    int Count() const { return fCount; }
    int Capacity() const { return int(fColorMap.size()); }
    bool Optimized() const { return fOptimized; }
    void SetOptimized(bool value) { fOptimized = value; }
    const TGIFColor* Data() const { return fColorMap.data(); }
    TGIFColor* Data() { return fColorMap.data(); }
    int BitsPerPixel() const;

    void LoadFromStream(Stream& s, int count);
    void SaveToStream(Stream& s) const;
    int IndexOf(TGIFColor color) const;
    int Add(TGIFColor color);
    int AddUnique(TGIFColor color);
    void Delete(int index);
    void Clear();
    void Assign(const TGIFColorMap& source);
    void ImportColorMap(const TGIFColor* map, int count);
    // The colour of an entry: an index outside the table warns and gives
    // entry 0; an empty table raises "Color table is empty".
    TGIFColor ColorAt(int index) const;
    // The table as a system palette: every entry flagged no-collapse.
    Palette ExportPalette() const;
    void SetColorAt(int index, TGIFColor color);
    // Keeps the first count entries (count not above Count).
    void Truncate(int count);

    virtual void Warning(TGIFSeverity severity, const std::string& message) const {}
    virtual void Changed() {}
    // Sorts the entries by use, most used first, renumbering the pixels of
    // the frames that use the table; unused entries at the end are dropped.
    virtual bool Optimize();

protected:
    // The frames whose pixels index this table.
    virtual std::vector<TGIFSubImage*> CountedFrames() { return {}; }
    // The screen's background index when it points into this table.
    virtual uint8_t* BackgroundIndexField() { return nullptr; }
    bool SortByUse();
    void SetCapacity(int request);

private:
    std::vector<TGIFColor> fColorMap;
    int fCount = 0;
    bool fOptimized = false;
};

} // namespace GIFImage

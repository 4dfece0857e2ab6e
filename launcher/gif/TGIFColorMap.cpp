#include "launcher/gif/TGIFColorMap.h"
#include "launcher/gif/GIFException.h"
#include "launcher/gif/GIFMessages.h"
#include "launcher/gif/StreamIO.h"
#include "launcher/gif/TGIFGraphicControlExtension.h"
#include "launcher/gif/TGIFSubImage.h"
#include <algorithm>
#include <numeric>

namespace GIFImage {

int TGIFColorMap::BitsPerPixel() const
{
    if (fCount == 0)
        return 0;
    int bits = 1;
    while ((1 << bits) < fCount)
        ++bits;
    return bits;
}

void TGIFColorMap::SetCapacity(int request)
{
    if (request <= Capacity())
        return;
    int capacity = request > 16 ? (request + 31) / 32 * 32 : 16;
    if (capacity > 256)
        capacity = 256;
    fColorMap.resize(size_t(capacity));
}

void TGIFColorMap::LoadFromStream(Stream& s, int count)
{
    Clear();
    SetCapacity(count);
    StreamIO::ReadExactly(s, fColorMap.data(), size_t(count) * 3);
    fCount = count;
}

void TGIFColorMap::SaveToStream(Stream& s) const
{
    if (fCount == 0)
        return;
    StreamIO::WriteBytes(s, fColorMap.data(), size_t(fCount) * 3);
    static const uint8_t black[3] = {0, 0, 0};
    for (int i = fCount; i < (1 << BitsPerPixel()); ++i)
        StreamIO::WriteBytes(s, black, 3);
}

int TGIFColorMap::IndexOf(TGIFColor color) const
{
    if (fOptimized) {
        for (int i = 0; i < fCount; ++i)
            if (fColorMap[size_t(i)] == color)
                return i;
    } else {
        for (int i = fCount - 1; i >= 0; --i)
            if (fColorMap[size_t(i)] == color)
                return i;
    }
    return -1;
}

int TGIFColorMap::Add(TGIFColor color)
{
    if (fCount >= 256)
        throw GIFException(Msg::kColorTableOverflow);
    SetCapacity(fCount + 1);
    fColorMap[size_t(fCount)] = color;
    fOptimized = false;
    Changed();
    return fCount++;
}

int TGIFColorMap::AddUnique(TGIFColor color)
{
    int index = IndexOf(color);
    return index >= 0 ? index : Add(color);
}

void TGIFColorMap::Delete(int index)
{
    if (index < 0 || index >= fCount)
        throw GIFException(Msg::kInvalidColorIndex);
    fColorMap.erase(fColorMap.begin() + index);
    fColorMap.push_back(TGIFColor{});
    --fCount;
    fOptimized = false;
    Changed();
}

void TGIFColorMap::Clear()
{
    fColorMap.clear();
    fCount = 0;
    fOptimized = false;
}

void TGIFColorMap::Assign(const TGIFColorMap& source)
{
    if (&source == this)
        return;
    fColorMap = source.fColorMap;
    fCount = source.fCount;
    fOptimized = source.fOptimized;
    Changed();
}

void TGIFColorMap::ImportColorMap(const TGIFColor* map, int count)
{
    Clear();
    if (count > 256)
        count = 256;
    SetCapacity(count);
    for (int i = 0; i < count; ++i)
        fColorMap[size_t(i)] = map[i];
    fCount = count;
    Changed();
}

TGIFColor TGIFColorMap::ColorAt(int index) const
{
    if (fCount == 0)
        throw GIFException(Msg::kEmptyColorTable);
    if (index < 0 || index >= fCount) {
        Warning(gsWarning, Msg::kInvalidColorIndex);
        index = 0;
    }
    return fColorMap[size_t(index)];
}

void TGIFColorMap::SetColorAt(int index, TGIFColor color)
{
    if (index < 0 || index >= fCount)
        throw GIFException(Msg::kInvalidColorIndex);
    fColorMap[size_t(index)] = color;
    Changed();
}

void TGIFColorMap::Truncate(int count)
{
    if (count >= 0 && count < fCount) {
        fCount = count;
        Changed();
    }
}

bool TGIFColorMap::Optimize()
{
    return SortByUse();
}

bool TGIFColorMap::SortByUse()
{
    if (fCount <= 1)
        return false;
    fOptimized = true;
    std::vector<TGIFSubImage*> frames = CountedFrames();
    std::vector<uint64_t> counts(static_cast<size_t>(fCount), 0);
    for (TGIFSubImage* f : frames)
        for (size_t i = 0; i < f->DataSize(); ++i)
            if (f->Data()[i] < fCount)
                ++counts[f->Data()[i]];
    // The background colour stays in the table with its own index.
    uint8_t* background = BackgroundIndexField();
    if (background && *background < fCount)
        ++counts[*background];
    std::vector<int> order(static_cast<size_t>(fCount));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return counts[size_t(a)] > counts[size_t(b)]; });
    bool moved = false;
    for (int i = 0; i < fCount; ++i)
        moved |= order[size_t(i)] != i;
    if (!moved)
        return true;
    uint8_t newIndex[256];
    for (int i = 0; i < 256; ++i)
        newIndex[i] = uint8_t(i);
    for (int k = 0; k < fCount; ++k)
        newIndex[order[size_t(k)]] = uint8_t(k);
    for (TGIFSubImage* f : frames) {
        for (size_t i = 0; i < f->DataSize(); ++i)
            f->Data()[i] = newIndex[f->Data()[i]];
        TGIFGraphicControlExtension* gce = f->GraphicControlExtension();
        if (f->Transparent() && gce)
            gce->SetTransparentColorIndexRaw(newIndex[gce->TransparentColorIndex()]);
    }
    if (background && *background < fCount)
        *background = newIndex[*background];
    std::vector<TGIFColor> sorted(fColorMap.size());
    int used = 0;
    for (int k = 0; k < fCount; ++k) {
        sorted[size_t(k)] = fColorMap[size_t(order[size_t(k)])];
        if (counts[size_t(order[size_t(k)])] > 0)
            used = k + 1;
    }
    fColorMap = std::move(sorted);
    fCount = used;
    Changed();
    return true;
}

Palette TGIFColorMap::ExportPalette() const
{
    Palette palette;
    for (int i = 0; i < fCount; ++i)
        palette.Add(fColorMap[size_t(i)], Palette::kNoCollapse);
    return palette;
}

} // namespace GIFImage

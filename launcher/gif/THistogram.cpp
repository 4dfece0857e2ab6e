#include "launcher/gif/THistogram.h"
#include "launcher/gif/GIFMessages.h"
#include "launcher/gif/TGIFColorMap.h"
#include "launcher/gif/TGIFGraphicControlExtension.h"
#include "launcher/gif/TGIFSubImage.h"
#include <algorithm>

namespace GIFImage {

THistogram::THistogram(TGIFColorMap& colorMap) : fColorMap(&colorMap)
{
    for (int i = 0; i < colorMap.Count(); ++i) {
        TOptimizeEntry e;
        e.OldIndex = i;
        e.Color = colorMap.Data()[i];
        fEntries.push_back(e);
        fList.push_back(&fEntries.back());
    }
}

bool THistogram::ProcessSubImage(TGIFSubImage* image)
{
    if (image->Empty())
        return false;
    fImages.push_back(image);
    TGIFGraphicControlExtension* gce = image->GraphicControlExtension();
    const bool transparent = image->Transparent() && gce;
    const int transparentIndex = gce ? gce->TransparentColorIndex() : -1;
    bool used = false;
    uint8_t* p = image->Data();
    for (size_t i = 0; i < image->DataSize(); ++i) {
        if (transparent && p[i] == transparentIndex) {
            used = true;
            continue;
        }
        if (p[i] >= fEntries.size()) {
            p[i] = 0;
            image->Warning(gsWarning, Msg::kColorNotInTable);
            if (fEntries.empty())
                continue;
        }
        CountUse(p[i]);
    }
    if (transparent && !used) {
        gce->SetTransparentColorIndex(0);
        gce->SetTransparent(false);
    }
    return used;
}

void THistogram::CountUse(int index)
{
    TOptimizeEntry& e = fEntries[size_t(index)];
    if (e.Count < 0xFFFFFFFFll)
        ++e.Count;
}

int THistogram::Prune()
{
    std::stable_sort(fList.begin(), fList.end(), [](auto* a, auto* b) { return a->Count > b->Count; });
    auto firstUnused = std::find_if(fList.begin(), fList.end(), [](auto* e) { return e->Count <= 0; });
    for (auto it = firstUnused; it != fList.end(); ++it)
        (*it)->Count = -1;
    fList.erase(firstUnused, fList.end());
    return Count();
}

int THistogram::NewIndexOf(int oldIndex) const
{
    return oldIndex >= 0 && size_t(oldIndex) < fEntries.size() ? fEntries[size_t(oldIndex)].NewIndex : 256;
}

void THistogram::MapImages(bool useTransparency, uint8_t newTransparentColorIndex)
{
    uint8_t map[256];
    for (int i = 0; i < 256; ++i) {
        int n = NewIndexOf(i);
        map[i] = uint8_t(n < 256 ? n : 0);
    }
    for (TGIFSubImage* image : fImages) {
        TGIFGraphicControlExtension* gce = image->GraphicControlExtension();
        const bool transparent = useTransparency && image->Transparent() && gce;
        const int oldTransparent = gce ? gce->TransparentColorIndex() : -1;
        uint8_t* p = image->Data();
        for (size_t i = 0; i < image->DataSize(); ++i)
            p[i] = transparent && p[i] == oldTransparent ? newTransparentColorIndex : map[p[i]];
        if (transparent)
            gce->SetTransparentColorIndexRaw(newTransparentColorIndex);
    }
}

} // namespace GIFImage

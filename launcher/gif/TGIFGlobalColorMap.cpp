#include "launcher/gif/TGIFGlobalColorMap.h"
#include "launcher/gif/TGIFHeader.h"
#include "launcher/gif/TGIFImage.h"
#include "launcher/gif/TGIFSubImage.h"

namespace GIFImage {

void TGIFGlobalColorMap::Warning(TGIFSeverity severity, const std::string& message) const
{
    fHeader->Warning(severity, message);
}

bool TGIFGlobalColorMap::Optimize()
{
    if (Count() > 1 && (!fHeader->Image() || fHeader->Image()->Images().Count() == 0))
        return false;
    return SortByUse();
}

std::vector<TGIFSubImage*> TGIFGlobalColorMap::CountedFrames()
{
    std::vector<TGIFSubImage*> frames;
    if (TGIFImage* image = fHeader->Image())
        for (int i = 0; i < image->Images().Count(); ++i)
            if (&image->Images().SubImage(i)->ActiveColorMap() == this)
                frames.push_back(image->Images().SubImage(i));
    return frames;
}

uint8_t* TGIFGlobalColorMap::BackgroundIndexField()
{
    return &fHeader->Descriptor().BackgroundColorIndex;
}

void TGIFGlobalColorMap::Changed()
{
    if (fHeader && fHeader->Image())
        fHeader->Image()->FreeBitmaps();
}

} // namespace GIFImage

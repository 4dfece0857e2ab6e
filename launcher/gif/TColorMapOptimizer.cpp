#include "launcher/gif/TColorMapOptimizer.h"
#include "launcher/gif/GIFException.h"
#include "launcher/gif/TGIFImage.h"
#include "launcher/gif/TGIFSubImage.h"
#include <algorithm>
#include <cstdlib>

namespace GIFImage {

void TColorMapOptimizer::Optimize()
{
    TGIFGlobalColorMap& global = fImage.GlobalColorMap();
    TGIFImageList& frames = fImage.Images();
    THistogram* globalHistogram = nullptr;
    if (global.Count() > 0) {
        auto histogram = std::make_unique<THistogram>(global);
        for (int i = 0; i < frames.Count(); ++i) {
            TGIFSubImage* f = frames.SubImage(i);
            if (!f->Empty() && f->ColorMap().Count() == 0)
                fUseTransparency |= histogram->ProcessSubImage(f);
        }
        // The screen's background colour counts as used and keeps its colour.
        int background = fImage.BackgroundColorIndex();
        bool countsBackground = background < global.Count();
        if (countsBackground)
            histogram->CountUse(background);
        if (histogram->Fed() || countsBackground) {
            globalHistogram = histogram.get();
            fHistogramList.push_back(std::move(histogram));
        }
    }
    for (int i = 0; i < frames.Count(); ++i) {
        TGIFSubImage* f = frames.SubImage(i);
        if (f->Empty() || f->ColorMap().Count() == 0)
            continue;
        auto histogram = std::make_unique<THistogram>(f->ColorMap());
        fUseTransparency |= histogram->ProcessSubImage(f);
        fHistogramList.push_back(std::move(histogram));
    }
    for (auto& h : fHistogramList) {
        h->Prune();
        fHistogram.insert(fHistogram.end(), h->List().begin(), h->List().end());
    }
    std::stable_sort(fHistogram.begin(), fHistogram.end(), [](auto* a, auto* b) { return a->Value() > b->Value(); });
    TOptimizeEntry* kept = nullptr;
    for (TOptimizeEntry* e : fHistogram) {
        if (e->Count < 1)
            throw GIFException("Unused entry exported from THistogram");
        if (kept && kept->Value() == e->Value()) {
            kept->Count += e->Count;
            e->Count = 0;
            e->SameAs = kept;
        } else {
            kept = e;
        }
    }
    std::stable_sort(fHistogram.begin(), fHistogram.end(), [](auto* a, auto* b) { return a->Count > b->Count; });
    const int limit = fUseTransparency ? 255 : 256;
    while (fFinalCount < int(fHistogram.size()) && fFinalCount < limit && fHistogram[size_t(fFinalCount)]->Count > 0) {
        fHistogram[size_t(fFinalCount)]->NewIndex = fFinalCount;
        fColorMap.push_back(fHistogram[size_t(fFinalCount)]->Color);
        ++fFinalCount;
    }
    // Colours that did not fit go to the nearest kept one; merged colours
    // follow the entry they were merged into.
    for (size_t i = size_t(fFinalCount); i < fHistogram.size(); ++i) {
        TOptimizeEntry* e = fHistogram[i];
        if (e->Count < 0)
            throw GIFException("Internal error: Unused entry exported");
        if (e->SameAs)
            continue;
        int best = 0, bestSum = -1;
        for (int k = 0; k < fFinalCount; ++k) {
            const TGIFColor& c = fColorMap[size_t(k)];
            int sum = std::abs(c.Red - e->Color.Red) + std::abs(c.Green - e->Color.Green) + std::abs(c.Blue - e->Color.Blue);
            if (bestSum < 0 || sum < bestSum) {
                best = k;
                bestSum = sum;
            }
        }
        e->NewIndex = best;
    }
    for (size_t i = size_t(fFinalCount); i < fHistogram.size(); ++i) {
        TOptimizeEntry* e = fHistogram[i];
        if (!e->SameAs)
            continue;
        if (e->SameAs->NewIndex >= 256)
            throw GIFException("Internal error: Mapping to unmapped color");
        e->NewIndex = e->SameAs->NewIndex;
    }
    if (fUseTransparency) {
        fNewTransparentColorIndex = uint8_t(fFinalCount);
        fColorMap.push_back(TGIFColor{});
        ++fFinalCount;
    }
    int background = globalHistogram ? globalHistogram->NewIndexOf(fImage.BackgroundColorIndex()) : 256;
    for (int i = 0; i < frames.Count(); ++i)
        frames.SubImage(i)->ColorMap().Clear();
    for (auto& h : fHistogramList)
        h->MapImages(fUseTransparency, fNewTransparentColorIndex);
    global.ImportColorMap(fColorMap.data(), fFinalCount);
    global.SetOptimized(true);
    if (background < 256)
        fImage.Header().Descriptor().BackgroundColorIndex = uint8_t(background);
}

} // namespace GIFImage

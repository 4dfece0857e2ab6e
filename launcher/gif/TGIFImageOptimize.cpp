// The optimizer's side of TGIFImage.
#include "launcher/gif/GIFException.h"
#include "launcher/gif/GIFMessages.h"
#include "launcher/gif/TColorMapOptimizer.h"
#include "launcher/gif/TGIFAppExtNSLoop.h"
#include "launcher/gif/TGIFCommentExtension.h"
#include "launcher/gif/TGIFGraphicControlExtension.h"
#include "launcher/gif/TGIFImage.h"
#include "launcher/gif/TGIFSubImage.h"
#include "launcher/gif/TGIFTextExtension.h"
#include "launcher/gif/TGIFUnknownAppExtension.h"
#include <algorithm>

namespace GIFImage {

namespace {

bool UsesTransparentIndex(TGIFSubImage* f)
{
    TGIFGraphicControlExtension* gce = f->GraphicControlExtension();
    if (!gce)
        return false;
    const uint8_t* begin = f->Data();
    const uint8_t* end = begin + f->DataSize();
    return std::find(begin, end, uint8_t(gce->TransparentColorIndex())) != end;
}

bool Inside(const TRect& a, const TRect& b)
{
    return a.Left >= b.Left && a.Top >= b.Top && a.Right <= b.Right && a.Bottom <= b.Bottom;
}

TGIFAppExtNSLoop* LoopBlockOf(TGIFSubImage* f)
{
    for (int i = 0; i < f->Extensions().Count(); ++i)
        if (auto* loop = dynamic_cast<TGIFAppExtNSLoop*>(f->Extensions().Extension(i)))
            return loop;
    return nullptr;
}

} // namespace

void TGIFImage::OptimizeColorMap()
{
    StopDraw();
    FreeBitmaps();
    TColorMapOptimizer(*this).Optimize();
}

void TGIFImage::Optimize(unsigned options, TColorReduction reduction, TDitherMode mode, int reductionBits)
{
    StopDraw();
    FreeBitmaps();
    if (Empty())
        return;
    Progress(psStarting, 0, Msg::kOptimizing);
    try {
        TGIFImageList& frames = fImages;
        if (options & ooColorMap) {
            if (GlobalColorMap().Count() > 0)
                GlobalColorMap().Optimize();
            for (int i = 0; i < frames.Count(); ++i)
                if (frames.SubImage(i)->ColorMap().Count() > 0)
                    frames.SubImage(i)->ColorMap().Optimize();
        }
        if (options & ooCleanup) {
            for (int i = 0; i < frames.Count(); ++i) {
                TGIFSubImage* f = frames.SubImage(i);
                if (f->Transparent() && f->GraphicControlExtension() && !UsesTransparentIndex(f))
                    f->GraphicControlExtension()->SetTransparent(false);
            }
            // Clearing or restoring a frame's area is invisible only when the
            // opaque next frame covers all of it.
            for (int i = 0; i + 1 < frames.Count(); ++i) {
                TGIFSubImage* f = frames.SubImage(i);
                TGIFSubImage* next = frames.SubImage(i + 1);
                TGIFGraphicControlExtension* gce = f->GraphicControlExtension();
                if (gce
                    && (gce->Disposal() == TDisposalMethod::dmBackground
                        || gce->Disposal() == TDisposalMethod::dmPrevious)
                    && !next->Transparent() && !next->Empty() && Inside(f->BoundsRect(), next->BoundsRect()))
                    gce->SetDisposal(TDisposalMethod::dmNone);
            }
        }
        if (options & ooMerge) {
            for (int i = frames.Count() - 1; i >= 1; --i) {
                int j = i - 1;
                while (j > 0) {
                    TGIFGraphicControlExtension* g = frames.SubImage(j)->GraphicControlExtension();
                    if (!g || g->Disposal() != TDisposalMethod::dmPrevious)
                        break;
                    --j;
                }
                frames.SubImage(i)->Merge(frames.SubImage(j));
            }
        }
        if (options & ooCrop) {
            for (int i = frames.Count() - 1; i >= 0; --i) {
                TGIFSubImage* f = frames.SubImage(i);
                if (f->Empty() || !f->Transparent())
                    continue;
                // What clearing would drop: the delay and a loop block.
                int delay = f->GraphicControlExtension() ? f->GraphicControlExtension()->Delay() : 0;
                TGIFAppExtNSLoop* loop = LoopBlockOf(f);
                int loops = loop ? loop->Loops() : -1;
                uint32_t bufferSize = loop ? loop->BufferSize() : 0;
                f->Crop();
                if (!f->Empty())
                    continue;
                if (i > 0) {
                    TGIFSubImage* previous = frames.SubImage(i - 1);
                    TGIFGraphicControlExtension* g = previous->GraphicControlExtension();
                    if (previous->Transparent() && g)
                        g->SetDelay(std::min(65535, g->Delay() + delay));
                }
                if (loops >= 0 && i + 1 < frames.Count() && !LoopBlockOf(frames.SubImage(i + 1))) {
                    TGIFSubImage* next = frames.SubImage(i + 1);
                    auto moved = std::make_unique<TGIFAppExtNSLoop>(next);
                    moved->SetLoops(loops);
                    moved->SetBufferSize(bufferSize);
                    next->Extensions().Insert(0, std::move(moved));
                }
                frames.Delete(i);
            }
        }
        if (options & ooCleanup) {
            for (int i = frames.Count() - 1; i >= 0; --i) {
                TGIFSubImage* f = frames.SubImage(i);
                TGIFExtensionList& list = f->Extensions();
                TGIFAppExtNSLoop* keep = i == 0 && frames.Count() > 1 ? LoopBlockOf(f) : nullptr;
                for (int e = list.Count() - 1; e >= 0; --e) {
                    TGIFExtension* x = list.Extension(e);
                    bool loop = dynamic_cast<TGIFAppExtNSLoop*>(x) != nullptr;
                    if (dynamic_cast<TGIFCommentExtension*>(x) || dynamic_cast<TGIFTextExtension*>(x)
                        || dynamic_cast<TGIFUnknownAppExtension*>(x) || (loop && x != keep))
                        list.Delete(e);
                }
                TGIFGraphicControlExtension* gce = f->GraphicControlExtension();
                if (gce && !gce->Transparent() && !gce->UserInput()
                    && ((gce->Delay() == 0
                            && (gce->Disposal() == TDisposalMethod::dmNone
                                || gce->Disposal() == TDisposalMethod::dmNoDisposal))
                        || frames.Count() == 1))
                    list.Delete(list.IndexOf(gce));
                if (f->Empty() && list.Count() == 0)
                    frames.Delete(i);
            }
        } else if ((options & ooReduceColors) && reduction == TColorReduction::rmPalette) {
            throw GIFException(Msg::kInvalidReduction);
        }
        if (options & ooColorMap)
            OptimizeColorMap();
    } catch (...) {
        Progress(psEnding, 0, Msg::kOptimizing);
        throw;
    }
    Progress(psEnding, 100, Msg::kOptimizing);
    Changed();
}

} // namespace GIFImage

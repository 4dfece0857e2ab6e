#include "launcher/gif/TGIFPainter.h"
#include "launcher/gif/GIFMessages.h"
#include "launcher/gif/PainterHost.h"
#include "launcher/gif/TGIFAppExtNSLoop.h"
#include "launcher/gif/TGIFGraphicControlExtension.h"
#include "launcher/gif/TGIFImage.h"
#include "launcher/gif/TGIFSubImage.h"
#include "platform/clock/Clock.h"
#include "platform/crash/ThreadStart.h"
#include <algorithm>

namespace GIFImage {

namespace {

const int kUnitMs = 12;         // one delay unit at speed 100
const int kDefaultDelay = 10;   // no control block, or delay 0
const int kMinDelay = 3;
const int kMaxSyncDelay = 1000; // a synchronous animation waits at most this
const int kSyncSliceMs = 100;

} // namespace

TGIFPainter::TGIFPainter(TGIFImage* image, PainterHost* host, Bitmap* canvas, const TRect& rect, unsigned options)
    : fImage(image), fHost(host), fCanvas(canvas), fRect(rect), fDrawOptions(options),
      fAnimationSpeed(image ? image->AnimationSpeed() : 100)
{
    if (canvas && (options & goValidateCanvas))
        fCanvasHandle = canvas->Handle.Watch();
    if (image && canvas) {
        fBackgroundColor = image->DrawBackgroundColor();
        bool background = options & goClearOnLoop, previous = false;
        for (int i = 0; i < image->Images().Count(); ++i)
            if (auto* gce = image->Images().SubImage(i)->GraphicControlExtension()) {
                background |= gce->Disposal() == TDisposalMethod::dmBackground;
                previous |= gce->Disposal() == TDisposalMethod::dmPrevious;
            }
        const int w = rect.Width(), h = rect.Height();
        if (background && (options & goTransparent)) {
            fBackground = Bitmap(w, h, pf32bit);
            fBackground.CopyRect(0, 0, *canvas, rect.Left, rect.Top, w, h);
        }
        if (background || previous) {
            fBackupBuffer = Bitmap(w, h, pf32bit);
            fBackupBuffer.CopyRect(0, 0, *canvas, rect.Left, rect.Top, w, h);
            fFrameBuffer = Bitmap(w, h, pf32bit);
        }
    }
    if (Async())
        fThread = plat::StartThread("zelk-painter", [this] {
            {
                std::unique_lock<std::mutex> lock(fGateLock);
                fGate.wait(lock, [this] { return fGateOpen; });
            }
            Execute();
        });
}

TGIFPainter::~TGIFPainter()
{
    Stop();
    Join();
}

void TGIFPainter::Start()
{
    std::lock_guard<std::mutex> guard(fGateLock);
    fGateOpen = true;
    fGate.notify_all();
}

void TGIFPainter::Stop()
{
    fTerminated = true;
    fEvent.Set();
    {
        std::lock_guard<std::mutex> guard(fSyncLock);
        fSyncDone.notify_all();
    }
    Start(); // a thread still at its gate runs to its end at once
}

void TGIFPainter::Restart()
{
    fDoRestart = true;
    fEvent.Set();
}

void TGIFPainter::Pause()
{
    fPaused = true;
}

void TGIFPainter::Resume()
{
    fPaused = false;
    fEvent.Set();
}

void TGIFPainter::Join()
{
    if (fThread.joinable() && fThread.get_id() != std::this_thread::get_id())
        fThread.join();
}

void TGIFPainter::DetachImage()
{
    std::lock_guard<std::mutex> guard(fImageLock);
    fImage = nullptr;
}

void TGIFPainter::SetActiveImage(int index)
{
    std::lock_guard<std::mutex> guard(fImageLock);
    if (fImage && index >= 0 && index < fImage->Images().Count())
        fActiveImage = index;
}

void TGIFPainter::SetAnimationSpeed(int value)
{
    value = std::clamp(value, 0, 1000);
    if (value != fAnimationSpeed.exchange(value))
        fEvent.Set();
}

void TGIFPainter::Synchronize(const std::function<void()>& work)
{
    if (!Async() || !fHost) {
        work();
        return;
    }
    if (fTerminated)
        return;
    auto done = std::make_shared<bool>(false);
    std::weak_ptr<TGIFPainter> self = weak_from_this();
    fHost->Post([self, work, done] {
        auto painter = self.lock();
        if (!painter)
            return;
        if (!painter->fTerminated)
            work();
        std::lock_guard<std::mutex> guard(painter->fSyncLock);
        *done = true;
        painter->fSyncDone.notify_all();
    });
    std::unique_lock<std::mutex> lock(fSyncLock);
    fSyncDone.wait(lock, [&] { return *done || fTerminated; });
}

void TGIFPainter::Event(const TNotifyEvent& handler)
{
    if (handler && !fTerminated)
        Synchronize([this, &handler] { handler(this); });
}

void TGIFPainter::WaitDelay(int ms)
{
    plat::Clock& clock = fHost->Clock();
    if (Async()) {
        fEvent.WaitFor(ms, clock);
        return;
    }
    // In the caller: sleep in slices, keeping the GUI's closures running.
    uint32_t start = clock.NowMs();
    while (!fTerminated && !fDoRestart) {
        uint32_t elapsed = clock.NowMs() - start;
        if (elapsed >= uint32_t(ms))
            break;
        clock.SleepMs(std::min<uint32_t>(kSyncSliceMs, uint32_t(ms) - elapsed));
        fHost->ProcessPending();
    }
}

void TGIFPainter::PaintFrame(int index, TDisposalMethod disposal)
{
    Synchronize([this, index, disposal] {
        std::lock_guard<std::mutex> guard(fImageLock);
        if (!fImage || !fCanvas || index >= fImage->Images().Count())
            return;
        if ((fDrawOptions & goValidateCanvas) && fCanvasHandle.expired()) {
            // The canvas went away: end quietly without touching it.
            fTerminated = true;
            fEvent.Set();
            return;
        }
        TGIFSubImage* frame = fImage->Images().SubImage(index);
        if (fBackupBuffer.Empty())
            frame->Draw(*fCanvas, fRect, fDrawOptions & goTransparent, fDrawOptions & goTile);
        else
            PaintBuffered(*frame, index, disposal);
        fStarted = true;
        fCanvas->Changed();
    });
}

void TGIFPainter::BuildFrameBitmap(int index)
{
    {
        std::lock_guard<std::mutex> guard(fImageLock);
        if (!fImage || index >= fImage->Images().Count() || fImage->Images().SubImage(index)->HasBitmap())
            return;
    }
    // Built on the GUI thread, where its progress is reported.
    Synchronize([this, index] {
        std::lock_guard<std::mutex> guard(fImageLock);
        if (fImage && index < fImage->Images().Count())
            fImage->Images().SubImage(index)->GetBitmap();
    });
}

void TGIFPainter::ClearFrameArea(const TGIFSubImage& frame)
{
    const TRect whole{0, 0, fRect.Width(), fRect.Height()};
    std::vector<TRect> areas;
    if (!(fDrawOptions & goTile)) {
        areas.push_back(frame.PlaceIn(whole));
    } else {
        // Every tile of the frame across the rectangle.
        const int iw = std::max(1, fImage->Width()), ih = std::max(1, fImage->Height());
        for (int y = frame.Top(); y < whole.Bottom; y += ih)
            for (int x = frame.Left(); x < whole.Right; x += iw)
                areas.push_back(TRect{x, y, x + frame.Width(), y + frame.Height()});
    }
    for (const TRect& place : areas) {
        if (!fBackground.Empty())
            fBackupBuffer.CopyRect(place.Left, place.Top, fBackground, place.Left, place.Top, place.Width(),
                place.Height());
        else
            fBackupBuffer.FillRect(place, Color2RGB(fBackgroundColor));
    }
}

void TGIFPainter::PaintBuffered(TGIFSubImage& frame, int index, TDisposalMethod disposal)
{
    const TRect whole{0, 0, fRect.Width(), fRect.Height()};
    const bool transparent = fDrawOptions & goTransparent, tile = fDrawOptions & goTile;
    const bool oldKept = fOldDisposal == TDisposalMethod::dmNone || fOldDisposal == TDisposalMethod::dmNoDisposal;
    if (index == 0 && (fDrawOptions & goClearOnLoop))
        ClearFrameArea(frame);
    if (disposal == TDisposalMethod::dmPrevious && oldKept) {
        // Straight onto the target: the backup keeps what comes back.
        frame.Draw(*fCanvas, fRect, transparent, tile);
        return;
    }
    Bitmap* buffer = &fBackupBuffer;
    if (disposal == TDisposalMethod::dmPrevious) {
        fFrameBuffer.CopyRect(0, 0, fBackupBuffer, 0, 0, whole.Right, whole.Bottom);
        buffer = &fFrameBuffer;
    }
    frame.Draw(*buffer, whole, transparent, tile);
    fCanvas->CopyRect(fRect.Left, fRect.Top, *buffer, 0, 0, whole.Right, whole.Bottom);
    if (disposal == TDisposalMethod::dmBackground)
        ClearFrameArea(frame);
}

void TGIFPainter::Execute()
{
    try {
        Run();
    } catch (...) {
        // Kept and reported once on the GUI thread; the animation ends.
        fException = std::current_exception();
        fTerminated = true;
        ReportException();
    }
    fActiveImage = -1;
    fEnded = true;
}

void TGIFPainter::ReportException()
{
    std::string message;
    try {
        std::rethrow_exception(fException);
    } catch (const std::exception& e) {
        message = e.what();
    } catch (...) {
        message = "painter failed";
    }
    auto report = [self = weak_from_this(), message] {
        auto painter = self.lock();
        if (!painter)
            return;
        std::lock_guard<std::mutex> guard(painter->fImageLock);
        if (painter->fImage)
            painter->fImage->Warning(painter.get(), gsError, message);
    };
    if (Async() && fHost && !fHost->IsGuiThread())
        fHost->Post(report);
    else
        report();
}

void TGIFPainter::Run()
{
    const bool async = Async();
    // Without goAnimate (one frame, or a still picture) one frame is
    // painted once, without waiting: ForceFrame or frame 0.
    const bool animate = fDrawOptions & goAnimate;
    int still = 0;
    {
        std::lock_guard<std::mutex> guard(fImageLock);
        if (fImage)
            still = fImage->StillFrame();
    }
    plat::Clock& clock = fHost->Clock();
    fDoRestart = true;
    while (fDoRestart && !fTerminated) {
        fActiveImage = 0;
        Event(OnStartPaint);
        fStarted = false;
        fDoRestart = false;
        fOldDisposal = TDisposalMethod::dmNoDisposal;
        int loopsLeft = 1, loopStart = animate ? 0 : still, pending = async || !animate ? 0 : 1, lag = 0;
        bool loopSeen = false;
        uint32_t last = clock.NowMs();
        do {
            if ((loopsLeft == 0 && !(fDrawOptions & goLoopContinously)) || fTerminated || fDoRestart)
                break;
            fActiveImage = loopStart;
            if (fStarted)
                Event(OnLoop);
            for (bool first = true; first || animate; first = false) {
                int index = fActiveImage;
                int delay = 0;
                TDisposalMethod disposal = TDisposalMethod::dmNoDisposal;
                bool hasLoop = false;
                int loops = 0;
                {
                    std::lock_guard<std::mutex> guard(fImageLock);
                    if (!fImage || index >= fImage->Images().Count() || fImage->Images().SubImage(index)->Empty())
                        break;
                    TGIFSubImage* frame = fImage->Images().SubImage(index);
                    for (int e = 0; e < frame->Extensions().Count(); ++e) {
                        TGIFExtension* x = frame->Extensions().Extension(e);
                        if (auto* loop = dynamic_cast<TGIFAppExtNSLoop*>(x); loop && !loopSeen && !hasLoop) {
                            hasLoop = true;
                            loops = loop->Loops();
                        } else if (auto* gce = dynamic_cast<TGIFGraphicControlExtension*>(x)) {
                            disposal = gce->Disposal();
                        }
                    }
                    if (frame->GraphicControlExtension())
                        delay = frame->GraphicControlExtension()->Delay();
                }
                if (fTerminated || fDoRestart)
                    break;
                if (pending < 1) {
                    std::this_thread::yield();
                } else {
                    BuildFrameBitmap(index);
                    const int speed = fAnimationSpeed;
                    int wait;
                    if (speed < 1) {
                        wait = async ? -1 : 12000;
                    } else {
                        int elapsed = int(clock.NowMs() - last);
                        int correction = (elapsed - lag) / 2;
                        wait = MulDiv(pending * kUnitMs - correction, 100, speed);
                        lag = wait;
                    }
                    last = clock.NowMs();
                    // A paused painter waits here until it is resumed.
                    while (fPaused && !fTerminated)
                        fEvent.WaitFor(-1, clock);
                    if (async) {
                        if ((wait > 0 || speed == 0) && fEvent.WaitFor(wait, clock)) {
                            lag = 0;
                            last = clock.NowMs();
                        }
                    } else {
                        WaitDelay(std::max(wait, 1));
                    }
                }
                if (fTerminated)
                    break;
                Event(OnPaint);
                if (fTerminated)
                    break;
                if (hasLoop) {
                    loopSeen = true;
                    loopsLeft = async && (loops == 0 || (fDrawOptions & goLoopContinously)) ? -1 : loops;
                    loopStart = index;
                }
                PaintFrame(index, disposal);
                fOldDisposal = disposal;
                if (fTerminated)
                    break;
                pending = kDefaultDelay;
                if (delay > 0) {
                    pending = std::max(delay, kMinDelay);
                    if (!async)
                        pending = std::min(pending, kMaxSyncDelay);
                }
                Event(OnAfterPaint);
                if (fTerminated)
                    break;
                if (fActiveImage == index)
                    fActiveImage = index + 1;
            }
            if (loopsLeft > 0)
                --loopsLeft;
        } while (animate && (fDrawOptions & goLoop));
    }
    fActiveImage = -1;
    Event(OnEndPaint);
}

} // namespace GIFImage

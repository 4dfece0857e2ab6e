#pragma once
#include "launcher/gif/Bitmap.h"
#include "launcher/gif/GIFTypes.h"
#include "launcher/gif/TWakeEvent.h"
#include <atomic>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace GIFImage {

class TGIFImage;
class TGIFSubImage;
class PainterHost;

// Steps through an image's frames with their delays, loop count and
// disposal, painting each frame onto a canvas. Asynchronous painters run a
// thread of their own (behind a start gate) and have every paint and event
// run on the GUI thread; synchronous ones run in the caller.
class TGIFPainter : public std::enable_shared_from_this<TGIFPainter> {
public:
    using TNotifyEvent = std::function<void(TGIFPainter*)>;

    TGIFPainter(TGIFImage* image, PainterHost* host, Bitmap* canvas, const TRect& rect, unsigned options);
    ~TGIFPainter();

    // Asynchronous: starts the thread (created waiting at its gate).
    void Start();
    // Ends the animation: wakes any wait; a waiting Synchronize returns.
    void Stop();
    void Restart();
    // Cooperative: takes effect at the next wait.
    void Pause();
    void Resume();
    // Waits for the thread to end (asynchronous painters).
    void Join();
    void Execute();

    bool Terminated() const { return fTerminated; }
    bool Ended() const { return fEnded; }
    bool Async() const { return fDrawOptions & goAsync; }
    bool Started() const { return fStarted; }
    int ActiveImage() const { return fActiveImage; }
    void SetActiveImage(int index);
    int AnimationSpeed() const { return fAnimationSpeed; }
    void SetAnimationSpeed(int value);
    unsigned DrawOptions() const { return fDrawOptions; }
    const TRect& Rect() const { return fRect; }
    Bitmap* Canvas() const { return fCanvas; }
    // Called by the image as it goes: no frame is read from it afterwards.
    void DetachImage();
    std::thread::id ThreadId() const { return fThread.get_id(); }

    TNotifyEvent OnStartPaint, OnPaint, OnAfterPaint, OnLoop, OnEndPaint;

private:
    void Run();
    void Synchronize(const std::function<void()>& work);
    void Event(const TNotifyEvent& handler);
    void WaitDelay(int ms);
    void BuildFrameBitmap(int index);
    void PaintFrame(int index, TDisposalMethod disposal);
    void PaintBuffered(TGIFSubImage& frame, int index, TDisposalMethod disposal);
    void ClearFrameArea(const TGIFSubImage& frame);
    void ReportException();

    std::mutex fImageLock;
    TGIFImage* fImage;
    PainterHost* fHost;
    Bitmap* fCanvas;
    std::weak_ptr<char> fCanvasHandle; // the canvas's context, with goValidateCanvas
    TRect fRect;
    unsigned fDrawOptions;
    std::atomic<int> fAnimationSpeed;
    std::atomic<int> fActiveImage{-1};
    std::atomic<bool> fTerminated{false}, fDoRestart{false}, fPaused{false}, fStarted{false}, fEnded{false};
    TWakeEvent fEvent;
    std::mutex fGateLock;
    std::condition_variable fGate;
    bool fGateOpen = false;
    std::mutex fSyncLock;
    std::condition_variable fSyncDone;
    std::thread fThread;
    std::exception_ptr fException;
    // Buffers of the target rectangle's size, made when a disposal needs them.
    Bitmap fBackupBuffer, fFrameBuffer, fBackground;
    TColor fBackgroundColor = 0;
    TDisposalMethod fOldDisposal = TDisposalMethod::dmNoDisposal;
};

} // namespace GIFImage

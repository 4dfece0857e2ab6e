#pragma once
#include "launcher/gif/Bitmap.h"
#include "launcher/gif/GIFTypes.h"
#include "launcher/gif/Graphic.h"
#include "launcher/gif/Icon.h"
#include "launcher/gif/VectorPicture.h"
#include "launcher/gif/Stream.h"
#include "launcher/gif/TGIFHeader.h"
#include "launcher/gif/TGIFImageList.h"
#include <memory>
#include <mutex>
#include <vector>
#include <string>

namespace GIFImage {

class TGIFSubImage;
class Clipboard;
class PainterHost;
class ResourceModule;
class TGIFPainter;

// A GIF image: header with the logical screen and global colour table, and
// its frames. The model is single-threaded: frames must not be changed while
// painters run. It is registered as the graphic class "TGIFImage" for the
// extension "GIF".
class TGIFImage : public Graphic {
public:
    static constexpr TColor kNoColor = 0x1FFFFFFF;
    static constexpr char kClassName[] = "TGIFImage";
    TGIFImage();
    ~TGIFImage() override;
    TGIFImage(const TGIFImage&) = delete;
    TGIFImage& operator=(const TGIFImage&) = delete;

    void Clear();
    // Takes the frame; answers its index.
    int Add(std::unique_ptr<TGIFSubImage> frame);
    void Pack();
    // A picture converted into a new frame; answers its index.
    int Add(const Bitmap& picture);
    int Add(const Icon& picture);
    int Add(const VectorPicture& picture);
    // Copies another image's screen, frames and settings; the copy keeps no
    // progress or warning handler.
    void Assign(const TGIFImage& source);
    // A bitmap gets the image's off-screen bitmap (frame 0 drawn over the
    // screen, or the animation as far as it went); an empty image gives an
    // empty bitmap.
    void AssignTo(Bitmap& dest);
    // The "GIF Image" clipboard format.
    static unsigned ClipboardFormat();
    // Reads the clipboard's data of that format: "GIF Image" bytes or the
    // bitmap format; any other format is "Unsupported clipboard format".
    void LoadFromClipboardFormat(unsigned format, const Clipboard& clipboard);
    // Puts the image's bitmap under the bitmap format and the GIF under
    // "GIF Image" (nothing for an empty image).
    void SaveToClipboardFormat(Clipboard& clipboard);

    TGIFVersion Version() const;
    int ColorResolution() const;
    int BitsPerPixel() const;
    int Width() const override { return fHeader.Width(); }
    int Height() const override { return fHeader.Height(); }
    void SetWidth(int value);
    void SetHeight(int value);
    int BackgroundColorIndex() const { return fHeader.BackgroundColorIndex(); }
    void SetBackgroundColorIndex(int index) { fHeader.SetBackgroundColorIndex(index); }
    TColor BackgroundColor() const { return fHeader.BackgroundColor(); }
    void SetBackgroundColor(TColor color) { fHeader.SetBackgroundColor(color); }
    int AspectRatio() const { return fHeader.AspectRatio(); }
    TGIFHeader& Header() { return fHeader; }
    const TGIFHeader& Header() const { return fHeader; }
    TGIFGlobalColorMap& GlobalColorMap() { return fHeader.ColorMap(); }
    const TGIFGlobalColorMap& GlobalColorMap() const { return fHeader.ColorMap(); }
    TGIFImageList& Images() { return fImages; }
    const TGIFImageList& Images() const { return fImages; }
    bool IsTransparent() const;
    bool Empty() const override { return fImages.Count() == 0; }
    TGIFCompression Compression() const { return fCompression; }
    void SetCompression(TGIFCompression value) { fCompression = value; }
    // Settings for pictures converted into frames.
    TColorReduction ColorReduction() const { return fColorReduction; }
    void SetColorReduction(TColorReduction value) { fColorReduction = value; }
    TDitherMode DitherMode() const { return fDitherMode; }
    void SetDitherMode(TDitherMode value) { fDitherMode = value; }
    int ReductionBits() const { return fReductionBits; }
    // Outside 3 to 8: "Invalid Bits Per Pixel value".
    void SetReductionBits(int value);

    // Makes the image smaller before it is written (TGIFOptimizeOption bits).
    void Optimize(unsigned options, TColorReduction reduction, TDitherMode mode, int reductionBits);
    // Merges every colour table into one global table.
    void OptimizeColorMap();

    // Drawing and animation. Without a host (the GUI loop) every animation
    // runs in the caller.
    void SetPainterHost(PainterHost* host) { fHost = host; }
    unsigned DrawOptions() const { return fDrawOptions; }
    // A change stops the draw painter.
    void SetDrawOptions(unsigned options);
    int AnimationSpeed() const { return fAnimationSpeed; }
    // Clamped to 0 to 1000, passed on to the running painters.
    void SetAnimationSpeed(int value);
    int ForceFrame() const { return fForceFrame; }
    void SetForceFrame(int value) { fForceFrame = value; }
    // The frame shown when the image is not animated: ForceFrame when it
    // names a frame, else frame 0.
    int StillFrame() const { return fForceFrame >= 0 && fForceFrame < fImages.Count() ? fForceFrame : 0; }
    TColor DrawBackgroundColor() const;
    void SetDrawBackgroundColor(TColor color) { fDrawBackgroundColor = color; }
    // One frame, or no animation: draws ForceFrame (frame 0 when out of
    // range) at once. Otherwise the animation runs in the off-screen bitmap:
    // the first drawing makes it from the canvas's rectangle, starts the
    // draw painter on it and waits for its first frame; every drawing then
    // copies it into the rectangle (stretched, or tiled with goTile). Every
    // frame painted into it is reported as a change of the image. With
    // goDirectDraw the painter paints straight onto the canvas instead.
    void Draw(Bitmap& canvas, const TRect& rect) override;
    // The off-screen bitmap (null for an empty image), made on first use
    // with frame 0 drawn into it.
    Bitmap* GetBitmap();
    bool HasBitmap() const { return fBitmap != nullptr; }
    // Stops the draw painter, waits for it and drops the off-screen bitmap.
    void StopDraw();
    // Whether frames are shown dithered over the web colours: goDither, and
    // goAutoDither clear or a paletted screen.
    bool Dithers() const;
    // Drops every frame's bitmap and the image's palette (built again when
    // asked for).
    void FreeBitmaps();
    // The palette the image is shown with: the off-screen bitmap's, the one
    // set, the web palette when dithering, the global table's, else frame
    // 0's; null without any. Asked again from inside (frame 0 without a
    // table of its own asks the image): "No global or local color table
    // defined".
    std::shared_ptr<const Palette> GetPalette();
    // Another palette: the off-screen bitmap is dropped and the image marked
    // palette-modified and changed.
    void SetPalette(std::shared_ptr<const Palette> palette);
    bool PaletteModified() const { return fPaletteModified; }
    // Starts an extra painter; none for an empty image or rectangle. A
    // synchronous painter has run to its end when this returns.
    std::shared_ptr<TGIFPainter> Paint(Bitmap& canvas, const TRect& rect, unsigned options);
    void PaintStart();
    void PaintPause();
    void PaintResume();
    void PaintRestart();
    // Stops every painter and waits for their threads, running the GUI's
    // pending closures meanwhile when called on the GUI thread.
    void PaintStop();
    // The painters still running.
    int PainterCount();
    std::function<void(TGIFPainter*)> OnStartPaint, OnPaint, OnAfterPaint, OnLoop, OnEndPaint;

    void LoadFromStream(Stream& s) override;
    void LoadFromFile(const std::string& filename);
    // Reads the raw-data resource of that name from the module; a missing
    // one raises GraphicError.
    void LoadFromResourceName(const ResourceModule& instance, const std::string& name);
    void SaveToStream(Stream& s) override;
    void SaveToFile(const std::string& filename);

    virtual void Warning(const void* sender, TGIFSeverity severity, const std::string& message);
    void Progress(TProgressStage stage, int percent, const std::string& message);

    // Grows the logical screen to hold the frame (a frame moved or resized
    // through its geometry), warning as it goes.
    void FitScreenTo(const TGIFSubImage& frame);
    // Counts pixels of frames being read; refuses an image above the limit.
    void ReservePixels(uint64_t pixels);
    // The largest frame and the most pixels in all frames read ("Invalid
    // image dimensions" beyond); a caller that knows its pictures are small
    // may lower them.
    void SetPixelLimits(uint64_t perFrame, uint64_t total);
    uint64_t MaxFramePixels() const { return fMaxFramePixels; }

    TGIFWarning OnWarning;
    TProgressEvent OnProgress;
    std::function<void()> OnChange;

protected:
    void Changed();

private:
    void GrowScreenToFrames();
    Bitmap& MakeBitmap();
    void DrawBitmap(Bitmap& canvas, const TRect& rect);
    // Waits for a painter's end, keeping the GUI's closures running.
    void WaitForEnd(TGIFPainter& painter);

    TGIFHeader fHeader;
    TGIFImageList fImages;
    TGIFCompression fCompression = gcLZW;
    TColorReduction fColorReduction = TColorReduction::rmNetscape;
    TDitherMode fDitherMode = TDitherMode::dmNearest;
    int fReductionBits = 8;
    uint64_t fReservedPixels = 0;
    uint64_t fMaxFramePixels, fMaxImagePixels;
    PainterHost* fHost = nullptr;
    unsigned fDrawOptions = kDefaultDrawOptions;
    int fAnimationSpeed = 100;
    int fForceFrame = -1;
    TColor fDrawBackgroundColor = kNoColor;
    std::recursive_mutex fPaintersLock;
    std::vector<std::shared_ptr<TGIFPainter>> fPainters;
    std::shared_ptr<TGIFPainter> fDrawPainter;
    std::unique_ptr<Bitmap> fBitmap;  // the off-screen bitmap
    std::shared_ptr<const Palette> fPalette;
    bool fInsideGetPalette = false;
    bool fPaletteModified = false;
    Bitmap* fDrawCanvas = nullptr;     // where the draw painter's frames are shown
    TRect fDrawRect;
    bool fIsDrawing = false;
};

} // namespace GIFImage

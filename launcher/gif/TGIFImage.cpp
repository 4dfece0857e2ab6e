#include "launcher/gif/TGIFImage.h"
#include "launcher/gif/FileBytes.h"
#include "launcher/gif/GIFException.h"
#include "launcher/gif/GIFLimits.h"
#include "launcher/gif/GIFMessages.h"
#include "launcher/gif/GraphicRegistry.h"
#include "launcher/gif/MemoryStream.h"
#include "launcher/gif/ResourceModule.h"
#include "launcher/gif/TGIFGraphicControlExtension.h"
#include "launcher/gif/TGIFSubImage.h"
#include "launcher/gif/TGIFTrailer.h"
#include <algorithm>

namespace GIFImage {

namespace {

// The unit's start: the toolkit learns the format, so that form data naming
// the class and files ending in ".gif" are read through this unit.
[[maybe_unused]] const bool kRegistered = [] {
    GraphicRegistry::RegisterFileFormat("GIF", Msg::kDescription, TGIFImage::kClassName,
        [] { return std::make_unique<TGIFImage>(); });
    return true;
}();

} // namespace

TGIFImage::TGIFImage()
    : fHeader(this), fImages(this), fMaxFramePixels(GIFLimits::kMaxFramePixels),
      fMaxImagePixels(GIFLimits::kMaxImagePixels)
{
    Clear();
}

TGIFImage::~TGIFImage()
{
    PaintStop();
    fImages.Clear();
}

void TGIFImage::Clear()
{
    PaintStop();
    fImages.Clear();
    fHeader.Clear();
    fReservedPixels = 0;
}

int TGIFImage::Add(std::unique_ptr<TGIFSubImage> frame)
{
    StopDraw();
    int index = fImages.Add(std::move(frame));
    Changed();
    return index;
}

void TGIFImage::Pack()
{
    StopDraw();
    if (GlobalColorMap().Count() == 0 && fImages.Count() == 1) {
        TGIFSubImage* frame = fImages.SubImage(0);
        GlobalColorMap().Assign(frame->ColorMap());
        frame->ColorMap().Clear();
    }
}

TGIFVersion TGIFImage::Version() const
{
    TGIFVersion version = gvUnknown;
    for (int i = 0; i < fImages.Count() && version <= gv87a; ++i)
        version = std::max(version, fImages.SubImage(i)->Version());
    return version;
}

int TGIFImage::ColorResolution() const
{
    int resolution = fHeader.ColorResolution();
    for (int i = 0; i < fImages.Count(); ++i)
        resolution = std::max(resolution, fImages.SubImage(i)->ColorResolution());
    return resolution;
}

int TGIFImage::BitsPerPixel() const
{
    int bits = fHeader.BitsPerPixel();
    for (int i = 0; i < fImages.Count(); ++i)
        bits = std::max(bits, fImages.SubImage(i)->BitsPerPixel());
    return bits;
}

void TGIFImage::SetWidth(int value)
{
    for (int i = 0; i < fImages.Count(); ++i) {
        const TGIFSubImage* f = fImages.SubImage(i);
        if (value < f->Left() + f->Width())
            throw GIFException(Msg::kWidthTooSmall);
    }
    if (value != Width()) {
        StopDraw();
        fHeader.SetWidth(std::clamp(value, 0, GIFLimits::kMaxScreenSize));
        Changed();
    }
}

void TGIFImage::SetHeight(int value)
{
    for (int i = 0; i < fImages.Count(); ++i) {
        const TGIFSubImage* f = fImages.SubImage(i);
        if (value < f->Top() + f->Height())
            throw GIFException(Msg::kHeightTooSmall);
    }
    if (value != Height()) {
        StopDraw();
        fHeader.SetHeight(std::clamp(value, 0, GIFLimits::kMaxScreenSize));
        Changed();
    }
}

void TGIFImage::SetReductionBits(int value)
{
    if (value < 3 || value > 8)
        throw GIFException(Msg::kInvalidBitsPerPixel);
    fReductionBits = value;
}

bool TGIFImage::IsTransparent() const
{
    for (int i = 0; i < fImages.Count(); ++i) {
        const TGIFGraphicControlExtension* gce = fImages.SubImage(i)->GraphicControlExtension();
        if (gce && gce->Transparent())
            return true;
    }
    return false;
}

void TGIFImage::FitScreenTo(const TGIFSubImage& frame)
{
    // In 32 bits: a frame may reach past 65535, where the screen stops.
    bool warned = false;
    int right = frame.Left() + frame.Width(), bottom = frame.Top() + frame.Height();
    if (right > Width()) {
        if (Width() > 0) {
            Warning(&frame, gsWarning, Msg::kWidthTooSmall);
            warned = true;
        }
        fHeader.SetWidth(std::min(right, GIFLimits::kMaxScreenSize));
    }
    if (bottom > Height()) {
        if (Height() > 0) {
            Warning(&frame, gsWarning, Msg::kHeightTooSmall);
            warned = true;
        }
        fHeader.SetHeight(std::min(bottom, GIFLimits::kMaxScreenSize));
    }
    if (warned)
        Warning(&frame, gsWarning, Msg::kExceedsScreen);
}

void TGIFImage::GrowScreenToFrames()
{
    for (int i = 0; i < fImages.Count(); ++i) {
        const TGIFSubImage* f = fImages.SubImage(i);
        fHeader.SetWidth(std::min(std::max(Width(), f->Left() + f->Width()), GIFLimits::kMaxScreenSize));
        fHeader.SetHeight(std::min(std::max(Height(), f->Top() + f->Height()), GIFLimits::kMaxScreenSize));
    }
}

void TGIFImage::ReservePixels(uint64_t pixels)
{
    if (pixels > fMaxFramePixels || fReservedPixels + pixels > fMaxImagePixels)
        throw GIFException(Msg::kInvalidDimensions);
    fReservedPixels += pixels;
}

void TGIFImage::SetPixelLimits(uint64_t perFrame, uint64_t total)
{
    fMaxFramePixels = std::min(perFrame, GIFLimits::kMaxFramePixels);
    fMaxImagePixels = std::min(total, GIFLimits::kMaxImagePixels);
}

void TGIFImage::LoadFromStream(Stream& s)
{
    Progress(psStarting, 0, Msg::kLoading);
    try {
        Clear();
        int64_t start = s.Position();
        try {
            fHeader.LoadFromStream(s);
            fImages.LoadFromStream(s, nullptr);
            GrowScreenToFrames();
            TGIFTrailer trailer(this);
            trailer.LoadFromStream(s);
        } catch (...) {
            s.Seek(start);
            throw;
        }
    } catch (...) {
        Progress(psEnding, 0, Msg::kLoading);
        throw;
    }
    Progress(psEnding, 100, Msg::kLoading);
    Changed();
}

void TGIFImage::LoadFromFile(const std::string& filename)
{
    MemoryStream s(FileBytes::Read(filename));
    LoadFromStream(s);
}

void TGIFImage::LoadFromResourceName(const ResourceModule& instance, const std::string& name)
{
    const uint8_t* data = nullptr;
    size_t size = 0;
    if (!instance.Find(name, data, size))
        throw GraphicError("Resource \"" + name + "\" not found");
    MemoryStream s(data, size);
    LoadFromStream(s);
}

void TGIFImage::SaveToStream(Stream& s)
{
    Progress(psStarting, 0, Msg::kSaving);
    try {
        // Frames without pixels write only their extensions: an image of
        // such frames alone would be a file without a picture.
        bool pictured = fImages.Count() == 0;
        for (int i = 0; i < fImages.Count() && !pictured; ++i)
            pictured = !fImages.SubImage(i)->Empty();
        if (!pictured)
            throw GIFException(Msg::kImageEmpty);
        fHeader.SaveToStream(s);
        for (int i = 0; i < fImages.Count(); ++i) {
            fImages.SubImage(i)->SaveToStream(s);
            Progress(psRunning, (i + 1) * 100 / fImages.Count(), Msg::kSaving);
        }
        TGIFTrailer(this).SaveToStream(s);
    } catch (...) {
        Progress(psEnding, 0, Msg::kSaving);
        throw;
    }
    Progress(psEnding, 100, Msg::kSaving);
}

void TGIFImage::SaveToFile(const std::string& filename)
{
    MemoryStream s;
    SaveToStream(s);
    FileBytes::Write(filename, s.Bytes());
}

void TGIFImage::Warning(const void* sender, TGIFSeverity severity, const std::string& message)
{
    if (OnWarning)
        OnWarning(sender, severity, message);
}

void TGIFImage::Progress(TProgressStage stage, int percent, const std::string& message)
{
    if (OnProgress)
        OnProgress(this, stage, percent, fPaletteModified, message);
}

void TGIFImage::Changed()
{
    if (OnChange)
        OnChange();
}

} // namespace GIFImage

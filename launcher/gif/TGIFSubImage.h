#pragma once
#include "launcher/gif/Bitmap.h"
#include "launcher/gif/Icon.h"
#include "launcher/gif/TGIFExtensionList.h"
#include "launcher/gif/VectorPicture.h"
#include "launcher/gif/TGIFItem.h"
#include "launcher/gif/TGIFLocalColorMap.h"
#include <memory>
#include <mutex>
#include <vector>

namespace GIFImage {

class TGIFColorMap;
class TGIFGraphicControlExtension;

struct TImageDescriptor {
    uint8_t Separator = 0x2C;
    uint16_t Left = 0, Top = 0, Width = 0, Height = 0;
    uint8_t PackedFields = 0;
};

// One frame: image descriptor, local colour table, pixel indices (one byte
// per pixel, rows from the top) and the extensions that precede it.
class TGIFSubImage : public TGIFItem {
public:
    explicit TGIFSubImage(TGIFImage* image);
    ~TGIFSubImage() override;

    int Left() const { return fDescriptor.Left; }
    int Top() const { return fDescriptor.Top; }
    int Width() const { return fDescriptor.Width; }
    int Height() const { return fDescriptor.Height; }
    void SetLeft(int value) { SetBounds(value, Top(), Width(), Height()); }
    void SetTop(int value) { SetBounds(Left(), value, Width(), Height()); }
    void SetWidth(int value) { SetBounds(Left(), Top(), value, Height()); }
    void SetHeight(int value) { SetBounds(Left(), Top(), Width(), value); }
    // Stores the four values; a change of size reallocates zeroed pixels; a
    // frame outside the logical screen enlarges it with warnings.
    void SetBounds(int left, int top, int width, int height);
    // Right = Left + Width and Bottom = Top + Height both ways.
    TRect BoundsRect() const;
    void SetBoundsRect(const TRect& rect);
    TRect ClientRect() const { return TRect{0, 0, Width(), Height()}; }
    bool Interlaced() const { return fDescriptor.PackedFields & 0x40; }
    void SetInterlaced(bool value);

    TGIFLocalColorMap& ColorMap() { return fColorMap; }
    const TGIFLocalColorMap& ColorMap() const { return fColorMap; }
    // The local table when it has entries, else the global one when that has
    // entries, else the (empty) local one.
    TGIFColorMap& ActiveColorMap();
    const TGIFColorMap& ActiveColorMap() const;
    // Writable pixels: the frame's bitmap is dropped, to be built again.
    uint8_t* Data()
    {
        FreeBitmap();
        return fData.data();
    }
    const uint8_t* Data() const { return fData.data(); }
    size_t DataSize() const { return fData.size(); }
    TGIFExtensionList& Extensions() { return fExtensions; }
    const TGIFExtensionList& Extensions() const { return fExtensions; }
    TGIFVersion Version() const override;
    int ColorResolution() const { return fColorMap.BitsPerPixel() - 1; }
    int BitsPerPixel() const { return fColorMap.BitsPerPixel(); }
    bool Empty() const { return fData.empty() || Width() == 0 || Height() == 0; }
    bool Transparent() const { return fTransparent; }
    void SetTransparentFlag(bool value)
    {
        fTransparent = value;
        FreeBitmap();
    }
    TGIFGraphicControlExtension* GraphicControlExtension() const { return fGraphicControlExtension; }
    void SetGraphicControlExtension(TGIFGraphicControlExtension* gce) { fGraphicControlExtension = gce; }
    TImageDescriptor& Descriptor() { return fDescriptor; }
    const TImageDescriptor& Descriptor() const { return fDescriptor; }

    uint8_t Pixel(int x, int y);
    void SetPixel(int x, int y, uint8_t value);
    uint8_t* ScanLine(int y);
    // Replaces the pixels with a zeroed buffer of Width x Height; a size above
    // the unit's limit raises "Invalid image dimensions" before allocating.
    void AllocatePixels(uint8_t fill = 0);
    void SetData(std::vector<uint8_t> pixels);

    void Clear();
    // Copies another frame: geometry, pixels, local table, transparency and
    // (through a stream, so independent) its extensions.
    void Assign(const TGIFSubImage& source);
    // Takes a picture: 1, 4 and 8 bits as they are, other depths reduced by
    // the image's reduction settings; a transparent bitmap's mask applies.
    void Assign(const Bitmap& source);
    // An icon drawn over black, its mask making the frame transparent.
    void Assign(const Icon& source);
    // A vector picture drawn over white and over black; where the two differ
    // it drew nothing, and the frame is transparent there.
    void Assign(const VectorPicture& source);
    // Pixels whose mask value is not 0 become a black entry added to the
    // local table (sorted by use first), marked transparent.
    void ApplyMask(const std::vector<uint8_t>& mask);
    // Draws the frame at its place scaled into rect of a 32-bit canvas
    // (nearest pixel, edges by the multiply-divide rule), leaving the canvas
    // where the frame is transparent when transparent is set. Indices past
    // the table draw black. Tiled, the frame is drawn at its own size at
    // every step of the image's size from rect's corner, inside rect.
    void Draw(Bitmap& canvas, const TRect& rect, bool transparent, bool tile = false) const;
    // The frame as a bitmap, built once on first use (any thread; the
    // building reports "Rendering..." progress to the image): 8 bits of the
    // frame's indices under the active table's colours, or, when the image
    // dithers, the colours diffused (Floyd-Steinberg) over the 216 web
    // colours, a transparent pixel taking the transparent colour's web
    // index. A transparent frame's bitmap carries a mask of its transparent
    // pixels when it has any.
    const Bitmap& GetBitmap() const;
    bool HasBitmap() const;
    void FreeBitmap();
    // A bitmap gets a copy of the frame's bitmap.
    void AssignTo(Bitmap& dest) const;
    // The palette the frame is shown with: its bitmap's, the web palette
    // when dithering, its local table's; else the image's.
    std::shared_ptr<const Palette> GetPalette();
    // The frame's place scaled into rect.
    TRect PlaceIn(const TRect& rect) const;
    // Cuts the transparent border of a transparent frame; an all-transparent
    // frame is cleared.
    void Crop();
    // Turns the pixels that repeat what the previous frame shows into the
    // transparent index.
    void Merge(TGIFSubImage* previous);
    void LoadFromStream(Stream& s) override;
    void SaveToStream(Stream& s) override;

private:
    std::unique_ptr<Bitmap> BuildBitmap() const;
    void DrawAt(Bitmap& canvas, const TRect& place, const TRect& clip, bool transparent) const;
    TImageDescriptor fDescriptor;
    TGIFLocalColorMap fColorMap;
    TGIFExtensionList fExtensions;
    std::vector<uint8_t> fData;
    bool fTransparent = false;
    TGIFGraphicControlExtension* fGraphicControlExtension = nullptr;
    mutable std::mutex fBitmapLock;
    mutable std::unique_ptr<Bitmap> fBitmap;
    std::shared_ptr<const Palette> fPalette;
};

} // namespace GIFImage

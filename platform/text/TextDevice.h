#pragma once
// The text device: fonts by face name, their metrics, and anti-aliased text
// drawn into pixel targets (device-independent bitmaps and locked surfaces).
// It takes the place of the desktop's text output for the system fonts.
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace plat {

// (a x b) / c rounded to the nearest integer, halves away from zero, computed
// in 64 bits; -1 when c is 0 or the result does not fit in 32 bits.
int MulDiv(int a, int b, int c);

// How a font is asked for.
struct TextFontDesc {
    std::string face;
    int height = 0;    // character (em) height in pixels
    int weight = 400;  // 700 is bold
    bool italic = false;
    bool underline = false;
    int charset = 0;
};

// Pixel metrics of a made font. The cell of a line is height pixels high with
// the baseline ascent pixels below its top.
struct TextMetrics {
    int ascent = 0;
    int descent = 0;
    int height = 0;
    int underlinePosition = 0; // rows from the baseline down to the underline's top
    int underlineThickness = 0;
};

// A pixel target: a 32-bit device-independent bitmap (channel masks
// 0xFF0000, 0xFF00, 0xFF) or a locked 16- or 32-bit surface in its own masks.
// Bits outside the three masks are left as they are. Drawing is clipped to the
// target and to its clip rectangle (right and bottom exclusive).
struct TextTarget {
    void* pixels = nullptr;
    int pitch = 0; // bytes from one row to the next
    int width = 0;
    int height = 0;
    int bitDepth = 32;
    uint32_t redMask = 0xFF0000;
    uint32_t greenMask = 0xFF00;
    uint32_t blueMask = 0xFF;
    int clipLeft = 0, clipTop = 0, clipRight = 0x7FFFFFFF, clipBottom = 0x7FFFFFFF;

    // A top-down 32-bit bitmap over the given words.
    static TextTarget Bitmap32(uint32_t* words, int width, int height);
    // Narrows the clip rectangle (IntersectClipRect).
    void IntersectClip(int left, int top, int right, int bottom);
    // Blends colour rgb (0xRRGGBB) over the pixel with the coverage (0..255):
    // each channel becomes (old x (255 - c) + new x c + 127) / 255, in 8-bit
    // channel values. Pixels outside the target or its clip are skipped.
    void Blend(int x, int y, uint32_t rgb, int coverage) const;
    // The pixel as 0xRRGGBB (channels widened to 8 bits); 0 outside the target.
    uint32_t ReadRGB(int x, int y) const;
};

// A rasterised glyph: coverage rows (0..255), its placement relative to the
// pen on the baseline, and the pen advance in whole pixels.
struct Glyph {
    int width = 0;
    int rows = 0;
    int left = 0; // columns right of the pen
    int top = 0;  // rows above the baseline
    int advance = 0;
    std::vector<uint8_t> coverage; // width x rows
};

// A font made by a text device. Measuring and drawing share the glyphs,
// which are rasterised once per character and kept.
//
// A font is used by one thread at a time.
class TextFont {
public:
    virtual ~TextFont();
    const TextMetrics& Metrics() const { return mMetrics; }
    const TextFontDesc& Desc() const { return mDesc; }
    // The family the font was really made from (a substitute's, for an
    // unknown face name).
    const std::string& Family() const { return mFamily; }
    // The glyph of a character, or null when the font cannot draw it (such a
    // character measures 0 and draws nothing).
    const Glyph* GetGlyph(wchar_t c);
    // The width of the widest line (lines end at CR, LF or CR LF), as a
    // calculating text-drawing call gives it: whole-pixel advances, no kerning.
    int Extent(const std::wstring& text);
    // The rectangle (right and bottom exclusive) that a line drawn by Draw at
    // (0, 0) may touch: its cells and every glyph's ink, which hinted accents
    // and overhangs put above, below or beside the cells.
    struct Box {
        int left = 0, top = 0, right = 0, bottom = 0;
    };
    Box InkBox(const std::wstring& text);
    // Draws one line with its top-left cell corner at (left, top), with a
    // transparent background; the underline too when the font has one.
    void Draw(const TextTarget& target, int left, int top, const std::wstring& text, uint32_t rgb);

protected:
    TextFont(const TextFontDesc& desc) : mDesc(desc) {}
    // Rasterises a character; false when the font has no glyph for it.
    virtual bool RenderGlyph(wchar_t c, Glyph& out) = 0;

    TextFontDesc mDesc;
    TextMetrics mMetrics;
    std::string mFamily;

private:
    struct CacheEntry {
        bool rendered = false;
        bool present = false;
        Glyph glyph;
    };
    CacheEntry* Entry(wchar_t c);
    std::vector<CacheEntry> mLatin;                   // characters 0..255
    std::unordered_map<wchar_t, CacheEntry> mOthers; // the rest
};

// Makes fonts. The vertical resolution (dots per inch) is a setting of the
// device, 96 unless changed.
class TextDevice {
public:
    virtual ~TextDevice() = default;
    // Null when no font can be made (no face at all, a bad size); an unknown
    // face name falls back to another face and is never a failure.
    virtual std::unique_ptr<TextFont> CreateFont(const TextFontDesc& desc) = 0;
    int LogPixelsY() const { return mLogPixelsY; }
    void SetLogPixelsY(int dpi) { mLogPixelsY = dpi; }

private:
    int mLogPixelsY = 96;
};

} // namespace plat

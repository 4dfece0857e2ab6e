#pragma once
#include <cstdint>
#include <functional>
#include <string>

namespace GIFImage {

enum TGIFSeverity { gsInfo, gsWarning, gsError };
enum TGIFVersion { gvUnknown, gv87a, gv89a };
enum class TDisposalMethod : uint8_t { dmNone, dmNoDisposal, dmBackground, dmPrevious };
enum TGIFCompression { gcLZW, gcRLE };
enum TProgressStage { psStarting, psRunning, psEnding };

// A colour of a colour table.
struct TGIFColor {
    uint8_t Red = 0, Green = 0, Blue = 0;
    bool operator==(const TGIFColor& o) const { return Red == o.Red && Green == o.Green && Blue == o.Blue; }
    bool operator!=(const TGIFColor& o) const { return !(*this == o); }
};

// The toolkit's colour: 0x00BBGGRR.
using TColor = uint32_t;

inline TGIFColor Color2RGB(TColor c)
{
    return TGIFColor{uint8_t(c), uint8_t(c >> 8), uint8_t(c >> 16)};
}

inline TColor RGB2Color(TGIFColor c)
{
    return TColor(c.Red) | TColor(c.Green) << 8 | TColor(c.Blue) << 16;
}

// Sender, severity, message.
using TGIFWarning = std::function<void(const void*, TGIFSeverity, const std::string&)>;
// Sender, stage, percent done, redraw flag, message.
using TProgressEvent = std::function<void(const void*, TProgressStage, int, bool, const std::string&)>;

} // namespace GIFImage

namespace GIFImage {

// A rectangle with exclusive right and bottom edges.
struct TRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool operator==(const TRect& o) const
    {
        return Left == o.Left && Top == o.Top && Right == o.Right && Bottom == o.Bottom;
    }
};

} // namespace GIFImage

namespace GIFImage {

enum class TColorReduction {
    rmNone, rmWindows20, rmWindows256, rmWindowsGray, rmMonochrome, rmGrayScale, rmNetscape, rmQuantize,
    rmQuantizeWindows, rmPalette
};
enum class TDitherMode { dmNearest, dmFloydSteinberg, dmStucki, dmSierra, dmJaJuNI, dmSteveArche, dmBurkes };

} // namespace GIFImage

namespace GIFImage {

enum TGIFOptimizeOption : unsigned { ooCrop = 1, ooMerge = 2, ooCleanup = 4, ooColorMap = 8, ooReduceColors = 16 };

} // namespace GIFImage

namespace GIFImage {

enum TGIFDrawOption : unsigned {
    goAsync = 1 << 0, goTransparent = 1 << 1, goAnimate = 1 << 2, goLoop = 1 << 3, goLoopContinously = 1 << 4,
    goValidateCanvas = 1 << 5, goDirectDraw = 1 << 6, goClearOnLoop = 1 << 7, goTile = 1 << 8, goDither = 1 << 9,
    goAutoDither = 1 << 10
};
inline constexpr unsigned kDefaultDrawOptions = 0x068F;

// The system's multiply-divide: a x b / c rounded half away from zero in 64
// bits; -1 for a divisor of 0.
inline int MulDiv(int a, int b, int c)
{
    if (c == 0)
        return -1;
    int64_t n = int64_t(a) * b;
    int64_t ac = c < 0 ? -int64_t(c) : c, an = n < 0 ? -n : n;
    int64_t q = (an + ac / 2) / ac;
    if ((n < 0) != (c < 0))
        q = -q;
    if (q > INT32_MAX || q < INT32_MIN)
        return -1;
    return int(q);
}

} // namespace GIFImage

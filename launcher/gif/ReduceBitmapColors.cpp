#include "launcher/gif/ReduceBitmapColors.h"
#include "launcher/gif/DitherFactory.h"
#include "launcher/gif/Palettes.h"
#include "launcher/gif/TDIBReader.h"
#include "launcher/gif/TDIBWriter.h"
#include "launcher/gif/TFastColorLookup.h"
#include "launcher/gif/TGrayScaleLookup.h"
#include "launcher/gif/TMonochromeLookup.h"
#include "launcher/gif/TNetscapeColorLookup.h"
#include "launcher/gif/TSlowColorLookup.h"

namespace GIFImage {

Bitmap ReduceBitmapColors(const Bitmap& source, TColorReduction reduction, TDitherMode mode,
    const Palette& given, int reductionBits)
{
    if (reduction == TColorReduction::rmNone) {
        Bitmap copy = source;
        TDIBReader(copy, pf24bit);
        return copy;
    }
    Bitmap result;
    Palette palette;
    std::unique_ptr<TColorLookup> lookup;
    switch (reduction) {
    case TColorReduction::rmWindows20:
        palette = Palettes::System20();
        break;
    case TColorReduction::rmWindows256:
        palette = Palettes::Halftone();
        break;
    case TColorReduction::rmWindowsGray:
        palette = Palettes::Gray4();
        break;
    case TColorReduction::rmMonochrome:
        palette = Palettes::Monochrome();
        lookup = std::make_unique<TMonochromeLookup>();
        break;
    case TColorReduction::rmGrayScale:
        palette = Palettes::GrayScale();
        lookup = std::make_unique<TGrayScaleLookup>();
        break;
    case TColorReduction::rmNetscape:
        palette = Palettes::Web();
        lookup = std::make_unique<TNetscapeColorLookup>();
        break;
    case TColorReduction::rmQuantize:
        palette = Palettes::Quantized(source, 1 << reductionBits, false);
        lookup = std::make_unique<TFastColorLookup>(palette);
        break;
    case TColorReduction::rmQuantizeWindows:
        palette = Palettes::Quantized(source, 256, true);
        break;
    case TColorReduction::rmPalette:
        palette = given;
        break;
    default:
        return result;
    }
    if (!lookup)
        lookup = std::make_unique<TSlowColorLookup>(palette);
    if (lookup->Colors() == 0 || source.Empty())
        return result;
    std::unique_ptr<TDitherEngine> ditherer = CreateDitherer(mode, source.Width(), lookup.get());
    if (!ditherer)
        return result;
    TDIBWriter writer(result, pf8bit, source.Width(), source.Height(), palette);
    for (int y = 0; y < source.Height(); ++y) {
        uint8_t* row = writer.ScanLine(y);
        for (int n = 0; n < source.Width(); ++n) {
            int x = ditherer->Column();
            TGIFColor c = source.PixelColor(x, y);
            int r, g, b;
            row[x] = uint8_t(ditherer->Dither(c.Red, c.Green, c.Blue, r, g, b));
        }
        ditherer->NextLine();
    }
    return result;
}

} // namespace GIFImage

#pragma once
#include "platform/text/TextDevice.h"

#include <memory>

namespace plat {

// The text device of the desktop: faces found by fontconfig (family name,
// weight and slant; an unknown family gets fontconfig's substitute), glyphs
// rasterised by FreeType with hinting and grayscale anti-aliasing.
//
// Metrics follow the desktop's text metrics: the em height is the asked
// height, ascent and descent are the OS/2 table's Windows ascent and descent
// scaled to it and rounded (the horizontal header's when the table has none),
// advances are whole hinted pixels without kerning. Bold and italic are
// synthesised when the matched face has neither.
//
// Faces are opened and closed under one lock, so fonts may be made on any
// thread; each font owns its face.
class FreeTypeTextDevice : public TextDevice {
public:
    FreeTypeTextDevice();
    ~FreeTypeTextDevice() override;
    std::unique_ptr<TextFont> CreateFont(const TextFontDesc& desc) override;

    struct Library;

private:
    std::shared_ptr<Library> mLibrary;
};

} // namespace plat

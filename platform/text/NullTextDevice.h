#pragma once
#include "platform/text/TextDevice.h"

#include <mutex>
#include <vector>

namespace plat {

// A text device with made-up, exactly known glyphs, for tests that compare
// pixels. For a font of em height h:
//   ascent h, descent h / 4 (height the sum), underline one row at the
//   baseline + 1;
//   every character from U+0021 to U+007E and U+00A1 to U+00FF advances h / 2
//   (+1 for weight 600 and above) and draws a box in columns 1 .. advance - 3
//   (coverage 255) plus column advance - 2 (coverage 128), over the rows
//   from 3h/4 above the baseline to the row above it; italic shifts the upper
//   half of the box one column right;
//   U+0020 and U+00A0 advance without drawing; every other character has no
//   glyph.
// Every description asked for is recorded; a switch makes creation fail.
class NullTextDevice : public TextDevice {
public:
    std::unique_ptr<TextFont> CreateFont(const TextFontDesc& desc) override;

    std::vector<TextFontDesc> Requests();
    void SetFailCreate(bool fail);

private:
    std::mutex mLock;
    std::vector<TextFontDesc> mRequests;
    bool mFailCreate = false;
};

} // namespace plat

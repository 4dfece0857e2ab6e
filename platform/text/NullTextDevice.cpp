#include "platform/text/NullTextDevice.h"

namespace plat {

namespace {

class NullTextFont : public TextFont {
public:
    explicit NullTextFont(const TextFontDesc& desc) : TextFont(desc)
    {
        int h = desc.height;
        mFamily = desc.face;
        mMetrics.ascent = h;
        mMetrics.descent = h / 4;
        mMetrics.height = mMetrics.ascent + mMetrics.descent;
        mMetrics.underlinePosition = 1;
        mMetrics.underlineThickness = 1;
    }

protected:
    bool RenderGlyph(wchar_t c, Glyph& out) override
    {
        bool blank = c == 0x20 || c == 0xA0;
        bool boxed = (c >= 0x21 && c <= 0x7E) || (c >= 0xA1 && c <= 0xFF);
        if (!blank && !boxed)
            return false;
        int h = mDesc.height;
        out.advance = h / 2 + (mDesc.weight >= 600 ? 1 : 0);
        if (blank)
            return true;
        int capHeight = h * 3 / 4;
        int boxRight = out.advance - 2; // the half-covered column
        if (boxRight < 1 || capHeight < 1)
            return true;
        bool slanted = mDesc.italic;
        out.left = 1;
        out.top = capHeight;
        out.width = boxRight + (slanted ? 1 : 0);
        out.rows = capHeight;
        out.coverage.assign(size_t(out.width) * size_t(out.rows), 0);
        for (int row = 0; row < out.rows; ++row) {
            int shift = slanted && row < out.rows / 2 ? 1 : 0;
            uint8_t* line = out.coverage.data() + size_t(row) * size_t(out.width);
            for (int col = 0; col < boxRight - 1; ++col)
                line[col + shift] = 255;
            line[boxRight - 1 + shift] = 128;
        }
        return true;
    }
};

} // namespace

std::unique_ptr<TextFont> NullTextDevice::CreateFont(const TextFontDesc& desc)
{
    std::lock_guard<std::mutex> guard(mLock);
    mRequests.push_back(desc);
    if (mFailCreate || desc.height <= 0)
        return nullptr;
    return std::make_unique<NullTextFont>(desc);
}

std::vector<TextFontDesc> NullTextDevice::Requests()
{
    std::lock_guard<std::mutex> guard(mLock);
    return mRequests;
}

void NullTextDevice::SetFailCreate(bool fail)
{
    std::lock_guard<std::mutex> guard(mLock);
    mFailCreate = fail;
}

} // namespace plat

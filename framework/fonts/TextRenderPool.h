#pragma once
#include "framework/app/CriticalSection.h"
#include "framework/graphics/Color.h"
#include "framework/graphics/Rect.h"

namespace Zelk {

class Image;

// One glyph draw queued by an image font.
struct TextRenderRecord {
    Image* mImage = nullptr;
    int mX = 0;
    int mY = 0;
    Rect mSrcRect;
    int mDrawMode = -1;
    Color mColor;
    TextRenderRecord* mNext = nullptr;
};

// The records image fonts queue their glyph draws in: a fixed pool of 4096
// shared by every image font, sorted into 256 buckets by draw order. Used
// only under the image-font lock. Queuing allocates nothing.
class TextRenderPool {
public:
    static constexpr int kRecords = 4096;
    static constexpr int kBuckets = 256;

    // Empties the buckets; the pool is used from its first record again.
    void Reset();
    // The next free record, appended to the bucket of the order (order + 128,
    // clamped to 0..255); null when the pool is used up.
    TextRenderRecord* Add(int order);
    int Used() const { return mUsed; }
    // Visits the records, lower buckets first, each bucket in the order
    // the records were added.
    template <typename F> void Each(F&& visit)
    {
        for (int b = 0; b < kBuckets; ++b)
            for (TextRenderRecord* r = mFirst[b]; r; r = r->mNext)
                visit(*r);
    }

private:
    TextRenderRecord mRecords[kRecords];
    TextRenderRecord* mFirst[kBuckets] = {};
    TextRenderRecord* mLast[kBuckets] = {};
    int mUsed = 0;
};

// Made before the program's entry point and kept for the whole process.
extern CriticalSection gImageFontLock;
extern TextRenderPool gTextRenderPool;

} // namespace Zelk

#pragma once
#include "framework/fonts/ActiveFontLayer.h"
#include "framework/fonts/Font.h"

#include <list>
#include <string>
#include <vector>

namespace Zelk {

class FontData;
class GlyphLayer;
class ZelkAppBase;

// A font made of layers of glyph images, described by a font description
// file. The layers that take part follow the font's point size, scale and
// tags; their glyph images are scaled when needed. A string is drawn by
// queuing one draw per character and layer and drawing them by draw order,
// so outlines, shadows and fills of different layers interleave.
//
// Copies share the description. A description that failed to load gives a
// font that measures 0 and draws nothing.
class ImageFont : public Font {
public:
    ImageFont(ZelkAppBase* app, const std::string& fontDescFileName);
    ImageFont(const ImageFont& other);
    ImageFont& operator=(const ImageFont&) = delete;
    ~ImageFont() override;

    // The metrics follow the active layers, so they are brought up to date
    // first, like every measurement.
    int GetAscent() override;
    int GetAscentPadding() override;
    int GetDescent() override;
    int GetHeight() override;
    int GetLineSpacingOffset() override;
    int GetLineSpacing() override;
    int StringWidth(const std::wstring& text) override;
    int CharWidth(wchar_t c) override;
    int CharWidthKerned(wchar_t c, wchar_t previous) override;
    void DrawString(Graphics* g, int x, int y, const std::wstring& text, const Color& color,
                    const Rect& clip) override;
    Font* Duplicate() override;

    virtual void RebuildActiveLayers();
    // y is the baseline. When given, glyphRects receives each queued glyph's
    // rectangle and width the pen advance. The clip argument is not used;
    // g's clip applies.
    virtual void DrawStringTagged(Graphics* g, int x, int y, const std::wstring& text, const Color& color,
                                  const Rect& clip, std::vector<Rect>* glyphRects, int* width);
    virtual void SetPointSize(int pointSize);
    virtual int GetPointSize();
    virtual void SetScale(double scale);
    virtual int GetDefaultPointSize();
    virtual bool AddTag(const std::string& tag);
    virtual bool RemoveTag(const std::string& tag);
    virtual bool HasTag(const std::string& tag);
    // The Define's value as text: a list as "(a, b, (c, d))"; empty when
    // there is no such Define.
    virtual std::wstring GetDefine(const std::wstring& name);
    // Rebuilds the active layers when a change made them invalid.
    virtual void Prepare();

    FontData* mFontData = nullptr;
    int mPointSize = 0;
    std::vector<std::string> mTagVector; // upper-cased, in the order added
    bool mActiveListValid = false;
    std::list<ActiveFontLayer> mActiveLayerList;
    double mScale = 1.0;

private:
    // The factor a layer's glyphs are drawn at: the scale, times point size
    // over the layer's point size when it has one.
    double LayerScale(const GlyphLayer& layer) const;
    bool LayerWanted(const GlyphLayer& layer) const;
};

} // namespace Zelk

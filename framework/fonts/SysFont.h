#pragma once
#include "framework/fonts/Font.h"

#include <memory>
#include <string>

namespace plat {
class TextFont;
struct TextTarget;
} // namespace plat

namespace Zelk {

class ZelkAppBase;

// A font of the desktop given by face name and point size, measured and drawn
// by the platform's text device. Text goes straight onto a surface image
// through the surface's device context; onto any other image it is drawn on
// white and on black, turned back into ARGB with per-pixel alpha and drawn as
// an image (so the Graphics' clip, modulation and draw mode apply).
//
// A font the device cannot make measures 0, has metrics 0 and draws nothing.
class SysFont : public Font {
public:
    // The global application, 96 dots per inch, character set 0.
    SysFont(const std::string& face, int pointSize, bool bold = false, bool italic = false,
            bool underline = false);
    // The given application and character set, at the screen's vertical
    // resolution (the text device's setting).
    SysFont(ZelkAppBase* app, const std::string& face, int pointSize, int charset, bool bold = false,
            bool italic = false, bool underline = false);
    // An identical, independent font; the shadow and bold switches start off.
    SysFont(const SysFont& other);
    SysFont& operator=(const SysFont&) = delete;
    ~SysFont() override;

    // The widest line of the text; shadow and simulated bold are not counted.
    int StringWidth(const std::wstring& text) override;
    // The top of the glyph cell is y - ascent + 1 on a surface and y - ascent
    // through a memory image. The colour's alpha is not used on a surface.
    void DrawString(Graphics* g, int x, int y, const std::wstring& text, const Color& color,
                    const Rect& clip) override;
    Font* Duplicate() override;

    plat::TextFont* GetTextFont() const { return mFont.get(); }

    std::unique_ptr<plat::TextFont> mFont;
    ZelkAppBase* mApp = nullptr;
    // A black copy of the text one pixel right and down, under the text.
    bool mDrawShadow = false;
    // Every pass drawn a second time one pixel to the right.
    bool mSimulateBold = false;

private:
    void Create(const std::string& face, int pointSize, int dpi, int charset, bool bold, bool italic,
                bool underline);
    void TakeMetrics();
    void DrawPasses(const plat::TextTarget& target, int left, int top, const std::wstring& text, uint32_t rgb);
    void DrawOnSurface(Graphics* g, class TextSurface* surface, int x, int y, const std::wstring& text,
                       const Color& color, const Rect& clip);
    void DrawThroughImage(Graphics* g, int x, int y, const std::wstring& text, const Color& color);
};

// Buttons and dialogs make their default label fonts through the widgets'
// system-font maker. Install puts a maker of SysFonts in place unless another
// one is installed; Remove takes it out again (only when it is this one).
void InstallSysFontMaker();
void RemoveSysFontMaker();

} // namespace Zelk

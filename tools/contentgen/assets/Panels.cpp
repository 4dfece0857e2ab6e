// Dialog backgrounds: a navy panel with a yellow rim and, where the dialog
// has a title, a title band; the full-screen ones dim everything around the
// panel so nothing below can be seen clearly (or clicked, as the dialog
// covers the screen).
#include "assets/Assets.h"
#include "assets/ArtKit.h"
#include "assets/ImageFiles.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace contentgen {

namespace {

double TitleBand(double h) { return std::min(48.0, h / 5); }

void DialogPanel(cairo_t* cr, double x, double y, double w, double h, bool titled)
{
    Panel(cr, x, y, w, h);
    if (!titled)
        return;
    double band = TitleBand(h);
    cairo_save(cr);
    RoundedRect(cr, x + 10, y + 10, w - 23, band, 10);
    SetColor(cr, 0x38000000);
    cairo_fill(cr);
    cairo_rectangle(cr, x + 24, y + 10 + band + 4, w - 51, 2);
    SetColor(cr, 0x80F2C230);
    cairo_fill(cr);
    cairo_restore(cr);
}

} // namespace

int PanelFrame(int width, int height)
{
    // Panel's rim: a line of width 0.9 x inset centred inset from the edge,
    // inset = max(1.5, min(w, h) / 40); four pixels of air inside it, room
    // for the shadow under a button.
    const double inset = std::max(1.5, std::min(width, height) / 40.0);
    return static_cast<int>(std::ceil(inset + std::max(1.0, inset * 0.9) / 2)) + 4;
}

int PanelTitleRuleTop(int height) { return static_cast<int>(std::floor(10 + TitleBand(height) + 4)); }

int PanelTitleRuleBottom(int height) { return static_cast<int>(std::ceil(10 + TitleBand(height) + 6)) - 1; }

OutFile DrawPanel(const std::string& layoutName, int width, int height, bool fullScreen, int panelX, int panelY,
                  int panelWidth, int panelHeight, bool titled)
{
    if (width <= 0 || height <= 0 || panelWidth <= 0 || panelHeight <= 0)
        throw std::runtime_error("the dialog " + layoutName + " has no size for its panel");
    Canvas canvas(width, height);
    cairo_t* cr = canvas.cr();
    if (fullScreen) {
        cairo_rectangle(cr, 0, 0, width, height);
        SetColor(cr, 0xA00A1020);
        cairo_fill(cr);
        DialogPanel(cr, panelX, panelY, panelWidth, panelHeight, titled);
    } else {
        DialogPanel(cr, 0, 0, width, height, titled);
    }
    return OutFile{"images\\ui\\panel_" + layoutName + ".png", EncodePng(canvas.Take())};
}

} // namespace contentgen

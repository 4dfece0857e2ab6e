#include "game/core/FontRegistry.h"

#include "framework/fonts/ImageFont.h"
#include "framework/fonts/SysFont.h"

#include <vector>

FontRegistry::FontRegistry(Zelk::ZelkAppBase* app) : mApp(app) {}

FontRegistry::~FontRegistry()
{
    for (auto& entry : mFonts)
        delete entry.second;
    mFonts.clear();
}

void FontRegistry::Load(const XmlNode& root)
{
    std::vector<XmlNode> nodes;
    root.Select(L"font", nodes);
    for (const XmlNode& node : nodes) {
        std::string name, type, face;
        if (!XmlGetAttrString(node, L"name", name) || !XmlGetAttrString(node, L"type", type))
            continue;
        Zelk::Font* font = nullptr;
        if (type == "System") {
            int size = 0;
            bool bold = false, italic = false, underline = false;
            if (!XmlGetAttrString(node, L"face", face) || !XmlGetAttrInt(node, L"size", size))
                continue;
            XmlGetAttrBool(node, L"bold", bold);
            XmlGetAttrBool(node, L"italic", italic);
            XmlGetAttrBool(node, L"underline", underline);
            font = new Zelk::SysFont(face, size, bold, italic, underline);
        } else if (type == "Image") {
            if (!XmlGetAttrString(node, L"face", face))
                continue;
            auto* imageFont = new Zelk::ImageFont(mApp, face);
            float scale = 1.0f;
            XmlGetAttrFloat(node, L"scale", scale);
            imageFont->SetScale(scale);
            imageFont->Prepare();
            font = imageFont;
        } else {
            continue;
        }
        Zelk::Font*& slot = mFonts[name];
        delete slot;
        slot = font;
    }
}

Zelk::Font* FontRegistry::Get(const std::string& name) { return mFonts[name]; }

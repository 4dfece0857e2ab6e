#pragma once
// A game folder as the program finds it beside itself: configuration as
// UTF-16 XML with a byte-order mark, the resource manifest and the floor
// picture, written by the test.
#include "framework/app/StringUtil.h"
#include "framework/app/Utf16.h"
#include "tests/support/TempDir.h"

#include <cstdint>
#include <string>

class GameFolder {
public:
    GameFolder()
    {
        WriteXml("properties/resources.xml", ManifestWith(kAllInitResources));
        WriteXml("cfg/loc.xml", "<root><loc id=\"app_title\" text=\"Test Title\"/></root>");
        WriteXml("cfg/office.xml", "<office/>");
        WriteXml("cfg/effect.xml", "<effects/>");
        WriteXml("cfg/ui.xml", "<root/>");
        WriteXml("cfg/l1.xml", "<level><params expert=\"100\"/></level>");
        WriteXml("cfg/l2.xml", "<level><x><params expert=\"200\"/></x></level>");
        WriteGroundImage("images/ground.tga");
    }

    static constexpr const char* kAllInitResources =
        "<Font id=\"FONT_ARIAL10\" path=\"!sys:Arial\" size=\"10\"/>"
        "<Font id=\"FONT_DEFAULT\" path=\"!sys:Arial\" size=\"12\"/>"
        "<Font id=\"FONT_ARIAL8\" path=\"!sys:Arial\" size=\"8\"/>"
        "<Font id=\"FONT_ARIAL6\" path=\"!sys:Arial\" size=\"6\"/>"
        "<Image id=\"GFX_GAME_GROUND\" path=\"images\\ground\"/>";

    static std::string ManifestWith(const std::string& initGroup)
    {
        return "<ResourceManifest><Resources id=\"Init\">" + initGroup + "</Resources></ResourceManifest>";
    }

    // ASCII text as the game's files hold it.
    void WriteXml(const std::string& name, const std::string& text) const
    {
        dir.Write(name, "\xFF\xFE" + Zelk::WideToUtf16LE(Zelk::StringToWString(text)));
    }

    void WriteGroundImage(const std::string& name) const { WriteImage(name, 2, 2, 0x7F7F7F7F); }

    // An uncompressed 32-bit picture of one colour (0xAARRGGBB), rows from the top.
    void WriteImage(const std::string& name, int width, int height, uint32_t argb) const
    {
        std::string tga(18, '\0');
        tga[2] = 2;
        tga[12] = char(width & 0xFF);
        tga[13] = char(width >> 8);
        tga[14] = char(height & 0xFF);
        tga[15] = char(height >> 8);
        tga[16] = 32;
        tga[17] = 0x28;
        for (int i = 0; i < width * height; ++i)
            for (int shift : {0, 8, 16, 24})
                tga += char((argb >> shift) & 0xFF);
        dir.Write(name, tga);
    }

    std::string ProgramPath() const { return dir / "quillmore"; }

    testsupport::TempDir dir;
};

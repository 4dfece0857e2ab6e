// The validator over any bytes: the first byte picks the file they stand for
// (a configuration file, a font description or a part's animation file) and
// whether the set counts as a whole game folder; the other files are small
// valid ones, so cross references between the files are followed.
#include "DataSet.h"
#include "Validator.h"
#include "assets/ImageFiles.h"
#include "assets/Picture.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

std::vector<uint8_t> Utf16(const std::string& text)
{
    std::vector<uint8_t> bytes = {0xFF, 0xFE};
    for (char c : text) {
        bytes.push_back(static_cast<uint8_t>(c));
        bytes.push_back(0);
    }
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    static const char* const kFiles[] = {"cfg\\ui.xml", "cfg\\effect.xml", "cfg\\loc.xml", "cfg\\office.xml",
                                         "cfg\\l1.xml", "properties\\resources.xml", "fonts\\text.txt",
                                         "anm\\table.anm"};
    // The picture of the fixture office's table, which its animation file names.
    static const std::vector<uint8_t> table = contentgen::EncodePng(contentgen::Picture(100, 90, 0xFF3A6EA5));
    const size_t pick = data[0] % (sizeof kFiles / sizeof kFiles[0]);
    contentgen::DataSet set;
    set.Add("cfg\\loc.xml", Utf16("<root><loc id=\"a\" text=\"A\"/></root>"));
    set.Add("cfg\\effect.xml",
            Utf16("<effects><effect name=\"e\"><timers><timer name=\"t\" type=\"usual\" ftime=\"1\">"
                  "<control id=\"0\" function=\"DlgShow\"/></timer></timers><messages>"
                  "<message name=\"onshow\" command=\"start\" timer_id=\"t\"/>"
                  "<message name=\"onhide\" command=\"call\" timer_id=\"DlgHide\"/></messages></effect></effects>"));
    set.Add("cfg\\ui.xml", Utf16("<root><texture id=\"p\" file=\"images\\p.png\"/><font name=\"f\" type=\"System\" size=\"9\"/>"
                                 "<texture id=\"panel_p\" file=\"images\\p.png\"/>"
                                 "<font name=\"i\" type=\"Image\" face=\"fonts\\text.txt\"/>"
                                 "<element type=\"quordialog\" name=\"hud\" effect=\"e\" label=\"a\">"
                                 "<texture id=\"normal\" texture=\"panel_p\"/>"
                                 "<element type=\"quortext\" name=\"t\" label=\"a\">"
                                 "<textattr id=\"normal\" color=\"FF000000\" font=\"i\"/></element></element></root>"));
    // A font description (UTF-16LE without a mark) that the text above is drawn in.
    std::vector<uint8_t> description = Utf16("Define Chars (\"A\");\nCreateLayer M;\nLayerSetImageMap M Chars Rects;\n");
    set.Add("fonts\\text.txt", std::vector<uint8_t>(description.begin() + 2, description.end()));
    set.Add("cfg\\office.xml", Utf16("<office><sounds><sound name=\"click\" path=\"sounds\\click.wav\"/></sounds></office>"));
    set.Add("images\\p.png", std::string("png"));
    set.Add("images\\anm\\table_plain.png", table);
    set.Add(kFiles[pick], std::vector<uint8_t>(data + 1, data + size));
    contentgen::Validate(set, (data[0] & 0x80) != 0);
    return 0;
}

// The XML parser over any bytes: every token until the end or the first error.
#include "framework/resources/XMLParser.h"
#include "fuzz/resources/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzzsupport::Serve("doc.xml", data, size);
    Zelk::XMLParser parser;
    if (!parser.OpenFile("doc.xml"))
        return 0;
    Zelk::XMLElement element;
    while (parser.NextElement(&element)) {
    }
    return 0;
}

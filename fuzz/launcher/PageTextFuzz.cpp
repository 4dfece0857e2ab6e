// A page's bytes to wrapped plain text, as the page view shows it.
#include "launcher/PageText.h"
#include "launcher/TextLines.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::wstring text = vorsel::PageTextFromHtml(vorsel::DecodeText(std::string(reinterpret_cast<const char*>(data), size)));
    vorsel::WrapText(text, 60, [](const std::wstring& s) { return int(s.size()) * 7; });
    return 0;
}

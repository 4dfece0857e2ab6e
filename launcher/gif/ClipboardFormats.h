#pragma once
#include <map>
#include <mutex>
#include <string>

namespace GIFImage {

// Clipboard format ids by name, handed out from 0xC000 like the system's
// registered formats; the same name always gets the same id.
class ClipboardFormats {
public:
    static const unsigned kBitmap = 2; // the system's bitmap format
    static unsigned Register(const std::string& name);

private:
    static std::mutex& Lock();
    static std::map<std::string, unsigned>& Ids();
};

} // namespace GIFImage

// The settings file's reader over arbitrary text. What it keeps, written
// back, is the file's own form: read again it skips no line and writes the
// same text.
#include "../FuzzTempFolder.h"
#include "platform/settings/FileSettingsStore.h"

#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The stores are never written: their file would lie in a folder that is not there.
    static const std::string path = fuzzsupport::TempFolder("settings") + "/absent/registry.txt";
    plat::FileSettingsStore store(path);
    store.ReadText(std::string(reinterpret_cast<const char*>(data), size));
    const std::string text = store.Text();

    plat::FileSettingsStore again(path);
    again.ReadText(text);
    if (again.SkippedLines() != 0 || again.Text() != text)
        abort();
    return 0;
}

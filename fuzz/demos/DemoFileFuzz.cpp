// The demo file loader over arbitrary bytes. A file that loads must write back
// and load again to the same contents.
#include "framework/app/DemoFile.h"

#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The seed files were recorded by a program of this version.
    const std::string product = "1.0";
    Zelk::DemoFile file;
    std::string error;
    if (!file.Parse(data, size, product, error))
        return 0;

    std::vector<uint8_t> again = file.Encode();
    Zelk::DemoFile back;
    if (!back.Parse(again.data(), again.size(), product, error))
        abort();
    if (back.seed != file.seed || back.recordedEnd != file.recordedEnd || back.markers.size() != file.markers.size() ||
        back.stream.GetDataLen() != file.stream.GetDataLen())
        abort();
    for (size_t i = 0; i < file.markers.size(); ++i)
        if (back.markers[i].name != file.markers[i].name || back.markers[i].update != file.markers[i].update)
            abort();

    // Reading the whole stream as playback would never goes past its bytes.
    while (!file.stream.AtEnd())
        file.stream.ReadBits(5, true);
    return 0;
}

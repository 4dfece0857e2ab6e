#include "platform/image/ImageRegions.h"

#include <algorithm>
#include <link.h>

namespace plat {

namespace {
int CollectMainExecutable(dl_phdr_info* info, size_t, void* data)
{
    auto* out = static_cast<std::vector<ImageRegion>*>(data);
    // The first object reported is the executable itself.
    for (int i = 0; i < info->dlpi_phnum; ++i) {
        const ElfW(Phdr)& ph = info->dlpi_phdr[i];
        if (ph.p_type != PT_LOAD || !(ph.p_flags & PF_R) || ph.p_memsz == 0)
            continue;
        ImageRegion r;
        r.start = reinterpret_cast<const uint8_t*>(info->dlpi_addr + ph.p_vaddr);
        r.length = ph.p_memsz;
        out->push_back(r);
    }
    return 1;
}
} // namespace

std::vector<ImageRegion> LoadedImageRegions()
{
    std::vector<ImageRegion> regions;
    dl_iterate_phdr(CollectMainExecutable, &regions);
    std::sort(regions.begin(), regions.end(),
              [](const ImageRegion& a, const ImageRegion& b) { return a.start < b.start; });
    return regions;
}

} // namespace plat

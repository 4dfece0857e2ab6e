#include "framework/graphics/DirectXErrorName.h"
#include "framework/app/StringUtil.h"
#include "platform/dx/DxResult.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace Zelk {

namespace {

struct Entry {
    int32_t code;
    const char* name;
};

#define ZELK_DX_ENTRY(name, value) {plat::name, #name},
constexpr Entry kEntries[] = {ZELK_DX_RESULTS(ZELK_DX_ENTRY)};
#undef ZELK_DX_ENTRY

} // namespace

std::string DirectXErrorName(int32_t code)
{
    for (const Entry& e : kEntries)
        if (e.code == code)
            return e.name;
    return StrFormat("%x", uint32_t(code));
}

size_t DirectXErrorNameCount() { return std::size(kEntries); }

} // namespace Zelk

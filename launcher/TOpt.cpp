#include "launcher/TOpt.h"

#include "launcher/TextLines.h"

namespace vorsel {

bool StrToInt(const std::wstring& text, int32_t& value)
{
    size_t i = 0;
    while (i < text.size() && text[i] == L' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'-' || text[i] == L'+'))
        negative = text[i++] == L'-';
    int base = 10;
    if (i < text.size() && (text[i] == L'$' || text[i] == L'x' || text[i] == L'X')) {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == L'0' && (text[i + 1] == L'x' || text[i + 1] == L'X')) {
        base = 16;
        i += 2;
    }
    if (i >= text.size())
        return false;
    const int64_t limit = negative ? int64_t(0x80000000) : int64_t(0x7FFFFFFF);
    int64_t v = 0;
    for (; i < text.size(); ++i) {
        const wchar_t c = text[i];
        int d;
        if (c >= L'0' && c <= L'9')
            d = int(c - L'0');
        else if (base == 16 && c >= L'a' && c <= L'f')
            d = int(c - L'a') + 10;
        else if (base == 16 && c >= L'A' && c <= L'F')
            d = int(c - L'A') + 10;
        else
            return false;
        v = v * base + d;
        if (v > limit)
            return false;
    }
    value = int32_t(negative ? -v : v);
    return true;
}

bool ParseOpt(const std::vector<std::wstring>& lines, TOpt& opt)
{
    if (lines.size() < 10)
        return false;
    opt.url_vorsel = lines[0];
    opt.url_ad = lines[1];
    if (!StrToInt(lines[2], opt.max_time_ldng_conf) || !StrToInt(lines[3], opt.max_time_ldng_ad) ||
        !StrToInt(lines[4], opt.max_time_ad))
        return false;
    const size_t blank = lines[5].find(L' ');
    if (blank == std::wstring::npos)
        return false;
    if (!StrToInt(lines[5].substr(0, blank), opt.size_pxls.X) || !StrToInt(lines[5].substr(blank + 1), opt.size_pxls.Y))
        return false;
    opt.caption = lines[6];
    opt.path_icon = lines[7];
    opt.path_execute = lines[8];
    int32_t canClose = 0;
    if (!StrToInt(lines[9], canClose))
        return false;
    opt.can_close = uint8_t(uint32_t(canClose) & 0xFF);
    return true;
}

bool ParseOptText(const std::string& bytes, TOpt& opt)
{
    std::vector<std::wstring> lines;
    return SplitLines(DecodeText(bytes), 10, lines) && ParseOpt(lines, opt);
}

} // namespace vorsel

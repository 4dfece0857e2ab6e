// The wide formatter. The system's wide format strings read "%s" as a wide
// string and "%S" as a narrow one; the C library reads them the other way
// round, and its narrow-string conversion depends on the locale. So each
// conversion is done here: strings and characters directly, numbers through
// the narrow snprintf (their output is plain ASCII).
#include "framework/app/StringUtil.h"

#include <cstddef>
#include <cstdio>
#include <cwchar>
#include <vector>

namespace Zelk {

namespace {

enum class Len { None, hh, h, l, ll, L, z, j, t };

void Pad(std::wstring& out, const std::wstring& body, int width, bool left)
{
    int fill = width - int(body.size());
    if (fill > 0 && !left)
        out.append(size_t(fill), L' ');
    out += body;
    if (fill > 0 && left)
        out.append(size_t(fill), L' ');
}

} // namespace

std::wstring WStrVFormat(const wchar_t* fmt, va_list argsIn)
{
    va_list args;
    va_copy(args, argsIn);
    std::wstring out;
    for (const wchar_t* p = fmt; *p;) {
        if (*p != L'%') {
            out += *p++;
            continue;
        }
        const wchar_t* specStart = p++;
        if (*p == L'%') {
            out += L'%';
            ++p;
            continue;
        }
        std::string flags;
        while (*p == L'-' || *p == L'+' || *p == L' ' || *p == L'#' || *p == L'0')
            flags += char(*p++);
        bool left = flags.find('-') != std::string::npos;
        int width = -1;
        if (*p == L'*') {
            width = va_arg(args, int);
            if (width < 0) {
                left = true;
                flags += '-';
                width = -width;
            }
            ++p;
        } else if (*p >= L'0' && *p <= L'9') {
            width = 0;
            while (*p >= L'0' && *p <= L'9')
                width = width * 10 + int(*p++ - L'0');
        }
        int precision = -1;
        if (*p == L'.') {
            ++p;
            precision = 0;
            if (*p == L'*') {
                precision = va_arg(args, int);
                ++p;
            } else {
                while (*p >= L'0' && *p <= L'9')
                    precision = precision * 10 + int(*p++ - L'0');
            }
        }
        Len len = Len::None;
        bool narrowHint = false, wideHint = false;
        if (*p == L'h') {
            ++p;
            narrowHint = true;
            len = Len::h;
            if (*p == L'h') {
                ++p;
                len = Len::hh;
            }
        } else if (*p == L'l') {
            ++p;
            wideHint = true;
            len = Len::l;
            if (*p == L'l') {
                ++p;
                len = Len::ll;
            }
        } else if (*p == L'w') {
            ++p;
            wideHint = true;
        } else if (*p == L'L') {
            ++p;
            len = Len::L;
        } else if (*p == L'z') {
            ++p;
            len = Len::z;
        } else if (*p == L'j') {
            ++p;
            len = Len::j;
        } else if (*p == L't') {
            ++p;
            len = Len::t;
        } else if (p[0] == L'I' && p[1] == L'6' && p[2] == L'4') {
            p += 3;
            len = Len::ll;
        } else if (p[0] == L'I' && p[1] == L'3' && p[2] == L'2') {
            p += 3;
        }
        const wchar_t conv = *p;
        if (!conv)
            break;
        ++p;

        switch (conv) {
        case L's':
        case L'S': {
            bool narrow = (conv == L'S' && !wideHint) || narrowHint;
            std::wstring body;
            if (narrow) {
                const char* s = va_arg(args, const char*);
                if (!s)
                    s = "(null)";
                for (; *s && (precision < 0 || int(body.size()) < precision); ++s)
                    body += wchar_t(static_cast<unsigned char>(*s));
            } else {
                const wchar_t* s = va_arg(args, const wchar_t*);
                if (!s)
                    s = L"(null)";
                for (; *s && (precision < 0 || int(body.size()) < precision); ++s)
                    body += *s;
            }
            Pad(out, body, width, left);
            break;
        }
        case L'c':
        case L'C': {
            int c = va_arg(args, int);
            bool narrow = (conv == L'C' && !wideHint) || narrowHint;
            wchar_t ch = narrow ? wchar_t(static_cast<unsigned char>(c)) : wchar_t(c);
            Pad(out, std::wstring(1, ch), width, left);
            break;
        }
        case L'd': case L'i': case L'u': case L'x': case L'X': case L'o':
        case L'e': case L'E': case L'f': case L'F': case L'g': case L'G':
        case L'a': case L'A': case L'p': {
            std::string spec = "%" + flags;
            if (width >= 0)
                spec += std::to_string(width);
            if (precision >= 0)
                spec += "." + std::to_string(precision);
            std::vector<char> bufv(size_t((width > 0 ? width : 0) + (precision > 0 ? precision : 0) + 400));
            char* buf = bufv.data();
            int n = 0;
            bool isFloat = conv == L'e' || conv == L'E' || conv == L'f' || conv == L'F' ||
                           conv == L'g' || conv == L'G' || conv == L'a' || conv == L'A';
            if (conv == L'p') {
                spec += 'p';
                n = snprintf(buf, bufv.size(), spec.c_str(), va_arg(args, void*));
            } else if (isFloat) {
                if (len == Len::L) {
                    spec += 'L';
                    spec += char(conv);
                    n = snprintf(buf, bufv.size(), spec.c_str(), va_arg(args, long double));
                } else {
                    spec += char(conv);
                    n = snprintf(buf, bufv.size(), spec.c_str(), va_arg(args, double));
                }
            } else {
                bool isSigned = conv == L'd' || conv == L'i';
                long long sv = 0;
                unsigned long long uv = 0;
                switch (len) {
                case Len::ll: case Len::j:
                    if (isSigned) sv = va_arg(args, long long); else uv = va_arg(args, unsigned long long);
                    break;
                case Len::l:
                    if (isSigned) sv = va_arg(args, long); else uv = va_arg(args, unsigned long);
                    break;
                case Len::z: case Len::t:
                    if (isSigned) sv = va_arg(args, ptrdiff_t); else uv = va_arg(args, size_t);
                    break;
                case Len::h:
                    if (isSigned) sv = short(va_arg(args, int)); else uv = (unsigned short)(va_arg(args, unsigned));
                    break;
                case Len::hh:
                    if (isSigned) sv = (signed char)(va_arg(args, int)); else uv = (unsigned char)(va_arg(args, unsigned));
                    break;
                default:
                    if (isSigned) sv = va_arg(args, int); else uv = va_arg(args, unsigned);
                    break;
                }
                spec += "ll";
                spec += char(conv);
                n = isSigned ? snprintf(buf, bufv.size(), spec.c_str(), sv)
                             : snprintf(buf, bufv.size(), spec.c_str(), uv);
            }
            if (n > 0) {
                if (size_t(n) >= bufv.size())
                    n = int(bufv.size()) - 1;
                for (int i = 0; i < n; ++i)
                    out += wchar_t(static_cast<unsigned char>(buf[i]));
            }
            break;
        }
        case L'n':
            *va_arg(args, int*) = int(out.size());
            break;
        default:
            // Unknown conversion: keep the text as written.
            out.append(specStart, p);
            break;
        }
    }
    va_end(args);
    return out;
}

} // namespace Zelk

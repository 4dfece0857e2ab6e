#include "platform/files/DiskFiles.h"

#include <algorithm>
#include <ctime>
#include <dirent.h>
#include <sys/stat.h>
#include <vector>

namespace plat {

namespace {

bool Exists(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

char Fold(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

bool EqualNoCase(const std::string& a, const char* b)
{
    size_t i = 0;
    for (; i < a.size(); ++i)
        if (b[i] == '\0' || Fold(a[i]) != Fold(b[i]))
            return false;
    return b[i] == '\0';
}

// The entry of folder dir ("" for the current folder) that matches name
// without regard to case; the byte-wise smallest when several do, so the
// choice does not depend on the order of the folder.
std::string FindNoCase(const std::string& dir, const std::string& name)
{
    DIR* d = opendir(dir.empty() ? "." : dir.c_str());
    if (!d)
        return std::string();
    std::string best;
    while (dirent* e = readdir(d)) {
        if (EqualNoCase(name, e->d_name) && (best.empty() || best > e->d_name))
            best = e->d_name;
    }
    closedir(d);
    return best;
}

// ---- text mode: CR LF -> LF over a raw stream ------------------------------

ssize_t TextRead(void* cookie, char* buf, size_t size)
{
    FILE* raw = static_cast<FILE*>(cookie);
    size_t n = 0;
    while (n < size) {
        int c = getc(raw);
        if (c == EOF)
            break;
        if (c == '\r') {
            int next = getc(raw);
            if (next == '\n')
                c = '\n';
            else if (next != EOF)
                ungetc(next, raw);
        }
        buf[n++] = char(c);
    }
    if (n == 0 && ferror(raw))
        return -1;
    return ssize_t(n);
}

int TextSeek(void* cookie, off64_t* pos, int whence)
{
    FILE* raw = static_cast<FILE*>(cookie);
    if (fseeko(raw, *pos, whence) != 0)
        return -1;
    off_t at = ftello(raw);
    if (at < 0)
        return -1;
    *pos = at;
    return 0;
}

int TextClose(void* cookie)
{
    return fclose(static_cast<FILE*>(cookie));
}

} // namespace

std::string ResolvePath(const std::string& name, bool forCreate)
{
    std::string path(name);
    std::replace(path.begin(), path.end(), '\\', '/');
    if (path.empty())
        return std::string();
    if (Exists(path))
        return path;

    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= path.size()) {
        size_t slash = path.find('/', start);
        if (slash == std::string::npos)
            slash = path.size();
        parts.push_back(path.substr(start, slash - start));
        start = slash + 1;
    }
    std::string out = path[0] == '/' ? "/" : "";
    for (size_t i = 0; i < parts.size(); ++i) {
        const std::string& part = parts[i];
        bool last = i + 1 == parts.size();
        if (part.empty())
            continue;
        std::string joined = out + part;
        if (part != "." && part != ".." && !Exists(joined)) {
            std::string found = FindNoCase(out, part);
            if (!found.empty())
                joined = out + found;
            else if (!(forCreate && last))
                return std::string();
        }
        out = last ? joined : joined + "/";
    }
    return out;
}

FILE* OpenFile(const std::string& name, const char* mode)
{
    if (!mode || !*mode)
        return nullptr;
    std::string m;
    bool binary = false, update = false;
    for (const char* p = mode; *p; ++p) {
        if (*p == 't')
            continue;
        binary |= *p == 'b';
        update |= *p == '+';
        m += *p;
    }
    bool reading = m[0] == 'r';
    std::string path = ResolvePath(name, !reading);
    if (path.empty())
        return nullptr;
    FILE* raw = fopen(path.c_str(), m.c_str());
    if (!raw || !reading || binary || update)
        return raw;

    cookie_io_functions_t io = {};
    io.read = TextRead;
    io.seek = TextSeek;
    io.close = TextClose;
    FILE* text = fopencookie(raw, "r", io);
    if (!text) {
        fclose(raw);
        return nullptr;
    }
    // Unbuffered, so that tell always reports the position in the file itself.
    setvbuf(text, nullptr, _IONBF, 0);
    return text;
}

int ReadWideChar(FILE* file)
{
    int lo = getc(file);
    if (lo == EOF)
        return 0xFFFF;
    int hi = getc(file);
    if (hi == EOF)
        return 0xFFFF;
    return lo | hi << 8;
}

int FileModificationYear(const std::string& name)
{
    const std::string path = ResolvePath(name);
    struct stat st;
    if (path.empty() || ::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return 0;
    struct tm local;
    if (!localtime_r(&st.st_mtime, &local))
        return 0;
    return local.tm_year + 1900;
}

} // namespace plat

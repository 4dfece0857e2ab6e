#include "platform/folders/Folders.h"

#include <cstdlib>
#include <limits.h>
#include <unistd.h>

namespace plat {

namespace {
std::string Env(const char* name)
{
    const char* v = getenv(name);
    return v && *v ? std::string(v) : std::string();
}

std::string Home()
{
    std::string h = Env("HOME");
    return h.empty() ? std::string("/tmp") : h;
}
} // namespace

std::string XdgFolders::ProgramPath()
{
    std::string o = Env("ZELK_PROGRAM_PATH");
    if (!o.empty())
        return o;
    char buf[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0)
        return {};
    return std::string(buf, size_t(n));
}

std::string XdgFolders::DocumentsFolder()
{
    std::string o = Env("ZELK_DOCUMENTS_DIR");
    if (!o.empty())
        return o;
    // A player's saves are program data, not documents of theirs.
    o = Env("XDG_DATA_HOME");
    if (!o.empty())
        return o;
    return Home() + "/.local/share";
}

std::string XdgFolders::CommonAppData()
{
    std::string o = Env("ZELK_APPDATA_DIR");
    if (!o.empty())
        return o;
    o = Env("XDG_DATA_HOME");
    if (!o.empty())
        return o;
    return Home() + "/.local/share";
}

std::string XdgFolders::RuntimeFolder()
{
    std::string o = Env("ZELK_RUNTIME_DIR");
    if (!o.empty())
        return o;
    o = Env("XDG_RUNTIME_DIR");
    if (!o.empty())
        return o;
    o = Env("TMPDIR");
    return o.empty() ? std::string("/tmp") : o;
}

} // namespace plat

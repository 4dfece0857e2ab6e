#include "launcher/SystemHost.h"

#include "platform/Platform.h"
#include "platform/files/DiskFiles.h"
#include "platform/shell/Shell.h"

#include <climits>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace vorsel {

namespace {

// The system takes a name up to its first NUL byte: a name that holds one
// would reach another file or program than the one it names.
bool HoldsNul(const std::string& name) { return name.find('\0') != std::string::npos; }

} // namespace

bool SystemHost::ChangeFolder(const std::string& folder)
{
    if (HoldsNul(folder))
        return false;
    const std::string native = plat::ResolvePath(folder);
    return !native.empty() && chdir(native.c_str()) == 0;
}

bool SystemHost::IsRegularFile(const std::string& path)
{
    if (HoldsNul(path))
        return false;
    const std::string native = plat::ResolvePath(path);
    struct stat st {};
    return !native.empty() && stat(native.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool SystemHost::ReadFile(const std::string& path, std::string& bytes)
{
    if (HoldsNul(path))
        return false;
    const std::string native = plat::ResolvePath(path);
    FILE* f = native.empty() ? nullptr : fopen(native.c_str(), "rb");
    if (!f)
        return false;
    bytes.clear();
    char buf[65536];
    size_t n;
    bool ok = true;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0) {
        if (bytes.size() + n > kMaxFile) {
            ok = false;
            break;
        }
        bytes.append(buf, n);
    }
    ok = ok && !ferror(f);
    fclose(f);
    return ok;
}

void SystemHost::StartProgram(const std::string& path, const std::string& folder)
{
    if (HoldsNul(path) || HoldsNul(folder))
        return;
    const std::string native = plat::ResolvePath(path);
    plat::Get().shell->Execute("open", native.empty() ? path : native, "", folder, plat::SW_SHOWDEFAULT);
}

std::string SystemHost::ExecutableFolder()
{
    char buf[PATH_MAX + 1];
    const ssize_t n = readlink("/proc/self/exe", buf, PATH_MAX);
    if (n <= 0)
        return std::string();
    std::string path(buf, size_t(n));
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

} // namespace vorsel

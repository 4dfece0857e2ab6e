#include "platform/shell/ShellExecute.h"
#include "platform/crash/ThreadStart.h"
#include "platform/files/DiskFiles.h"

#include <fstream>
#include <sstream>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace plat {

namespace {

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

bool StartsWithNoCase(const std::string& text, const std::string& prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (AsciiLower(text[i]) != AsciiLower(prefix[i]))
            return false;
    return true;
}

bool EndsWithNoCase(const std::string& text, const std::string& suffix)
{
    return text.size() >= suffix.size() && StartsWithNoCase(text.substr(text.size() - suffix.size()), suffix);
}

std::string Trim(const std::string& text)
{
    size_t b = text.find_first_not_of(" \t\r\n");
    if (b == std::string::npos)
        return std::string();
    size_t e = text.find_last_not_of(" \t\r\n");
    return text.substr(b, e - b + 1);
}

std::string FolderOf(const std::string& nativePath)
{
    size_t slash = nativePath.rfind('/');
    return slash == std::string::npos ? std::string(".") : nativePath.substr(0, slash == 0 ? 1 : slash);
}

// A name relative to a folder (both in the system's spelling); an absolute
// name stands as it is.
std::string Join(const std::string& folder, const std::string& name)
{
    if (folder.empty() || name.empty() || name[0] == '/' || name[0] == '\\')
        return name;
    char last = folder.back();
    return folder + (last == '/' || last == '\\' ? "" : "/") + name;
}

bool SpawnDetached(const std::string& path, const std::string& parameters, const std::string& folder)
{
    std::vector<std::string> args{path};
    std::istringstream words(parameters);
    for (std::string w; words >> w;)
        args.push_back(w);
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!folder.empty())
        posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSID);
    pid_t pid = 0;
    int rc = posix_spawn(&pid, path.c_str(), &actions, &attr, argv.data(), environ);
    posix_spawnattr_destroy(&attr);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0)
        return false;
    // The program lives on by itself; only its end is collected.
    StartThread("zelk-reaper", [pid] { waitpid(pid, nullptr, 0); }).detach();
    return true;
}

} // namespace

std::string UrlOfShortcut(const std::string& text)
{
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        std::string t = Trim(line);
        if (StartsWithNoCase(t, "URL="))
            return Trim(t.substr(4));
    }
    return std::string();
}

bool ExecuteOnDesktop(const std::string& verb, const std::string& file, const std::string& parameters,
                      const std::string& folder, const std::function<bool(const std::string&)>& open)
{
    if (!verb.empty() && !(verb.size() == 4 && StartsWithNoCase(verb, "open")))
        return false;
    std::string native = ResolvePath(Join(folder, file));
    struct stat st {};
    if (native.empty() || stat(native.c_str(), &st) != 0 || S_ISDIR(st.st_mode))
        return false;

    if (EndsWithNoCase(native, ".url")) {
        std::ifstream in(native, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        std::string url = UrlOfShortcut(text.str());
        if (url.empty())
            return false;
        if (StartsWithNoCase(url, "http://") || StartsWithNoCase(url, "https://"))
            return open(url);
        // A page of the program's own, beside the shortcut.
        std::string page = ResolvePath(Join(FolderOf(native), url));
        return !page.empty() && open(page);
    }
    if (access(native.c_str(), X_OK) == 0) {
        std::string workFolder = folder.empty() ? std::string() : ResolvePath(folder);
        return SpawnDetached(native, parameters, workFolder);
    }
    return open(native);
}

} // namespace plat

#pragma once
#include <functional>
#include <string>

namespace plat {

// The desktop's handling of an execute request, shared by the real shell and
// its tests. The verb must be "open" (any case) or empty. The file (names with
// "\" and any letter case, see DiskFiles.h) is looked up relative to folder
// when that is not empty, else to the current folder; a missing file fails.
// - A ".url" file: its "URL=" line is read. An http or https address is given
//   to open; any other value is a path relative to the .url file's folder,
//   given to open (as a native path) when that file exists.
// - An executable file: started detached (its own session, reaped in the
//   background) in folder, or the current folder, with the parameters split
//   at blanks; no shell sees them.
// - Any other file: its native path is given to open.
// True when the request was handed on.
bool ExecuteOnDesktop(const std::string& verb, const std::string& file, const std::string& parameters,
                      const std::string& folder, const std::function<bool(const std::string&)>& open);

// The "URL=" value of a ".url" file's text (the first such line, the key in
// any case, the value without surrounding blanks); empty when there is none.
std::string UrlOfShortcut(const std::string& text);

} // namespace plat

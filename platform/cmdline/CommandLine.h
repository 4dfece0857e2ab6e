#pragma once
#include <string>

namespace plat {

// The program's command line as one text, as the system hands it over: the
// program path in double quotes, then the arguments separated by blanks. An
// argument that holds a blank (or is empty) is put in double quotes.
//
// The entry point hands over its arguments; without them the text is rebuilt
// from what the process was started with.
void SetCommandLineArguments(int argc, const char* const* argv);
std::string GetCommandLine();

} // namespace plat

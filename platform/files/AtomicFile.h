#pragma once
#include <cstddef>
#include <string>

namespace plat {

// Writes a whole file so that a reader sees either the old or the new content:
// a temporary file "<name>.tmp<pid>" in the same folder, write, fsync, rename,
// then fsync of the folder so the rename itself is kept. Missing folders along
// the path are created. A path that is a symbolic link is written through to
// the file its links name, beside that file, and stays a link. Returns false
// (and leaves the old file) on any failure.
bool WriteFileAtomically(const std::string& path, const void* data, size_t size);

// Removes what writes of the file left behind in processes that no longer
// run: "<name>.tmp<pid>" beside it, a regular file whose process was killed
// between writing it and the rename. A temporary of a running process (which
// may be writing it now, a second copy of the program) is never touched.
// Programs call it when they start using the file.
void RemoveLeftoverTemporaries(const std::string& path);

// The step at which a test makes the next atomic write fail. StopAfterTemp
// ends the write as a crash would after the temporary file was written and
// synced: it stays behind and the target is not touched.
enum class AtomicWriteFault { None, Open, Write, Fsync, Rename, StopAfterTemp };

// Test hook: the next atomic write whose path ends with pathEnd (any path when
// empty) fails at that step; later writes run normally.
void FailNextAtomicWrite(AtomicWriteFault fault, const std::string& pathEnd = std::string());

} // namespace plat

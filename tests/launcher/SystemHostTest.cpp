#include "launcher/SystemHost.h"
#include "platform/NullPlatform.h"
#include "tests/support/CurrentFolder.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <sys/stat.h>

// A name with a NUL byte names nothing: the bytes before it are never taken
// for the file, folder or program.
TEST(SystemHost, ANameHoldingANulByteIsRefused)
{
    plat::NullPlatform platform;
    testsupport::TempDir dir;
    testsupport::CurrentFolder folder;
    ASSERT_TRUE(folder.Remember());
    dir.Write("Quillmore", "#!/bin/sh\n");
    ASSERT_EQ(chmod((dir / "Quillmore").c_str(), 0755), 0);
    dir.Write("sub/vorsel.ini", "line\r\n");
    const std::string nul(1, '\0');
    struct Case {
        std::string game, file, folder;
        bool accepted;
    } cases[] = {
        {dir / "Quillmore", dir / "sub/vorsel.ini", dir / "sub", true},
        {dir / "Quillmore" + nul + ".txt", dir / "sub/vorsel.ini" + nul + "x", dir / "sub" + nul + "/x", false},
        {dir / "Quillmore" + nul, dir / "sub/vorsel.ini" + nul, dir / "sub" + nul, false},
    };
    vorsel::SystemHost host;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.accepted ? "plain names" : "names with a NUL byte");
        EXPECT_EQ(host.IsRegularFile(c.game), c.accepted);
        std::string bytes;
        EXPECT_EQ(host.ReadFile(c.file, bytes), c.accepted);
        EXPECT_EQ(host.ChangeFolder(c.folder), c.accepted);
        const size_t before = platform.shell.Requests().size();
        host.StartProgram(c.game, "");
        host.StartProgram(dir / "Quillmore", c.folder);
        EXPECT_EQ(platform.shell.Requests().size() - before, c.accepted ? 2u : 0u);
    }
}

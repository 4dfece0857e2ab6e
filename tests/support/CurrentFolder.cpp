#include "tests/support/CurrentFolder.h"

#include <gtest/gtest.h>
#include <unistd.h>

namespace testsupport {

bool CurrentFolder::Remember()
{
    if (!mBefore.empty())
        return true;
    char here[4096];
    if (!getcwd(here, sizeof here)) {
        ADD_FAILURE() << "the current folder is unknown";
        return false;
    }
    mBefore = here;
    return true;
}

bool CurrentFolder::Enter(const std::string& path)
{
    if (!Remember())
        return false;
    if (chdir(path.c_str()) != 0) {
        ADD_FAILURE() << "cannot go to " << path;
        return false;
    }
    return true;
}

void CurrentFolder::Restore()
{
    if (mBefore.empty())
        return;
    if (chdir(mBefore.c_str()) != 0)
        ADD_FAILURE() << "cannot go back to " << mBefore;
    mBefore.clear();
}

} // namespace testsupport

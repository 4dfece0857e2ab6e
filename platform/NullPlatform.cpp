#include "platform/NullPlatform.h"

#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>

namespace plat {

NullPlatform::NullPlatform()
{
    std::string base = std::filesystem::temp_directory_path().string() + "/zelk-null-XXXXXX";
    std::string buf = base;
    if (mkdtemp(buf.data()))
        mRoot = buf;
    else
        mRoot = std::filesystem::temp_directory_path().string();
    folders.programPath = mRoot + "/program/zelkapp";
    folders.documents = mRoot + "/documents";
    folders.appData = mRoot + "/appdata";
    folders.runtime = mRoot + "/runtime";
    for (const char* sub : {"/program", "/documents", "/appdata", "/runtime"})
        mkdir((mRoot + sub).c_str(), 0700);
    instance = std::make_unique<SingleInstance>(folders.runtime);

    Services s;
    s.clock = &clock;
    s.settings = &settings;
    s.folders = &folders;
    s.modules = &modules;
    s.instance = instance.get();
    s.messageBoxes = &messageBoxes;
    s.debug = &debug;
    s.windows = &windows;
    s.audio = &audio;
    s.text = &text;
    s.dialogs = &dialogs;
    s.shell = &shell;
    s.sound = &sound;
    Install(s);
}

NullPlatform::~NullPlatform()
{
    instance.reset();
    Install(Services{});
    std::error_code ec;
    if (mRoot.find("zelk-null-") != std::string::npos)
        std::filesystem::remove_all(mRoot, ec);
}

} // namespace plat

// A demo file of any bytes played back by the application. The replay of its
// records and the hooks that read it must stay inside the stream, make no
// block larger than the stream, and never stop the program: every update the
// demo holds back is released by the next replay, and after the stream's end
// the program runs on.
#include "framework/app/DemoFile.h"
#include "framework/app/ZelkAppBase.h"
#include "platform/NullPlatform.h"

#include <cstdlib>
#include <string>

namespace {

// Takes a value from outside: hook 0 registry read, 1 registry write, 2 file,
// 3 string, 4 flag.
void AskHook(Zelk::ZelkAppBase& app, int hook)
{
    switch (hook) {
    case 0: {
        uint8_t data[64];
        uint32_t type = 0, size = sizeof data;
        app.RegistryRead("Value", &type, data, &size);
        break;
    }
    case 1: {
        const uint32_t v = 1;
        app.RegistryWrite("Value", 4, &v, 4);
        break;
    }
    case 2: {
        Zelk::Buffer b;
        app.ReadBufferFromFile("any.txt", b, false);
        break;
    }
    case 3: {
        std::string text = "live";
        app.DemoSyncString(text);
        break;
    }
    default: {
        bool flag = true;
        app.DemoSyncBool(flag);
        break;
    }
    }
}

// Mostly the hook whose record is due, as a program that follows its demo
// asks; every third update whichever hook comes next, as one out of step does.
void AskHooks(Zelk::ZelkAppBase& app)
{
    if (app.mUpdateCount % 3 == 0) {
        AskHook(app, app.mUpdateCount / 3 % 5);
        return;
    }
    while (!app.DemoStreamAtEnd() && app.ReadRecordHeader() && !app.mDemoPendingShort) {
        const int command = app.mDemoPendingCommand;
        const int hook = command == 11 ? 0 : command == 12 ? 1 : command == 15 ? 2 : command == 18 ? 3 : -1;
        if (hook < 0)
            return;
        AskHook(app, hook);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static plat::NullPlatform platform;
    Zelk::DemoFile file;
    std::string error;
    if (!file.Parse(data, size, "1.0", error))
        return 0;

    Zelk::ZelkAppBase app;
    app.mRegKey = "Fuzz";
    app.mPlayingDemo = true;
    app.mDemoBuffer = file.stream;
    app.mDemoRecordedEnd = file.recordedEnd;
    AskHooks(app); // what start-up reads

    int32_t lastHeldAt = -1, heldPos = -1;
    int afterEnd = 0;
    while (!app.mShuttingDown && afterEnd < 20) {
        app.RunDemoEvents();
        if (app.UpdateOnce()) {
            AskHooks(app);
            if (app.DemoStreamAtEnd())
                ++afterEnd;
            continue;
        }
        // Held back twice with nothing replayed in between: the program stands still.
        if (lastHeldAt == app.mUpdateCount && heldPos == app.mDemoBuffer.GetReadPos())
            abort();
        lastHeldAt = app.mUpdateCount;
        heldPos = app.mDemoBuffer.GetReadPos();
    }
    return 0;
}

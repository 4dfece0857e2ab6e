#pragma once
#include "framework/app/Buffer.h"

namespace Zelk {

// The application's demo stream as the framework's own hooks (the HTTP
// transfer's status hook) use it: the records written while a demo is
// recorded and read back while it plays. The application object provides it
// and publishes it in gDemoStream; without one the hooks only do their live work.
class DemoRecordStream {
public:
    virtual ~DemoRecordStream() = default;
    virtual bool IsRecordingDemo() = 0;
    virtual bool IsPlayingDemo() = 0;
    // Recording: appends the header of a long record with this command
    // number; the caller then writes the fields into DemoBuffer().
    virtual void BeginLongRecord(int command) = 0;
    // Playback: reads the pending record's header when needed and tells
    // whether it is due at the current update, and its kind.
    virtual bool PendingRecord(bool& isShort, int& command) = 0;
    // Playback: the pending record has been read by its hook.
    virtual void ConsumeRecord() = 0;
    virtual Buffer& DemoBuffer() = 0;
};

extern DemoRecordStream* gDemoStream;

} // namespace Zelk

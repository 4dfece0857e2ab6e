// Reading a whole file for the application, recorded into and replayed from
// a demo like every other value from outside.
#include "framework/app/ZelkAppBase.h"
#include "framework/resources/PakFileAccess.h"

#include <cstdio>

namespace Zelk {

namespace {
constexpr int kReadFileRecord = 15;
} // namespace

bool ZelkAppBase::ReadBufferFromFile(const std::string& path, Buffer& buffer, bool noDemo)
{
    if (mPlayingDemo && !noDemo) {
        // The file is not touched: its bytes come from the demo.
        if (mDemoCloseSeen || !TakeDemoHookRecord() || mDemoBuffer.ReadBits(1, false) == 0)
            return false;
        const std::vector<uint8_t> bytes = ReadDemoBytes(uint32_t(mDemoBuffer.ReadLong()));
        buffer.Clear();
        buffer.SetData(bytes.data(), bytes.size());
        return true;
    }

    std::vector<uint8_t> bytes;
    bool read = false;
    if (PakFile* file = PakFOpen(path, "rb")) {
        const bool sized = PakFSeek(file, 0, SEEK_END) == 0;
        const long size = sized ? PakFTell(file) : -1;
        // A file too large for a buffer counts as one that cannot be read
        // (a folder reports the largest size), and so does a short read.
        if (size >= 0 && uint64_t(size) <= Buffer::kMaxBytes && PakFSeek(file, 0, SEEK_SET) == 0) {
            bytes.resize(size_t(size));
            read = bytes.empty() || PakFRead(bytes.data(), 1, bytes.size(), file) == bytes.size();
        }
        PakFClose(file);
    }

    if (mRecordingDemo && !noDemo) {
        BeginDemoRecord(false, kReadFileRecord);
        mDemoBuffer.WriteBits(read ? 1 : 0, 1);
        if (read) {
            mDemoBuffer.WriteLong(int32_t(bytes.size()));
            if (!bytes.empty())
                mDemoBuffer.WriteBytes(bytes.data(), int(bytes.size()));
        }
    }
    if (!read)
        return false;
    buffer.Clear();
    buffer.SetData(bytes.data(), bytes.size());
    return true;
}

} // namespace Zelk

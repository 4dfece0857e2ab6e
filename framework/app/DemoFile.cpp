#include "framework/app/DemoFile.h"
#include "framework/app/PathUtil.h"
#include "platform/files/AtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

namespace Zelk {

namespace {

const char* const kInvalid = "Invalid demo file.";

// Reads little-endian fields from a byte range; every read checks what is left.
class Reader {
public:
    Reader(const uint8_t* data, size_t size) : mData(data), mSize(size) {}
    size_t Position() const { return mPos; }
    size_t Left() const { return mSize - mPos; }
    bool U16(uint32_t& v) { return Number(v, 2); }
    bool U32(uint32_t& v) { return Number(v, 4); }
    bool Bytes(size_t n, const uint8_t*& at)
    {
        if (Left() < n)
            return false;
        at = mData + mPos;
        mPos += n;
        return true;
    }

private:
    bool Number(uint32_t& v, size_t n)
    {
        const uint8_t* p;
        if (!Bytes(n, p))
            return false;
        v = 0;
        for (size_t i = 0; i < n; ++i)
            v |= uint32_t(p[i]) << (8 * i);
        return true;
    }
    const uint8_t* mData;
    size_t mSize;
    size_t mPos = 0;
};

void PutU32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(uint8_t(v >> (8 * i)));
}

bool Fail(std::string& error)
{
    error = kInvalid;
    return false;
}

} // namespace

bool DemoFile::Load(const std::string& path, const std::string& expectedVersion, std::string& error)
{
    FILE* f = fopen(NativePath(path).c_str(), "rb");
    if (!f) {
        error = "Demo file not found: " + path;
        return false;
    }
    std::vector<uint8_t> bytes;
    struct stat st;
    if (fstat(fileno(f), &st) == 0 && S_ISREG(st.st_mode)) {
        if (uint64_t(st.st_size) > kMaxFileBytes) {
            fclose(f);
            return Fail(error);
        }
        bytes.reserve(size_t(st.st_size));
    }
    // A device or a pipe tells no size: its bytes are checked as they come.
    bool bad = false;
    uint8_t chunk[65536];
    size_t n;
    while (!bad && (n = fread(chunk, 1, sizeof chunk, f)) > 0) {
        bytes.insert(bytes.end(), chunk, chunk + n);
        uint32_t magic = 0;
        bad = bytes.size() > kMaxFileBytes || (Reader(bytes.data(), bytes.size()).U32(magic) && magic != kMagic);
    }
    bad = bad || ferror(f) != 0;
    fclose(f);
    if (bad)
        return Fail(error);
    return Parse(bytes.data(), bytes.size(), expectedVersion, error);
}

bool DemoFile::Parse(const uint8_t* data, size_t size, const std::string& expectedVersion, std::string& error)
{
    Reader r(data, size);
    uint32_t magic = 0;
    if (!r.U32(magic) || magic != kMagic)
        return Fail(error);
    if (!r.U32(version) || !r.U32(seed))
        return Fail(error);

    uint32_t textLength = 0;
    if (!r.U16(textLength))
        return Fail(error);
    if (textLength > kMaxVersionText)
        textLength = kMaxVersionText;
    const uint8_t* text;
    if (!r.Bytes(textLength, text))
        return Fail(error);
    size_t end = 0;
    while (end < textLength && text[end] != 0)
        ++end;
    productVersion.assign(reinterpret_cast<const char*>(text), end);
    if (productVersion != expectedVersion) {
        error = "This demo file appears to be for '" + productVersion + "'";
        return false;
    }

    // Signed: with fewer than 4 bytes left the checks below must not wrap.
    int64_t remaining = int64_t(r.Left());
    markers.clear();
    if (version >= 2) {
        uint32_t blockLength = 0;
        if (!r.U32(blockLength) || int64_t(blockLength) >= remaining - 4)
            return Fail(error);
        const uint8_t* block;
        if (!r.Bytes(blockLength, block))
            return Fail(error);
        Buffer b;
        if (!b.SetData(block, blockLength))
            return Fail(error);
        int32_t count = b.ReadLong();
        while (int64_t(markers.size()) < count && !b.AtEnd()) {
            DemoMarker m;
            m.name = b.ReadString();
            m.update = b.ReadLong();
            markers.push_back(m);
        }
        if (int64_t(markers.size()) != count)
            return Fail(error);
        remaining -= 4 + int64_t(blockLength);
    }

    uint32_t end32 = 0;
    if (!r.U32(end32))
        return Fail(error);
    recordedEnd = int32_t(end32);
    int64_t streamLength = remaining - 4;
    const uint8_t* bytes;
    if (streamLength <= 0 || !r.Bytes(size_t(streamLength), bytes))
        return Fail(error);
    stream.Clear();
    if (!stream.SetData(bytes, size_t(streamLength)))
        return Fail(error);
    stream.SeekFront();
    return true;
}

std::vector<uint8_t> DemoFile::Encode() const
{
    std::vector<uint8_t> out;
    PutU32(out, kMagic);
    PutU32(out, kVersion);
    PutU32(out, seed);
    size_t textLength = productVersion.size() > 0xFFFF ? 0xFFFF : productVersion.size();
    out.push_back(uint8_t(textLength));
    out.push_back(uint8_t(textLength >> 8));
    out.insert(out.end(), productVersion.begin(), productVersion.begin() + textLength);

    Buffer block;
    block.WriteLong(int32_t(markers.size()));
    for (const DemoMarker& m : markers) {
        block.WriteString(m.name);
        block.WriteLong(m.update);
    }
    PutU32(out, uint32_t(block.GetDataLen()));
    if (const uint8_t* p = block.GetDataPtr())
        out.insert(out.end(), p, p + block.GetDataLen());

    PutU32(out, uint32_t(recordedEnd));
    if (const uint8_t* p = stream.GetDataPtr())
        out.insert(out.end(), p, p + stream.GetDataLen());
    return out;
}

bool DemoFile::Save(const std::string& path, std::string* why) const
{
    // Whole or not at all, with the folders it needs made.
    const std::vector<uint8_t> bytes = Encode();
    errno = 0;
    if (plat::WriteFileAtomically(NativePath(path), bytes.data(), bytes.size()))
        return true;
    if (why)
        *why = errno ? strerror(errno) : "cannot be written";
    return false;
}

} // namespace Zelk

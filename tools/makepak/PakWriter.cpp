#include "tools/makepak/PakWriter.h"

#include "framework/app/Utf16.h"
#include "game/core/PakDirectory.h"
#include "platform/files/FolderSearch.h"
#include "platform/text/Utf8.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

template <class T>
void PutNumber(std::string& out, T value)
{
    for (size_t i = 0; i < sizeof(T); ++i)
        out += char(uint8_t(value >> (8 * i)));
}

bool EndsWithXml(const std::string& name)
{
    if (name.size() < 4)
        return false;
    std::string tail = name.substr(name.size() - 4);
    std::transform(tail.begin(), tail.end(), tail.begin(), [](char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; });
    return tail == ".xml";
}

} // namespace

void PakWriter::Add(const std::string& name, const std::string& data, uint64_t fileTime)
{
    mEntries.push_back({name, data, fileTime});
}

bool PakWriter::Build(std::string& archive, std::string& error) const
{
    archive.clear();
    uint64_t total = 8 + 1;
    for (const Entry& entry : mEntries) {
        if (entry.name.size() > kPakMaxNameLength) {
            error = "name longer than 255 bytes: " + entry.name;
            return false;
        }
        total += 1 + 1 + entry.name.size() + 4 + 8 + entry.data.size();
    }
    if (total > kPakMaxArchiveSize) {
        error = "archive of 2 GiB or more";
        return false;
    }
    archive.reserve(size_t(total));
    PutNumber(archive, kPakMagic);
    PutNumber(archive, kPakVersion);
    for (const Entry& entry : mEntries) {
        archive += char(0);
        archive += char(uint8_t(entry.name.size()));
        archive += entry.name;
        PutNumber(archive, uint32_t(entry.data.size()));
        PutNumber(archive, entry.fileTime);
    }
    archive += char(kPakEndFlag);
    for (const Entry& entry : mEntries)
        archive += entry.data;
    uint8_t* bytes = reinterpret_cast<uint8_t*>(&archive[0]);
    DescramblePak(bytes, bytes, archive.size());
    return true;
}

bool Utf8ToUtf16LEWithBom(const std::string& text, std::string& out)
{
    const bool bom = text.size() >= 3 && text.compare(0, 3, "\xEF\xBB\xBF") == 0;
    std::wstring wide;
    if (!plat::Utf8ToWideStrict(bom ? text.substr(3) : text, wide))
        return false;
    out = "\xFF\xFE" + Zelk::WideToUtf16LE(wide);
    return true;
}

bool ReadWholeFile(const std::string& path, std::string& bytes)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

bool WriteWholeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    out.close();
    return bool(out);
}

bool PackFolder(const std::string& folder, const PakPackOptions& options, std::string& archive, std::string& error)
{
    std::error_code ec;
    std::vector<std::pair<std::string, fs::path>> files;
    for (auto it = fs::recursive_directory_iterator(folder, ec); !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (!it->is_regular_file(ec))
            continue;
        std::string name = fs::relative(it->path(), folder, ec).generic_string();
        std::replace(name.begin(), name.end(), '/', '\\');
        files.emplace_back(name, it->path());
    }
    if (ec) {
        error = folder + ": " + ec.message();
        return false;
    }
    std::sort(files.begin(), files.end(), [](const auto& a, const auto& b) { return a.first < b.first; });

    PakWriter writer;
    uint64_t total = 0;
    for (const auto& [name, path] : files) {
        if (name.size() > kPakMaxNameLength) {
            error = "name longer than 255 bytes: " + name;
            return false;
        }
        std::string data;
        if (!ReadWholeFile(path.string(), data)) {
            error = "cannot read " + path.string();
            return false;
        }
        if (options.utf16Xml && EndsWithXml(name)) {
            std::string converted;
            if (!Utf8ToUtf16LEWithBom(data, converted)) {
                error = "malformed UTF-8 in " + name;
                return false;
            }
            data.swap(converted);
        }
        total += data.size();
        if (total > kPakMaxArchiveSize) {
            error = "archive of 2 GiB or more";
            return false;
        }
        uint64_t time = options.fileTime;
        struct stat st;
        if (!options.fixedTime)
            time = ::stat(path.c_str(), &st) == 0 ? plat::FileTimeFromPosix(st.st_mtim.tv_sec, st.st_mtim.tv_nsec) : 0;
        writer.Add(name, data, time);
    }
    return writer.Build(archive, error);
}

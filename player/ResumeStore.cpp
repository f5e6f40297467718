#include "player/ResumeStore.h"

#include "text/AtomicFile.h"
#include "text/MediaAddress.h"

#include <QCryptographicHash>
#include <QLoggingCategory>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace velmo {

Q_LOGGING_CATEGORY(lcResume, "velmo.resume")

namespace fs = std::filesystem;

namespace {

constexpr char kRecentName[] = "recent";
constexpr size_t kMaxRecentBytes = 64 * 1024;

// A record's name is 64 hex digits; the list and temporary files are not records.
bool IsRecordName(const std::string &name)
{
    return name.size() == 64 && std::all_of(name.begin(), name.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
           });
}

// At most `limit` bytes of `path`, or none when it cannot be read or is longer.
std::optional<std::string> ReadSmallFile(const std::string &path, size_t limit)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string text;
    text.resize(limit + 1);
    in.read(text.data(), std::streamsize(text.size()));
    text.resize(size_t(in.gcount()));
    if (text.size() > limit)
        return std::nullopt;
    return text;
}

} // namespace

ResumeStore::ResumeStore(std::string folder, size_t maxRecords) : folder_(std::move(folder)), maxRecords_(maxRecords)
{
}

std::string ResumeStore::FolderBeside(const std::string &settingsFile)
{
    const fs::path parent = fs::path(settingsFile).parent_path();
    return ((parent.empty() ? fs::path(".") : parent) / "resume").string();
}

std::string ResumeStore::MediumName(const std::string &pathOrAddress)
{
    if (IsAddress(pathOrAddress))
        return pathOrAddress;
    std::error_code ec;
    const fs::path absolute = fs::absolute(fs::path(pathOrAddress), ec);
    return ec ? pathOrAddress : absolute.lexically_normal().string();
}

std::string ResumeStore::RecordName(const std::string &pathOrAddress)
{
    const std::string name = MediumName(pathOrAddress);
    return QCryptographicHash::hash(QByteArrayView(name.data(), qsizetype(name.size())), QCryptographicHash::Sha256)
        .toHex()
        .toStdString();
}

std::string ResumeStore::PathOf(const std::string &pathOrAddress) const
{
    return (fs::path(folder_) / RecordName(pathOrAddress)).string();
}

std::optional<ResumeRecord> ResumeStore::Load(const std::string &pathOrAddress) const
{
    const std::optional<std::string> text = ReadSmallFile(PathOf(pathOrAddress), kMaxResumeRecordBytes);
    return text ? ParseResumeRecord(*text) : std::nullopt;
}

bool ResumeStore::Save(const std::string &pathOrAddress, const ResumeRecord &record)
{
    std::error_code ec;
    fs::create_directories(folder_, ec);
    const std::string path = PathOf(pathOrAddress);
    const bool added = !fs::exists(path, ec);
    if (!ReplaceFile(path, SerialiseResumeRecord(record))) {
        qCWarning(lcResume, "cannot write the record %s", path.c_str());
        return false;
    }
    if (added)
        Prune();
    return true;
}

void ResumeStore::Forget(const std::string &pathOrAddress)
{
    std::error_code ec;
    fs::remove(PathOf(pathOrAddress), ec);
}

// The least recently written records go; a record written at each pause of
// a film stays ahead of one opened once long ago.
void ResumeStore::Prune()
{
    std::vector<std::pair<fs::file_time_type, fs::path>> records;
    std::error_code ec;
    for (const fs::directory_entry &entry : fs::directory_iterator(folder_, ec)) {
        if (IsRecordName(entry.path().filename().string()))
            records.emplace_back(entry.last_write_time(ec), entry.path());
    }
    if (records.size() <= maxRecords_)
        return;
    const auto oldestEnd = records.begin() + std::ptrdiff_t(records.size() - maxRecords_);
    std::nth_element(records.begin(), oldestEnd, records.end());
    for (auto it = records.begin(); it != oldestEnd; ++it)
        fs::remove(it->second, ec);
}

RecentFiles ResumeStore::LoadRecent() const
{
    const std::optional<std::string> text = ReadSmallFile((fs::path(folder_) / kRecentName).string(), kMaxRecentBytes);
    return text ? RecentFiles::Parse(*text) : RecentFiles();
}

bool ResumeStore::SaveRecent(const RecentFiles &recent)
{
    std::error_code ec;
    fs::create_directories(folder_, ec);
    return ReplaceFile((fs::path(folder_) / kRecentName).string(), recent.Serialise());
}

void ResumeStore::Clear()
{
    std::error_code ec;
    std::vector<fs::path> doomed;
    for (const fs::directory_entry &entry : fs::directory_iterator(folder_, ec)) {
        const std::string name = entry.path().filename().string();
        if (IsRecordName(name) || name == kRecentName)
            doomed.push_back(entry.path());
    }
    for (const fs::path &path : doomed)
        fs::remove(path, ec);
}

} // namespace velmo

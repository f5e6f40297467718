#pragma once

#include "player/RecentFiles.h"
#include "player/ResumeRecord.h"

#include <optional>
#include <string>

namespace velmo {

/// The records of where media were left and the list of recent media, in one
/// folder: a file per medium named by the SHA-256 of its absolute path or
/// address (the path itself is written nowhere), and the list beside them in
/// "recent". Every file is replaced whole (a kill leaves the old one or the
/// new one); at most `maxRecords` records stay, the least recently written
/// go first.
class ResumeStore {
public:
    explicit ResumeStore(std::string folder, size_t maxRecords = kMaxRecords);

    static constexpr size_t kMaxRecords = 1000;
    /// The folder "resume" beside `settingsFile`.
    static std::string FolderBeside(const std::string &settingsFile);
    /// `pathOrAddress` as one medium is known by: a local path made absolute
    /// and normal, an address with a scheme as it stands.
    static std::string MediumName(const std::string &pathOrAddress);
    /// The record file's name for a medium: its name's SHA-256, in hex.
    static std::string RecordName(const std::string &pathOrAddress);

    /// The record of the medium; none when there is none or it is damaged.
    std::optional<ResumeRecord> Load(const std::string &pathOrAddress) const;
    /// Writes the medium's record; false when the folder or file cannot be written.
    bool Save(const std::string &pathOrAddress, const ResumeRecord &record);
    /// Drops the medium's record.
    void Forget(const std::string &pathOrAddress);

    RecentFiles LoadRecent() const;
    bool SaveRecent(const RecentFiles &recent);
    /// Drops every record and the list.
    void Clear();

    const std::string &Folder() const { return folder_; }

private:
    std::string PathOf(const std::string &pathOrAddress) const;
    void Prune();

    std::string folder_;
    size_t maxRecords_;
};

} // namespace velmo

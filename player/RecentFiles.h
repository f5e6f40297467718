#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace velmo {

/// The media opened last, newest first, each once: paths or addresses as the
/// platform's bytes.
class RecentFiles {
public:
    /// How many are kept.
    static constexpr size_t kMaxEntries = 10;

    /// Puts `path` first (moving it up when listed already) and drops the
    /// oldest beyond kMaxEntries. A path that a line cannot hold (empty, or
    /// with a line break or NUL) is not listed.
    void Add(const std::string &path);
    const std::vector<std::string> &Entries() const { return entries_; }

    /// One path per line.
    std::string Serialise() const;
    /// The list `text` holds, reading past damage: empty or unreadable lines,
    /// repeats and entries past kMaxEntries are skipped.
    static RecentFiles Parse(std::string_view text);

private:
    std::vector<std::string> entries_;
};

} // namespace velmo

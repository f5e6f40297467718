#include "player/RecentFiles.h"

#include <algorithm>

namespace velmo {

namespace {

bool Listable(std::string_view path)
{
    return !path.empty() && path.find_first_of(std::string_view("\n\r\0", 3)) == std::string_view::npos;
}

} // namespace

void RecentFiles::Add(const std::string &path)
{
    if (!Listable(path))
        return;
    std::erase(entries_, path);
    entries_.insert(entries_.begin(), path);
    if (entries_.size() > kMaxEntries)
        entries_.resize(kMaxEntries);
}

std::string RecentFiles::Serialise() const
{
    std::string out;
    for (const std::string &path : entries_)
        out += path + "\n";
    return out;
}

RecentFiles RecentFiles::Parse(std::string_view text)
{
    RecentFiles list;
    while (!text.empty() && list.entries_.size() < kMaxEntries) {
        const size_t end = std::min(text.find('\n'), text.size());
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        if (Listable(line) && std::find(list.entries_.begin(), list.entries_.end(), line) == list.entries_.end())
            list.entries_.emplace_back(line);
    }
    return list;
}

} // namespace velmo

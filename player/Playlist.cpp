#include "player/Playlist.h"

#include <algorithm>

namespace velmo {

namespace {

// Valid rows, once each, in increasing order.
std::vector<size_t> ValidRows(std::vector<size_t> rows, size_t size)
{
    std::erase_if(rows, [size](size_t r) { return r >= size; });
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

} // namespace

std::optional<size_t> Playlist::RowOf(uint64_t id) const
{
    if (id == 0)
        return std::nullopt;
    const auto it = std::find_if(entries_.begin(), entries_.end(), [id](const PlaylistEntry &e) { return e.id == id; });
    return it == entries_.end() ? std::nullopt : std::optional<size_t>(size_t(it - entries_.begin()));
}

std::optional<size_t> Playlist::Current() const
{
    return RowOf(current_);
}

size_t Playlist::Insert(const std::vector<PlaylistItem> &items, size_t at)
{
    at = std::min(at, entries_.size());
    std::vector<PlaylistEntry> added;
    added.reserve(items.size());
    for (const PlaylistItem &item : items) {
        PlaylistEntry entry;
        static_cast<PlaylistItem &>(entry) = item;
        entry.id = nextId_++;
        added.push_back(std::move(entry));
    }
    entries_.insert(entries_.begin() + std::ptrdiff_t(at), added.begin(), added.end());
    // Entries added at the removed entry's place come next; those before it move it along.
    if (cursor_ && at < *cursor_)
        *cursor_ += items.size();
    return at;
}

void Playlist::Remove(std::vector<size_t> rows)
{
    rows = ValidRows(std::move(rows), entries_.size());
    if (rows.empty())
        return;
    const std::optional<size_t> current = Current();
    // Where the list goes on from: the entries kept before the one playing.
    const std::optional<size_t> place = current ? current : cursor_;
    if (place) {
        const size_t before = size_t(std::lower_bound(rows.begin(), rows.end(), *place) - rows.begin());
        if (current && std::binary_search(rows.begin(), rows.end(), *current)) {
            current_ = 0;
            cursor_ = *current - before;
        } else if (!current) {
            cursor_ = *place - before;
        }
    }
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
        const uint64_t id = entries_[*it].id;
        played_.erase(id);
        std::erase(history_, id);
        entries_.erase(entries_.begin() + std::ptrdiff_t(*it));
    }
    if (entries_.empty())
        cursor_.reset();
}

size_t Playlist::Move(std::vector<size_t> rows, size_t to)
{
    rows = ValidRows(std::move(rows), entries_.size());
    to = std::min(to, entries_.size());
    if (rows.empty())
        return to;
    std::vector<PlaylistEntry> moved;
    for (size_t r : rows)
        moved.push_back(entries_[r]);
    const size_t at = to - size_t(std::lower_bound(rows.begin(), rows.end(), to) - rows.begin());
    for (auto it = rows.rbegin(); it != rows.rend(); ++it)
        entries_.erase(entries_.begin() + std::ptrdiff_t(*it));
    entries_.insert(entries_.begin() + std::ptrdiff_t(at), moved.begin(), moved.end());
    return at;
}

void Playlist::Clear()
{
    entries_.clear();
    current_ = 0;
    cursor_.reset();
    played_.clear();
    history_.clear();
}

void Playlist::Play(size_t row)
{
    if (row >= entries_.size())
        return;
    const uint64_t id = entries_[row].id;
    current_ = id;
    cursor_.reset();
    played_.insert(id);
    std::erase(history_, id);
    history_.push_back(id);
}

bool Playlist::Follow(const std::string &path)
{
    if (const std::optional<size_t> current = Current(); current && entries_[*current].path == path)
        return true;
    const auto it =
        std::find_if(entries_.begin(), entries_.end(), [&](const PlaylistEntry &e) { return e.path == path; });
    if (it == entries_.end()) {
        current_ = 0;
        cursor_.reset();
        return false;
    }
    Play(size_t(it - entries_.begin()));
    return true;
}

std::vector<size_t> Playlist::SetDuration(const std::string &path, int64_t durationMs)
{
    std::vector<size_t> changed;
    for (size_t r = 0; r < entries_.size(); ++r) {
        if (entries_[r].path == path && entries_[r].durationMs != durationMs) {
            entries_[r].durationMs = durationMs;
            changed.push_back(r);
        }
    }
    return changed;
}

ListStep Playlist::RandomUnplayed(bool newRound, std::mt19937 &random) const
{
    std::vector<size_t> candidates;
    for (size_t r = 0; r < entries_.size(); ++r) {
        const bool played = newRound ? entries_[r].id == current_ : played_.count(entries_[r].id) > 0;
        if (!played)
            candidates.push_back(r);
    }
    // A list of one entry repeats that entry.
    if (candidates.empty() && newRound && !entries_.empty())
        candidates.push_back(0);
    if (candidates.empty())
        return {};
    std::uniform_int_distribution<size_t> pick(0, candidates.size() - 1);
    return {candidates[pick(random)], newRound};
}

ListStep Playlist::StepFrom(int direction, const ListOrder &order, std::mt19937 &random) const
{
    if (entries_.empty())
        return {};
    const bool forward = direction > 0;
    const std::optional<size_t> current = Current();
    if (!current && !cursor_)
        return Restart(order, random); // out of play: the list starts
    if (order.shuffle) {
        // Back and forth along the round's history first, then new entries.
        const auto at = current ? std::find(history_.begin(), history_.end(), current_) : history_.end();
        if (!forward) {
            if (!current) // the entry playing was removed: back to the one played before it
                return history_.empty() ? ListStep{} : ListStep{RowOf(history_.back()), false};
            if (at == history_.end() || at == history_.begin())
                return {};
            return {RowOf(*(at - 1)), false};
        }
        if (at != history_.end() && at + 1 != history_.end())
            return {RowOf(*(at + 1)), false};
        const ListStep fresh = RandomUnplayed(false, random);
        return fresh.row || !order.repeatAll ? fresh : RandomUnplayed(true, random);
    }
    // In turn; a removed entry's place holds the entry that followed it.
    const size_t size = entries_.size();
    if (forward) {
        const size_t next = current ? *current + 1 : *cursor_;
        if (next < size)
            return {next, false};
        return order.repeatAll ? ListStep{0, true} : ListStep{};
    }
    const size_t from = current ? *current : *cursor_;
    if (from > 0)
        return {std::min(from, size) - 1, false};
    return order.repeatAll ? ListStep{size - 1, false} : ListStep{};
}

ListStep Playlist::Restart(const ListOrder &order, std::mt19937 &random) const
{
    if (entries_.empty())
        return {};
    if (!order.shuffle)
        return {0, true};
    std::uniform_int_distribution<size_t> pick(0, entries_.size() - 1);
    return {pick(random), true};
}

void Playlist::StartRound()
{
    played_.clear();
    history_.clear();
}

void Playlist::Take(const ListStep &step)
{
    if (!step.row || *step.row >= entries_.size())
        return;
    if (step.newRound)
        StartRound();
    const uint64_t id = entries_[*step.row].id;
    current_ = id;
    cursor_.reset();
    played_.insert(id);
    // A step along the history keeps it; a new entry is added to its end.
    if (std::find(history_.begin(), history_.end(), id) == history_.end())
        history_.push_back(id);
}

} // namespace velmo

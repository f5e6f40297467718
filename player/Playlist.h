#pragma once

// The playlist: its entries in the user's order, the one playing, and the
// order rules that choose the next one (in turn or at random, each entry
// once per round, again from the top when all repeat).

#include "text/PlaylistFile.h"

#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <unordered_set>
#include <vector>

namespace velmo {

/// What the player does when the list has played through without "모두 반복".
enum class ListEnd {
    Stop,    ///< "멈춤": the last entry stays, paused on its last picture
    Restart, ///< "처음부터": the first entry stands ready, paused at its start
    Quit,    ///< "종료": the program ends
};

/// The order settings of the list.
struct ListOrder {
    bool repeatAll = false; ///< "모두 반복": after the last entry (or round) a new round begins
    bool shuffle = false;   ///< "무작위": each entry once per round, in a random order
    ListEnd atEnd = ListEnd::Stop;
};

/// An entry of the list: an item of a playlist file with an identity of its
/// own, so that the entry playing and those played stay themselves however
/// the list is reordered.
struct PlaylistEntry : PlaylistItem {
    uint64_t id = 0;
};

/// Where a step in the list lands.
struct ListStep {
    std::optional<size_t> row; ///< the entry to play; none: no entry that way
    bool newRound = false;     ///< the step begins a new round (every entry playable again)
};

/// The entries, the one playing and the rounds of the order rules. Rows are
/// indexes into Entries(). Pure: no files, no clock.
class Playlist {
public:
    const std::vector<PlaylistEntry> &Entries() const { return entries_; }
    size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }

    /// The row of the entry playing; none when no entry plays.
    std::optional<size_t> Current() const;
    /// The list is being played: an entry plays, or the one playing was
    /// removed and the list goes on from its place.
    bool InPlay() const { return current_ != 0 || cursor_.has_value(); }

    /// Inserts `items` before row `at` (at the end when past it); returns the row of the first.
    size_t Insert(const std::vector<PlaylistItem> &items, size_t at);
    /// Removes the entries at `rows` (rows out of range are ignored). When
    /// the entry playing goes, the list goes on from where it stood.
    void Remove(std::vector<size_t> rows);
    /// Moves the entries at `rows`, in their order, before the entry now at
    /// row `to` (to the end when past it); returns the row of the first moved.
    size_t Move(std::vector<size_t> rows, size_t to);
    void Clear();
    /// Makes `row` the entry playing, as a user's choice: it counts as played
    /// this round and a step back returns to the one before it.
    void Play(size_t row);
    /// Follows a medium opened by path: the entry playing stays when it is
    /// `path`, else the first entry of that path plays; none is then the
    /// list is out of play. Returns whether an entry plays.
    bool Follow(const std::string &path);
    /// Sets the duration of every entry of `path`; returns the rows changed.
    std::vector<size_t> SetDuration(const std::string &path, int64_t durationMs);

    /// The entry a step forward (+1) or back (-1) from the one playing
    /// lands on by `order`. Forward in turn ends at the last entry (or begins
    /// a new round at the first with repeatAll); at random it picks among the
    /// entries not played this round, then likewise. Back in turn is the row
    /// before (the last with repeatAll); at random it is the entry played
    /// before this one in the round. Out of play, any step starts the list.
    ListStep StepFrom(int direction, const ListOrder &order, std::mt19937 &random) const;
    /// The first entry of a new round (the first row, or a random one).
    ListStep Restart(const ListOrder &order, std::mt19937 &random) const;
    /// Makes the entry of `step` the one playing, keeping the round's account.
    void Take(const ListStep &step);

private:
    std::optional<size_t> RowOf(uint64_t id) const;
    ListStep RandomUnplayed(bool newRound, std::mt19937 &random) const;
    void StartRound();

    std::vector<PlaylistEntry> entries_;
    uint64_t nextId_ = 1;
    uint64_t current_ = 0;               ///< the entry playing; 0: none
    std::optional<size_t> cursor_;       ///< where the removed entry playing stood
    std::unordered_set<uint64_t> played_; ///< played this round, the current one included
    std::vector<uint64_t> history_;      ///< this round's entries in the order played
};

} // namespace velmo

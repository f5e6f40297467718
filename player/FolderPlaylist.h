#pragma once

// The opened file's folder as a playlist: which names are media, in which
// order they play, and the neighbour of a file. Paths and names are the file
// system's own bytes throughout, so names that are not UTF-8 work too.

#include <string>
#include <string_view>

namespace velmo {

/// Whether `name` ends in an extension of media the player opens, in any
/// case: those of the open dialog's filter (without its ".lst" and ".asx",
/// which are lists, not media) and those of the MIME types the desktop entry
/// announces.
bool IsMediaFileName(std::string_view name);

/// Orders names as people number episodes: runs of digits compare by their
/// value ("ep2" before "ep10"), ASCII letters without case, every other byte
/// by its value (UTF-8 keeps the characters' Unicode order). Equal names
/// under those rules fall back to their plain bytes. Negative, 0 or positive.
int NaturalCompare(std::string_view a, std::string_view b);

/// Where a step in the folder ended.
struct FolderStep {
    std::string path;      ///< the file to open; empty when there is none
    bool atEnd = false;    ///< no file after (or before) this one
    bool readable = true;  ///< false: the folder could not be read
};

/// The media file `step` places (+1 next, -1 previous) from `path` in its
/// folder's natural order, the folder read anew. Reads names only; a stat
/// only where the folder does not say whether an entry is a file.
FolderStep NeighbourInFolder(const std::string &path, int step);

} // namespace velmo

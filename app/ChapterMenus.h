#pragma once

// The context menu's lists of the medium's chapters and of the sound
// outputs, filled each time the menu shows, and what choosing an entry does.

#include "resources/CommandIds.h"

#include <cstddef>

class QMenu;
class QString;

namespace velmo {

class Player;

/// The most chapters the "챕터" submenu lists, around the one playing.
inline constexpr size_t kChapterMenuLimit = ID_CHAPTER_LAST - ID_CHAPTER_FIRST + 1;

/// Adds the submenu `title` with the medium's chapters ("title    hh:mm:ss",
/// the one playing checked); greyed when the medium has none. The caller
/// adds the submenu's fixed entries after them.
QMenu &AddChapterMenu(QMenu &parent, const QString &title, const Player &player);
/// Adds the submenu `title` with the sound outputs, the default first and
/// the one in use checked; the caller adds the fixed entries after them.
QMenu &AddSoundMenu(QMenu &parent, const QString &title, Player &player);

/// Plays from the chapter whose entry of `menu` has `id`.
void ChooseChapterEntry(Player &player, const QMenu &menu, int id);
/// Moves the sound to the output whose entry of `menu` has `id`.
void ChooseSoundOutputEntry(Player &player, const QMenu &menu, int id);

} // namespace velmo

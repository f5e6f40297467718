#pragma once

// The player's commands as one table: a row per command with its id, name,
// menu label, key, what it does and the check mark it shows. The context menu
// (menu 133), the key filter (accelerator table 136), the window's dispatch
// and the tests all read it. A new command is an id in
// resources/CommandIds.h and a row here (and an entry of the menu below).

#include "player/Playlist.h"

#include <QString>
#include <Qt>

#include <span>

namespace velmo {

class MainWindow;

/// What a command does; `id` tells apart the commands that share a handler.
using CommandHandler = void (*)(MainWindow &window, int id);
/// Whether the command's menu entry shows a check mark now.
using CheckedState = bool (*)(const MainWindow &window);

/// A key of accelerator table 136: a Qt key with exactly these modifiers
/// (Ctrl and Alt only; no entry uses Shift). `key` 0: the command has no key.
struct AcceleratorKey {
    int key = 0;
    int modifiers = 0; ///< Qt::ControlModifier | Qt::AltModifier bits
};

/// One command.
struct CommandRow {
    int id;
    const char *name;     ///< the constant's name, "ID_FILE_OPEN"
    const char *label;    ///< the menu label exactly as shown, key text and spacing included (UTF-8)
    AcceleratorKey key;   ///< the key that really raises it (the label may name another)
    CommandHandler run;   ///< what it does
    CheckedState checked = nullptr; ///< null: the entry never shows a mark
    bool needsMedia = false;        ///< greyed in the menu while nothing is open
};

/// Every command, in the order of the context menu.
std::span<const CommandRow> CommandTable();
/// The row of `id`, or null.
const CommandRow *FindCommand(int id);
/// The handler of `id`: a row's, or that of a range of entries filled when
/// the menu shows (filters, caption languages, recent media); null for any other id.
CommandHandler FindCommandHandler(int id);
/// The command that key `key` with `modifiers` raises, or 0 when the
/// accelerator table does not hold it. Keypad digits are not the digit keys.
int AcceleratorCommand(int key, Qt::KeyboardModifiers modifiers);

/// One entry of the context menu.
struct MenuEntry {
    /// CaptionLanguages: the submenu of the caption file's languages, which
    /// the window fills when the menu is shown. RecentFiles: the submenu of
    /// the media opened last, filled when shown, followed by its `items`.
    /// SoundMenu: the sound tracks, then the sound outputs, then its
    /// `items`; SubtitleTracks: the subtitle tracks, then its `items`;
    /// Chapters: the medium's chapters, then its `items` (all filled when shown).
    enum Kind { Command, Separator, Popup, CaptionLanguages, RecentFiles, SoundMenu, SubtitleTracks, Chapters } kind;
    int id = 0;                       ///< Command: its id
    const char *text = nullptr;       ///< every kind but Command and Separator: its title (UTF-8)
    std::span<const MenuEntry> items; ///< a submenu's (fixed) entries
};

/// The popup "메뉴" of menu 133, entry by entry.
std::span<const MenuEntry> ContextMenuEntries();
/// The playlist's own entries ("재생 목록 설정"): what its window's menu shows.
std::span<const MenuEntry> PlaylistMenuEntries();
/// `order` after the order command `id` (ID_PLAYLIST_REPEAT_ALL to ID_PLAYLIST_END_QUIT).
ListOrder ListOrderAfter(int id, ListOrder order);

/// Where the filter list takes the place of the entry that stands there.
inline constexpr int kFilterMenuIndex = 7;

/// A text as a menu shows it as it stands: '&' is no mnemonic mark here.
QString MenuText(const QString &text);

} // namespace velmo

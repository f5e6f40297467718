#pragma once

// The context menu's submenus of the medium's streams, filled as the menu
// shows: one function per submenu, apart from the window's own code.

class QMenu;

namespace velmo {

class Player;

/// Fills `menu` with the medium's sound tracks (`sound`) or its subtitle
/// tracks, the caption file beside it and "자막 없음", the one in use checked,
/// then a separator; the submenu's fixed entries follow.
void AddTrackEntries(QMenu &menu, bool sound, const Player &player);

/// The subtitle choice (a track from 0, kSubtitleFiles, kSubtitleNone) of a
/// "자막 트랙" entry's command id.
int SubtitleChoiceOf(int id);

} // namespace velmo

#include "app/StreamMenus.h"

#include "app/CommandTable.h"
#include "engine/MediaFacets.h"
#include "player/Player.h"
#include "resources/CommandIds.h"

#include <QMenu>

namespace velmo {

namespace {

// The ids of one submenu hold this many tracks; a medium with more lists its first ones.
constexpr int kMaxListed = ID_AUDIO_TRACK_LAST - ID_AUDIO_TRACK_FIRST + 1;
static_assert(ID_SUBTITLE_TRACK_LAST - ID_SUBTITLE_TRACK_FIRST + 1 == kMaxListed);

void AddEntry(QMenu &menu, const QString &label, int id, bool checked)
{
    QAction *action = menu.addAction(MenuText(label));
    action->setData(id);
    // Only the one in use shows its mark; the rest show no empty box.
    if (checked) {
        action->setCheckable(true);
        action->setChecked(true);
    }
}

void AddTracks(QMenu &menu, const std::vector<QString> &labels, int firstId, int current)
{
    for (int i = 0; i < int(labels.size()) && i < kMaxListed; ++i)
        AddEntry(menu, labels[size_t(i)], firstId + i, i == current);
}

} // namespace

void AddTrackEntries(QMenu &menu, bool sound, const Player &player)
{
    if (sound) {
        AddTracks(menu, player.AudioTracks(), ID_AUDIO_TRACK_FIRST, player.CurrentAudioTrack());
    } else {
        const int shown = player.SubtitleChoice();
        AddTracks(menu, player.SubtitleTracks(), ID_SUBTITLE_TRACK_FIRST, shown);
        const QString file = player.CaptionFileName();
        if (!file.isEmpty())
            AddEntry(menu, file, ID_SUBTITLE_TRACK_FILE, shown == kSubtitleFiles);
        if (player.HasMedium())
            AddEntry(menu, QStringLiteral("자막 없음"), ID_SUBTITLE_TRACK_NONE, shown == kSubtitleNone);
    }
    if (!menu.isEmpty())
        menu.addSeparator();
}

int SubtitleChoiceOf(int id)
{
    if (id == ID_SUBTITLE_TRACK_FILE)
        return kSubtitleFiles;
    if (id == ID_SUBTITLE_TRACK_NONE)
        return kSubtitleNone;
    return id - ID_SUBTITLE_TRACK_FIRST;
}

} // namespace velmo

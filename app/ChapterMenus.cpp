#include "app/ChapterMenus.h"

#include "app/CommandTable.h"
#include "app/StreamMenus.h"
#include "player/ChapterRules.h"
#include "player/Player.h"
#include "text/ClockText.h"

#include <QMenu>

#include <algorithm>

namespace velmo {

namespace {

// The entry of `id` in the menu last shown; what it names is in its properties.
QAction *EntryOf(const QMenu &menu, int id, const char *property)
{
    for (QAction *action : menu.findChildren<QAction *>())
        if (action->data().toInt() == id && action->property(property).isValid())
            return action;
    return nullptr;
}

QString ChapterLabel(const ChapterMark &chapter, size_t index)
{
    const QString title = chapter.title.isEmpty() ? QStringLiteral("챕터 %1").arg(index + 1) : chapter.title;
    return MenuText(title) + QStringLiteral("    ") + ClockText(chapter.startMs);
}

} // namespace

QMenu &AddChapterMenu(QMenu &parent, const QString &title, const Player &player)
{
    QMenu *menu = parent.addMenu(title);
    const std::vector<ChapterMark> chapters = player.Chapters();
    if (chapters.empty()) {
        menu->setEnabled(false);
        return *menu;
    }
    const int playing = player.ChapterPlaying();
    const auto [first, last] = ChapterWindow(chapters.size(), playing, kChapterMenuLimit);
    if (last - first < chapters.size())
        menu->addAction(QStringLiteral("챕터 %1개 중 %2-%3번").arg(chapters.size()).arg(first + 1).arg(last))
            ->setEnabled(false);
    for (size_t i = first; i < last; ++i) {
        QAction *action = menu->addAction(ChapterLabel(chapters[i], i));
        action->setData(ID_CHAPTER_FIRST + int(i - first));
        action->setProperty("chapter", qulonglong(i));
        action->setCheckable(true);
        action->setChecked(int(i) == playing);
    }
    menu->addSeparator();
    return *menu;
}

QMenu &AddSoundMenu(QMenu &parent, const QString &title, Player &player)
{
    QMenu *menu = parent.addMenu(title);
    AddTrackEntries(*menu, true, player);
    const std::vector<SoundDevice> outputs = player.SoundOutputs();
    const size_t shown = std::min<size_t>(outputs.size(), ID_SOUND_OUTPUT_LAST - ID_SOUND_OUTPUT_FIRST + 1);
    for (size_t i = 0; i < shown; ++i) {
        QAction *action = menu->addAction(MenuText(outputs[i].name));
        action->setData(ID_SOUND_OUTPUT_FIRST + int(i));
        action->setProperty("soundOutput", QByteArray::fromStdString(outputs[i].id));
        action->setCheckable(true);
        action->setChecked(outputs[i].id == player.SoundOutputInUse());
    }
    menu->addSeparator();
    return *menu;
}

void ChooseChapterEntry(Player &player, const QMenu &menu, int id)
{
    if (const QAction *entry = EntryOf(menu, id, "chapter"))
        player.GoToChapter(size_t(entry->property("chapter").toULongLong()));
}

void ChooseSoundOutputEntry(Player &player, const QMenu &menu, int id)
{
    if (const QAction *entry = EntryOf(menu, id, "soundOutput"))
        player.ChooseSoundOutput(entry->property("soundOutput").toByteArray().toStdString());
}

} // namespace velmo

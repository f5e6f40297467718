// MainWindow's commands: the dispatch through the command table, the context
// menu and its lists, the caption-look commands, the filter pages and the dialogs.

#include "app/MainWindow.h"

#include "app/AboutDialog.h"
#include "app/ChapterMenus.h"
#include "app/CommandTable.h"
#include "app/FilterPropertyFrame.h"
#include "app/PlayerMessage.h"
#include "app/StreamMenus.h"
#include "app/SubtitleCommands.h"
#include "player/Player.h"
#include "player/PlayerSettings.h"
#include "resources/CommandIds.h"
#include "screen/VideoScreen.h"
#include "subtitles/SubtitleSettingsDialog.h"
#include "subtitles/SubtitleStyle.h"
#include "text/ClockText.h"
#include "text/MediaAddress.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

namespace velmo {

void MainWindow::OnCommand(int id)
{
    // While the offer to resume stands, Enter takes it and any other command ends it first.
    if (player_.TakeResumeOffer(id == ID_FULL_SCREEN))
        return;
    if (const CommandHandler handler = FindCommandHandler(id))
        handler(*this, id);
}

void MainWindow::OnSubtitleStyle(int id)
{
    ApplySubtitleCommand(style_, id);
    if (videoScreen_)
        videoScreen_->Invalidate(true);
}

void MainWindow::OnAbout()
{
    AboutDialog about(this);
    about.exec();
}

void MainWindow::OnSubtitleSettings()
{
    SubtitleSettingsDialog dialog(style_, this);
    // Each change the dialog makes redraws the caption at once, as the private message does.
    connect(&dialog, &SubtitleSettingsDialog::SubtitleChanged, this, [this] {
        PlayerMessage changed(WM_PLAYER_SUBTITLE_CHANGED, 0, 0);
        QCoreApplication::sendEvent(this, &changed);
    });
    dialog.exec();
}

// ---- Context menu

QMenu *MainWindow::BuildContextMenu()
{
    // The submenus of the last showing go with it; clear() leaves them behind.
    contextMenu_.clear();
    qDeleteAll(contextMenu_.findChildren<QMenu *>(QString(), Qt::FindDirectChildrenOnly));
    FillMenu(contextMenu_, ContextMenuEntries());
    return &contextMenu_;
}

void MainWindow::FillMenu(QMenu &target, std::span<const MenuEntry> list)
{
    const bool media = player_.HasMedium();
    const auto fill = [&](QMenu &menu, std::span<const MenuEntry> entries, auto &self) -> void {
        for (size_t i = 0; i < entries.size(); ++i) {
            const MenuEntry &e = entries[i];
            if (&menu == &contextMenu_ && int(i) == kFilterMenuIndex) {
                AddFilterMenu(menu, media);
                continue;
            }
            if (e.kind == MenuEntry::Separator) {
                menu.addSeparator();
            } else if (e.kind == MenuEntry::CaptionLanguages) {
                AddLanguageMenu(menu, e.text);
            } else if (e.kind == MenuEntry::RecentFiles) {
                QMenu &recent = AddRecentMenu(menu, e.text);
                self(recent, e.items, self);
                // Its own commands act on the list: nothing to act on while it is empty.
                if (player_.RecentMedia().empty())
                    for (QAction *action : recent.actions())
                        action->setEnabled(false);
            } else if (e.kind == MenuEntry::SubtitleTracks) {
                QMenu *tracks = menu.addMenu(QString::fromUtf8(e.text));
                AddTrackEntries(*tracks, false, player_);
                self(*tracks, e.items, self);
                for (QAction *action : tracks->actions())
                    action->setEnabled(media);
            } else if (e.kind == MenuEntry::SoundMenu) {
                self(AddSoundMenu(menu, QString::fromUtf8(e.text), player_), e.items, self);
            } else if (e.kind == MenuEntry::Chapters) {
                self(AddChapterMenu(menu, QString::fromUtf8(e.text), player_), e.items, self);
            } else if (e.kind == MenuEntry::Popup) {
                self(*menu.addMenu(MenuText(QString::fromUtf8(e.text))), e.items, self);
            } else if (const CommandRow *row = FindCommand(e.id)) {
                QAction *action = menu.addAction(MenuText(QString::fromUtf8(row->label)));
                action->setData(row->id);
                // Only a set flag shows its mark; an unset one shows no empty box.
                if (row->checked && row->checked(*this)) {
                    action->setCheckable(true);
                    action->setChecked(true);
                }
                if (row->needsMedia)
                    action->setEnabled(media);
            }
        }
    };
    fill(target, list, fill);
}

void MainWindow::AddFilterMenu(QMenu &menu, bool media)
{
    const QString title = QStringLiteral("필터정보");
    if (!media) {
        menu.addAction(title)->setEnabled(false);
        return;
    }
    QMenu *filters = menu.addMenu(title);
    const std::vector<std::string> names = player_.FilterNames();
    for (size_t i = 0; i < names.size(); ++i) {
        QAction *action = filters->addAction(MenuText(QString::fromStdString(names[i])));
        action->setData(ID_FILTER_FIRST + int(i) + 1);
        // The graph's own spelling of the name, for finding the filter again.
        action->setProperty("filterName", QByteArray::fromStdString(names[i]));
    }
}

void MainWindow::AddLanguageMenu(QMenu &parent, const char *title)
{
    QMenu *menu = parent.addMenu(QString::fromUtf8(title));
    const std::vector<SamiLanguage> languages = player_.CaptionLanguages();
    if (languages.size() < 2) {
        // One language, or none to choose from: nothing to pick.
        const QString only = languages.empty() ? QStringLiteral("기본") : languages.front().title;
        menu->addAction(only)->setEnabled(false);
        menu->setEnabled(player_.CaptionLanguagesKnown());
        return;
    }
    const QString shown = player_.CaptionLanguageShown();
    const auto add = [&](const QString &text, const QString &className, int index) {
        QAction *action = menu->addAction(MenuText(text));
        action->setData(ID_CAPTION_LANGUAGE_FIRST + index);
        action->setCheckable(true);
        action->setChecked(shown.compare(className, Qt::CaseInsensitive) == 0);
    };
    for (size_t i = 0; i < languages.size(); ++i)
        add(languages[i].title, languages[i].className, int(i));
    add(QStringLiteral("둘 다"), QString::fromLatin1(kEverySamiLanguage), int(languages.size()));
}

namespace {

// The name a medium is listed by: a file's name, an address as it stands.
QString ListedName(const std::string &medium)
{
    const QString name = QFile::decodeName(QByteArray::fromStdString(medium));
    return IsAddress(medium) ? name : QFileInfo(name).fileName();
}

} // namespace

QMenu &MainWindow::AddRecentMenu(QMenu &parent, const char *title)
{
    QMenu *menu = parent.addMenu(QString::fromUtf8(title));
    const auto recent = player_.RecentMedia();
    for (size_t i = 0; i < recent.size(); ++i) {
        QString label = MenuText(ListedName(recent[i].first));
        if (recent[i].second)
            label += QStringLiteral("    ") + ClockText(recent[i].second->positionMs);
        menu->addAction(label)->setData(ID_RECENT_FIRST + int(i));
    }
    if (!recent.empty())
        menu->addSeparator();
    return *menu;
}

void MainWindow::OnRecentFile(int id)
{
    const auto recent = player_.RecentMedia();
    const size_t index = size_t(id - ID_RECENT_FIRST);
    // A medium that is gone stays listed: its open shows the codec message.
    if (index < recent.size())
        OpenMedia(recent[index].first);
}

void MainWindow::contextMenuEvent(QContextMenuEvent *event)
{
    event->accept();
    QAction *chosen = BuildContextMenu()->exec(event->globalPos());
    if (chosen && chosen->data().toInt() != 0)
        OnCommand(chosen->data().toInt());
}

void MainWindow::OnFilterCommand(int id)
{
    // The entry of that id in the last menu shown names the filter; the first of equal names wins.
    const QList<QAction *> all = contextMenu_.findChildren<QAction *>();
    for (QAction *action : all) {
        if (action->data().toInt() != id || !action->property("filterName").isValid())
            continue;
        std::shared_ptr<FilterPages> pages =
            player_.FilterPagesOf(action->property("filterName").toByteArray().toStdString());
        if (!pages)
            return;
        raise();
        activateWindow();
        FilterPropertyFrame frame(std::move(pages), this);
        frame.exec();
        return;
    }
}

} // namespace velmo

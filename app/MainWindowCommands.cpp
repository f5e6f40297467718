// MainWindow's commands: the dispatch to the command handlers, the context
// menu, the caption-look commands, the filter pages and the dialogs.

#include "app/MainWindow.h"

#include "app/AboutDialog.h"
#include "app/FilterPropertyFrame.h"
#include "app/PlayerMessage.h"
#include "app/SubtitleCommands.h"
#include "engine/MediaGraph.h"
#include "screen/VideoScreen.h"
#include "resources/CommandIds.h"
#include "resources/CommandTable.h"
#include "subtitles/SubtitleSettingsDialog.h"
#include "subtitles/SubtitleStyle.h"

#include <QContextMenuEvent>
#include <QCoreApplication>

#include <optional>

namespace velmo {

void MainWindow::OnCommand(int id)
{
    if (TakeResumeCommand(id))
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

namespace {

/// The checked state of the commands that show one, from the player's state.
std::optional<bool> CheckedState(int id, const SubtitleStyle &s)
{
    switch (id) {
    case ID_MUTE: return !s.soundEnabled;
    case ID_REPEAT: return s.repeatMode;
    case ID_FULL_SCREEN: return s.fullScreenMode;
    case ID_FILLED_SCREEN: return s.filledScreenMode;
    case ID_HIDE: return s.hiddenMode;
    case ID_SUBTITLE_SHOW: return s.subtitleVisible;
    case ID_SUBTITLE_BOLD: return s.Style == 700;
    case ID_SHADOW: return s.Shadow_Use;
    case ID_SHADOW_DEEP: return s.Shadow_Deep;
    case ID_OUTLINE: return s.Outline_Use;
    case ID_OUTLINE_DEEP: return s.Outline_Deep;
    case ID_CAPTION_MARKUP: return s.captionMarkup;
    case ID_CONTINUOUS_PLAY: return s.continuousPlay;
    default: return std::nullopt;
    }
}

/// A label as it stands: '&' is not a mnemonic mark here.
QString Literal(const char *utf8)
{
    return QString::fromUtf8(utf8).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

} // namespace

QMenu *MainWindow::BuildContextMenu()
{
    // The submenus of the last showing go with it; clear() leaves them behind.
    contextMenu_.clear();
    qDeleteAll(contextMenu_.findChildren<QMenu *>(QString(), Qt::FindDirectChildrenOnly));
    const bool media = mediaGraph_.graph != nullptr;
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
            } else if (e.kind == MenuEntry::Popup) {
                self(*menu.addMenu(Literal(e.text)), e.items, self);
            } else if (const CommandRow *row = FindCommand(e.id)) {
                QAction *action = menu.addAction(Literal(row->label));
                action->setData(row->id);
                // Only a set flag shows its mark; an unset one shows no empty box.
                if (const std::optional<bool> checked = CheckedState(row->id, style_)) {
                    action->setCheckable(*checked);
                    action->setChecked(*checked);
                }
                if (row->id == ID_OPEN_SUBTITLE || row->id == ID_HIDE)
                    action->setEnabled(media);
            }
        }
    };
    fill(contextMenu_, ContextMenuEntries(), fill);
    return &contextMenu_;
}

void MainWindow::AddFilterMenu(QMenu &menu, bool media)
{
    const QString title = QStringLiteral("필터정보");
    if (!media) {
        menu.addAction(title)->setEnabled(false);
        return;
    }
    QMenu *filters = menu.addMenu(title);
    mediaGraph_.CollectFilterNames();
    for (int i = 1; i <= mediaGraph_.filterCount; ++i) {
        const std::string &name = mediaGraph_.filterNames[i - 1];
        QAction *action = filters->addAction(QString::fromStdString(name).replace(QLatin1Char('&'), QStringLiteral("&&")));
        action->setData(ID_FILTER_FIRST + i);
        // The graph's own spelling of the name, for finding the filter again.
        action->setProperty("filterName", QByteArray::fromStdString(name));
    }
}

void MainWindow::contextMenuEvent(QContextMenuEvent *event)
{
    event->accept();
    QAction *chosen = BuildContextMenu()->exec(event->globalPos());
    if (chosen && chosen->data().toInt() != 0)
        OnCommand(chosen->data().toInt());
}

void MainWindow::ShowFilterPages(const std::string &name)
{
    std::shared_ptr<FilterPages> pages = mediaGraph_.FilterPagesOf(name);
    if (!pages)
        return;
    raise();
    activateWindow();
    FilterPropertyFrame frame(std::move(pages), this);
    frame.exec();
}

void MainWindow::OnFilterCommand(int id)
{
    // The entry of that id in the last menu shown names the filter; the first of equal names wins.
    const QList<QAction *> all = contextMenu_.findChildren<QAction *>();
    for (QAction *action : all) {
        if (action->data().toInt() == id && action->property("filterName").isValid()) {
            ShowFilterPages(action->property("filterName").toByteArray().toStdString());
            return;
        }
    }
}

} // namespace velmo

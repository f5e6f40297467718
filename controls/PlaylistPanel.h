#pragma once

#include <QPoint>
#include <QWidget>

class QLabel;
class QTreeView;

namespace velmo {

class Player;
class PlaylistModel;
class SkinSet;

/// The list's own window ("재생 목록"), in the skin's colours: the entries
/// with their durations, the one playing marked, and a row of buttons
/// (the previous and next entry with the skin's pictures, add files, add the
/// current folder, save, and the list's menu). Files and folders dropped
/// join the list where they fall; dragged entries move; Delete removes the
/// selected ones; a double click or Enter plays one; Esc hides the window.
/// Keys with Ctrl or Alt, and Space, go on to the window that owns it, so
/// the player's keys work here too. Its buttons ask for commands through
/// Command(); what they mean is the owner's business.
class PlaylistPanel : public QWidget {
    Q_OBJECT
public:
    /// A top-level window of `owner` (which gets the keys it does not use).
    PlaylistPanel(const SkinSet &skin, Player &player, QWidget *owner);

    QTreeView *view() const { return view_; }
    PlaylistModel *model() const { return model_; }

signals:
    /// A command for the owner (ID_PREV_FILE, ID_NEXT_FILE, ID_PLAYLIST_ADD_FILES,
    /// ID_PLAYLIST_ADD_FOLDER, ID_PLAYLIST_SAVE).
    void Command(int id);
    /// The list's menu is wanted at `globalPos`.
    void MenuRequested(QPoint globalPos);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void ApplySkinColours(const SkinSet &skin);
    QWidget *MakeButtons(const SkinSet &skin);
    void RemoveSelected();
    void PlayCurrent();
    void SelectRows(int first, int count);
    void ShowSummary();

    Player &player_;
    PlaylistModel *model_ = nullptr;
    QTreeView *view_ = nullptr;
    QLabel *summary_ = nullptr;
};

} // namespace velmo

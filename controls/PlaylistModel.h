#pragma once

#include <QAbstractTableModel>

#include <vector>

namespace velmo {

class Player;

/// The player's list as rows for a view: the entry's name (its title, else
/// its file's name) and its duration, the one playing marked. Drops change
/// the list through the player: rows of this model move, files and folders
/// (as URLs) are added where they fall. The model follows the player's
/// signals; it keeps nothing of its own.
class PlaylistModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit PlaylistModel(Player &player, QObject *parent = nullptr);

    /// The MIME type of rows dragged within the list.
    static constexpr const char *kRowsMimeType = "application/x-velmo-playlist-rows";
    enum Column { NameColumn, DurationColumn, ColumnCount };

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    Qt::DropActions supportedDropActions() const override;
    QStringList mimeTypes() const override;
    QMimeData *mimeData(const QModelIndexList &indexes) const override;
    bool dropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                      const QModelIndex &parent) override;

signals:
    /// Rows `first` to `first + count - 1` are those a drop moved or added.
    void rowsPlaced(int first, int count);

private:
    Player &player_;
    int playingRow_ = -1; ///< the row marked, to unmark it when another plays
};

} // namespace velmo

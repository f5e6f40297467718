#include "controls/PlaylistModel.h"

#include "player/Player.h"
#include "text/ClockText.h"

#include <QDataStream>
#include <QFile>
#include <QFont>
#include <QMimeData>
#include <QUrl>

#include <set>

namespace velmo {

PlaylistModel::PlaylistModel(Player &player, QObject *parent) : QAbstractTableModel(parent), player_(player)
{
    if (const std::optional<size_t> playing = player_.List().Current())
        playingRow_ = int(*playing);
    connect(&player_, &Player::listChanged, this, [this] {
        beginResetModel();
        playingRow_ = player_.List().Current() ? int(*player_.List().Current()) : -1;
        endResetModel();
    });
    connect(&player_, &Player::listPlayingChanged, this, [this] {
        const int now = player_.List().Current() ? int(*player_.List().Current()) : -1;
        for (int row : {playingRow_, now})
            if (row >= 0 && row < rowCount())
                emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
        playingRow_ = now;
    });
    connect(&player_, &Player::listRowsChanged, this, [this](int first, int last) {
        emit dataChanged(index(first, DurationColumn), index(last, DurationColumn));
    });
}

int PlaylistModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(player_.List().size());
}

int PlaylistModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant PlaylistModel::data(const QModelIndex &index, int role) const
{
    const auto &entries = player_.List().Entries();
    if (!index.isValid() || size_t(index.row()) >= entries.size())
        return {};
    const PlaylistEntry &entry = entries[size_t(index.row())];
    const bool playing = player_.List().Current() == size_t(index.row());
    switch (role) {
    case Qt::DisplayRole:
        if (index.column() == DurationColumn)
            return entry.durationMs >= 0 ? ClockText(entry.durationMs) : QString();
        return (playing ? QStringLiteral("▶ ") : QString()) +
               (entry.title.empty() ? QFile::decodeName(QByteArray::fromStdString(ListedFileName(entry.path)))
                                    : QString::fromStdString(entry.title));
    case Qt::ToolTipRole:
        return QFile::decodeName(QByteArray::fromStdString(entry.path));
    case Qt::FontRole:
        if (playing) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        return {};
    case Qt::TextAlignmentRole:
        return index.column() == DurationColumn ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
    default:
        return {};
    }
}

Qt::ItemFlags PlaylistModel::flags(const QModelIndex &index) const
{
    // Drops land between entries, never on one.
    if (!index.isValid())
        return Qt::ItemIsDropEnabled;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
}

Qt::DropActions PlaylistModel::supportedDropActions() const
{
    return Qt::MoveAction | Qt::CopyAction;
}

QStringList PlaylistModel::mimeTypes() const
{
    return {QString::fromLatin1(kRowsMimeType), QStringLiteral("text/uri-list")};
}

QMimeData *PlaylistModel::mimeData(const QModelIndexList &indexes) const
{
    std::set<int> rows;
    for (const QModelIndex &index : indexes)
        if (index.isValid())
            rows.insert(index.row());
    QByteArray encoded;
    QDataStream out(&encoded, QIODevice::WriteOnly);
    for (int row : rows)
        out << qint32(row);
    auto *data = new QMimeData;
    data->setData(QString::fromLatin1(kRowsMimeType), encoded);
    return data;
}

// The list changes through the player; the view's own removal of the rows
// it dragged finds nothing to remove (removeRows is not offered).
bool PlaylistModel::dropMimeData(const QMimeData *data, Qt::DropAction action, int row, int,
                                 const QModelIndex &parent)
{
    if (!data || action == Qt::IgnoreAction)
        return false;
    const size_t to = row >= 0 ? size_t(row) : parent.isValid() ? size_t(parent.row()) : player_.List().size();
    if (data->hasFormat(QString::fromLatin1(kRowsMimeType))) {
        QDataStream in(data->data(QString::fromLatin1(kRowsMimeType)));
        std::vector<size_t> rows;
        for (qint32 r = 0; !in.atEnd();) {
            in >> r;
            if (in.status() == QDataStream::Ok && r >= 0)
                rows.push_back(size_t(r));
        }
        const size_t first = player_.MoveInList(rows, to);
        emit rowsPlaced(int(first), int(rows.size()));
        return true;
    }
    if (!data->hasUrls())
        return false;
    std::vector<std::string> paths;
    for (const QUrl &url : data->urls())
        paths.push_back(url.isLocalFile() ? QFile::encodeName(url.toLocalFile()).toStdString()
                                          : url.toString().toStdString());
    const size_t before = player_.List().size();
    player_.AddToList(paths, to);
    emit rowsPlaced(int(std::min(to, before)), int(player_.List().size() - before));
    return true;
}

} // namespace velmo

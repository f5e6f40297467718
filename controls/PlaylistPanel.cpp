#include "controls/PlaylistPanel.h"

#include "controls/BitmapButton.h"
#include "controls/PlaylistModel.h"
#include "player/Player.h"
#include "resources/CommandIds.h"
#include "skin/SkinSet.h"
#include "text/ClockText.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

#include <set>

namespace velmo {

namespace {

QColor ToQColor(Colour c)
{
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

// The panel's own colour: the middle of the control panel's picture, dark
// grey without one.
QColor PanelColour(const SkinSet &skin)
{
    const QImage &image = skin.controlPanel.bitmap.image();
    if (image.isNull())
        return QColor(40, 44, 52);
    return image.pixelColor(image.width() / 2, image.height() / 2);
}

} // namespace

PlaylistPanel::PlaylistPanel(const SkinSet &skin, Player &player, QWidget *owner)
    : QWidget(owner, Qt::Window), player_(player)
{
    setWindowTitle(QStringLiteral("재생 목록"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    model_ = new PlaylistModel(player_, this);
    view_ = new QTreeView(this);
    view_->setModel(model_);
    view_->setRootIsDecorated(false);
    view_->setUniformRowHeights(true); // 1,000 entries scroll as fast as 10
    view_->setHeaderHidden(true);
    view_->setAllColumnsShowFocus(true);
    view_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setDragDropMode(QAbstractItemView::DragDrop);
    view_->setDefaultDropAction(Qt::MoveAction);
    view_->setDragDropOverwriteMode(false);
    view_->setDropIndicatorShown(true);
    view_->setContextMenuPolicy(Qt::CustomContextMenu);
    view_->header()->setStretchLastSection(false);
    view_->header()->setSectionResizeMode(PlaylistModel::NameColumn, QHeaderView::Stretch);
    view_->header()->setSectionResizeMode(PlaylistModel::DurationColumn, QHeaderView::ResizeToContents);
    view_->installEventFilter(this);
    connect(view_, &QTreeView::doubleClicked, this, [this](const QModelIndex &index) {
        player_.PlayEntry(size_t(index.row()));
    });
    connect(view_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &at) { emit MenuRequested(view_->viewport()->mapToGlobal(at)); });
    connect(model_, &PlaylistModel::rowsPlaced, this, &PlaylistPanel::SelectRows, Qt::QueuedConnection);
    // The entry playing stays in sight.
    connect(&player_, &Player::listPlayingChanged, this, [this] {
        if (const std::optional<size_t> playing = player_.List().Current())
            view_->scrollTo(model_->index(int(*playing), 0));
    });

    summary_ = new QLabel(this);
    connect(&player_, &Player::listChanged, this, &PlaylistPanel::ShowSummary);
    connect(&player_, &Player::listRowsChanged, this, &PlaylistPanel::ShowSummary);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    layout->addWidget(view_, 1);
    layout->addWidget(MakeButtons(skin));
    ApplySkinColours(skin);
    ShowSummary();
}

void PlaylistPanel::ApplySkinColours(const SkinSet &skin)
{
    const QColor back = PanelColour(skin);
    const QColor text = skin.time.textColor ? ToQColor(skin.time.textColor) : QColor(Qt::white);
    QPalette colours = palette();
    for (QPalette::ColorRole role : {QPalette::Window, QPalette::Button})
        colours.setColor(role, back);
    colours.setColor(QPalette::Base, back.darker(140));
    colours.setColor(QPalette::AlternateBase, back.darker(120));
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        colours.setColor(role, text);
    colours.setColor(QPalette::Highlight, back.lighter(180));
    colours.setColor(QPalette::HighlightedText, Qt::white);
    setPalette(colours);
    setAutoFillBackground(true);
}

QWidget *PlaylistPanel::MakeButtons(const SkinSet &skin)
{
    auto *row = new QWidget(this);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    const auto skinned = [&](const SkinImage &image, int id, const char *tip) {
        auto *button = new BitmapButton(row);
        button->SetImage(image);
        button->setFixedSize(std::max(button->StateWidth(), 16), std::max(image.height, 16));
        button->SetTooltipText(QString::fromUtf8(tip));
        connect(button, &BitmapButton::clicked, this, [this, id] { emit Command(id); });
        layout->addWidget(button);
    };
    skinned(skin.prev, ID_PREV_FILE, "이전 파일");
    skinned(skin.next, ID_NEXT_FILE, "다음 파일");
    const auto plain = [&](const char *text) {
        auto *button = new QToolButton(row);
        button->setText(QString::fromUtf8(text));
        button->setAutoRaise(true);
        layout->addWidget(button);
        return button;
    };
    for (const auto &[text, id] : {std::pair{"열기", ID_PLAYLIST_ADD_FILES}, std::pair{"폴더 추가", ID_PLAYLIST_ADD_FOLDER},
                                   std::pair{"저장", ID_PLAYLIST_SAVE}}) {
        connect(plain(text), &QToolButton::clicked, this, [this, id = id] { emit Command(id); });
    }
    QToolButton *more = plain("…");
    connect(more, &QToolButton::clicked, this,
            [this, more] { emit MenuRequested(more->mapToGlobal(QPoint(0, more->height()))); });
    layout->addStretch(1);
    layout->addWidget(summary_);
    return row;
}

void PlaylistPanel::ShowSummary()
{
    int64_t totalMs = 0;
    for (const PlaylistEntry &entry : player_.List().Entries())
        totalMs += std::max<int64_t>(entry.durationMs, 0);
    summary_->setText(QStringLiteral("%1개  %2").arg(player_.List().size()).arg(ClockText(totalMs)));
}

bool PlaylistPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != view_ || event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    auto *key = static_cast<QKeyEvent *>(event);
    switch (key->key()) {
    case Qt::Key_Delete:
        RemoveSelected();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            PlayCurrent();
            return true;
        }
        break;
    case Qt::Key_Escape:
        hide();
        return true;
    default:
        break;
    }
    // The player's keys: those with Ctrl or Alt, and Space, go on to the owner.
    const bool playerKey = (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) || key->key() == Qt::Key_Space;
    if (playerKey && parentWidget()) {
        QKeyEvent copy(key->type(), key->key(), key->modifiers(), key->text(), key->isAutoRepeat(), key->count());
        QApplication::sendEvent(parentWidget(), &copy);
        return true;
    }
    return false;
}

void PlaylistPanel::RemoveSelected()
{
    std::vector<size_t> rows;
    for (const QModelIndex &index : view_->selectionModel()->selectedRows())
        rows.push_back(size_t(index.row()));
    if (rows.empty())
        return;
    const int first = int(*std::min_element(rows.begin(), rows.end()));
    player_.RemoveFromList(rows);
    // The entry that took the first removed one's place is the next to remove.
    SelectRows(std::min(first, model_->rowCount() - 1), 1);
}

void PlaylistPanel::PlayCurrent()
{
    const QModelIndex current = view_->currentIndex();
    if (current.isValid())
        player_.PlayEntry(size_t(current.row()));
}

void PlaylistPanel::SelectRows(int first, int count)
{
    if (first < 0 || count <= 0 || first >= model_->rowCount())
        return;
    const int last = std::min(first + count, model_->rowCount()) - 1;
    const QItemSelection rows(model_->index(first, 0), model_->index(last, PlaylistModel::ColumnCount - 1));
    view_->selectionModel()->select(rows, QItemSelectionModel::ClearAndSelect);
    view_->selectionModel()->setCurrentIndex(model_->index(first, 0), QItemSelectionModel::NoUpdate);
    view_->scrollTo(model_->index(first, 0));
}

} // namespace velmo

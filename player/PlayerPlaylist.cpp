// The playlist: what is added to it and how, the order its entries play in,
// what the end of the list does, the durations found in the background and
// the list kept between runs.

#include "player/Player.h"

#include "engine/MediaGraph.h"
#include "player/FolderPlaylist.h"
#include "player/PlayerSettings.h"
#include "player/PlaylistStore.h"
#include "player/ResumeStore.h"
#include "text/MediaAddress.h"

#include <QLoggingCategory>

#include <algorithm>
#include <filesystem>

namespace velmo {

Q_LOGGING_CATEGORY(lcPlaylist, "velmo.player.playlist")

namespace fs = std::filesystem;

namespace {

// How deep a dropped folder is followed, and how many files it may add.
constexpr int kMaxFolderDepth = 8;
constexpr size_t kMaxAddedFiles = 20000;
// The kept list is written this long after a change to its entries, and at
// most this often while durations come in (a write syncs the disk).
constexpr int kKeepListDelayMs = 300;
constexpr int kKeepDurationsDelayMs = 3000;
// Durations are asked for this long after the start, off the first picture's way.
constexpr int kFirstProbeDelayMs = 1500;

bool IsListFile(const std::string &path)
{
    return !IsAddress(path) && IsPlaylistFileName(path);
}

// The media files of `folder` and of its subfolders, each folder's entries
// in natural order with the subfolders in their place.
void AddFolder(const fs::path &folder, int depth, std::vector<PlaylistItem> *items)
{
    std::error_code ec;
    std::vector<fs::directory_entry> entries;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        entries.push_back(*it);
    std::sort(entries.begin(), entries.end(), [](const fs::directory_entry &a, const fs::directory_entry &b) {
        return NaturalCompare(a.path().filename().string(), b.path().filename().string()) < 0;
    });
    for (const fs::directory_entry &entry : entries) {
        if (items->size() >= kMaxAddedFiles)
            return;
        const std::string name = entry.path().filename().string();
        if (entry.is_directory(ec)) {
            if (depth < kMaxFolderDepth && !name.starts_with('.'))
                AddFolder(entry.path(), depth + 1, items);
        } else if (IsMediaFileName(name) && entry.is_regular_file(ec)) {
            items->push_back({entry.path().string(), {}, -1, {}});
        }
    }
}

} // namespace

// ---- Adding and changing

std::vector<PlaylistItem> Player::ItemsOf(const std::vector<std::string> &paths) const
{
    std::vector<PlaylistItem> items;
    for (const std::string &given : paths) {
        if (given.empty())
            continue;
        if (IsAddress(given)) {
            items.push_back({given, {}, -1, {}});
            continue;
        }
        const std::string path = ResumeStore::MediumName(given);
        std::error_code ec;
        if (fs::is_directory(path, ec)) {
            AddFolder(path, 0, &items);
        } else if (IsListFile(path)) {
            // A list inside a list adds its entries once; lists it names are left out.
            for (PlaylistItem &item : LoadPlaylistFile(path).value_or(std::vector<PlaylistItem>()))
                if (!IsListFile(item.path))
                    items.push_back(std::move(item));
        } else {
            items.push_back({path, {}, -1, {}});
        }
    }
    return items;
}

void Player::AddToList(const std::vector<std::string> &paths, size_t at)
{
    const std::vector<PlaylistItem> items = ItemsOf(paths);
    if (items.empty())
        return;
    list_.Insert(items, at);
    emit listChanged();
    // The medium open, added now, is the entry playing.
    if (!list_.InPlay() && HasMedium() && list_.Follow(path_))
        emit listPlayingChanged();
    KeepList(kKeepListDelayMs);
    ProbeDurations(items);
}

void Player::AddFolderToList()
{
    if (!HasFolder()) {
        emit message(QStringLiteral("추가할 폴더가 없습니다"), 0);
        return;
    }
    AddToList({fs::path(path_).parent_path().string()});
}

void Player::RemoveFromList(const std::vector<size_t> &rows)
{
    list_.Remove(rows);
    emit listChanged();
    KeepList(kKeepListDelayMs);
}

size_t Player::MoveInList(const std::vector<size_t> &rows, size_t to)
{
    const size_t first = list_.Move(rows, to);
    emit listChanged();
    KeepList(kKeepListDelayMs);
    return first;
}

void Player::ClearList()
{
    list_.Clear();
    emit listChanged();
    KeepList(kKeepListDelayMs);
}

void Player::PlayEntry(size_t row)
{
    if (row >= list_.size())
        return;
    list_.Play(row);
    emit listPlayingChanged();
    Open(list_.Entries()[row].path);
}

bool Player::OpenList(const std::string &path)
{
    const std::optional<std::vector<PlaylistItem>> read = LoadPlaylistFile(path);
    if (!read) {
        emit message(QStringLiteral("재생 목록을 읽을 수 없습니다"), 0);
        return false;
    }
    std::vector<PlaylistItem> items;
    std::copy_if(read->begin(), read->end(), std::back_inserter(items),
                 [](const PlaylistItem &item) { return !IsListFile(item.path); });
    if (items.empty()) {
        emit message(QStringLiteral("재생 목록이 비어 있습니다"), 0);
        return false;
    }
    list_.Clear();
    list_.Insert(items, 0);
    KeepList(kKeepListDelayMs);
    ProbeDurations(items);
    PlayEntry(0);
    return true;
}

bool Player::SaveList(const std::string &path)
{
    std::vector<PlaylistItem> items(list_.Entries().begin(), list_.Entries().end());
    if (!SavePlaylistFile(path, items)) {
        qCWarning(lcPlaylist, "the list could not be written to %s", path.c_str());
        emit message(QStringLiteral("재생 목록을 저장할 수 없습니다"), 0);
        return false;
    }
    emit message(QStringLiteral("재생 목록을 저장했습니다"), 0);
    return true;
}

const ListOrder &Player::Order() const
{
    return settings_.listOrder;
}

void Player::SetOrder(const ListOrder &order)
{
    settings_.listOrder = order;
    SaveOptions();
}

// ---- Walking

bool Player::CanStep() const
{
    return list_.InPlay() || (!HasMedium() && !list_.empty()) || HasFolder();
}

void Player::StepMedium(int direction)
{
    const bool byList = list_.InPlay() || (!HasMedium() && !opening_ && !list_.empty());
    if (!byList) {
        StepFolder(direction);
        return;
    }
    const ListStep step = list_.StepFrom(direction, settings_.listOrder, random_);
    if (!step.row) {
        emit message(direction > 0 ? QStringLiteral("다음 파일이 없습니다") : QStringLiteral("이전 파일이 없습니다"), 0);
        return;
    }
    PlayStep(step);
}

void Player::PlayStep(const ListStep &step)
{
    list_.Take(step);
    emit listPlayingChanged();
    Open(list_.Entries()[*step.row].path);
}

bool Player::PlayNextInList()
{
    const ListOrder &order = settings_.listOrder;
    if (const ListStep next = list_.StepFrom(+1, order, random_); next.row) {
        PlayStep(next);
        return true;
    }
    switch (order.atEnd) {
    case ListEnd::Stop:
        return false;
    case ListEnd::Restart:
        if (const ListStep first = list_.Restart(order, random_); first.row) {
            PlayStep(first);
            pauseWhenOpened_ = true;
            return true;
        }
        return false;
    case ListEnd::Quit:
        emit quitRequested();
        return false;
    }
    return false;
}

// ---- Durations

void Player::ProbeDurations(const std::vector<PlaylistItem> &items)
{
    DurationProbe *probe = graph_.Durations();
    if (!probe)
        return;
    if (!probing_) {
        probing_ = true;
        probe->SetListener([this](const std::string &path, int64_t ms) { OnDuration(path, ms); });
    }
    for (const PlaylistItem &item : items)
        if (item.durationMs < 0 && !IsAddress(item.path))
            probe->Ask(item.path);
}

void Player::OnDuration(const std::string &path, int64_t durationMs)
{
    if (durationMs < 0)
        return;
    const std::vector<size_t> rows = list_.SetDuration(path, durationMs);
    for (size_t row : rows)
        emit listRowsChanged(int(row), int(row));
    if (!rows.empty())
        KeepList(kKeepDurationsDelayMs);
}

// ---- The list kept between runs

void Player::LoadKeptList()
{
    listSave_.setSingleShot(true);
    connect(&listSave_, &QTimer::timeout, this, &Player::SaveKeptList);
    const std::optional<std::vector<PlaylistItem>> kept = LoadPlaylistFile(PlaylistFileBeside(settings_.FileName()));
    if (!kept || kept->empty())
        return;
    list_.Insert(*kept, 0);
    QTimer::singleShot(kFirstProbeDelayMs, this, [this] {
        ProbeDurations(std::vector<PlaylistItem>(list_.Entries().begin(), list_.Entries().end()));
    });
}

void Player::KeepList(int delayMs)
{
    // A write already due sooner stands; a burst of changes is written once.
    if (listSave_.isActive() && listSave_.remainingTime() <= delayMs)
        return;
    listSave_.start(delayMs);
}

void Player::SaveKeptList()
{
    listSave_.stop();
    const std::string file = PlaylistFileBeside(settings_.FileName());
    const std::vector<PlaylistItem> items(list_.Entries().begin(), list_.Entries().end());
    if (!SavePlaylistFile(file, items))
        qCWarning(lcPlaylist, "the list could not be kept in %s", file.c_str());
}

} // namespace velmo

#pragma once

#include "mpris/PlayerPort.h"

#include <QDBusConnection>
#include <QObject>

#include <memory>

namespace velmo {

class MainWindow;
class Player;

namespace mpris {
class MprisService;
class ScreenSaverInhibitor;
} // namespace mpris

/// The player on the session bus: answers the media-player interface by the
/// window's commands and the player's calls, announces every change the
/// player reports, and holds the screen saver off while a picture plays in a
/// window that is not minimised. Make it after the window and drop it before.
class PlayerBus : public QObject, public mpris::PlayerPort {
    Q_OBJECT
public:
    PlayerBus(MainWindow &window, Player &player, QDBusConnection bus = QDBusConnection::sessionBus());
    ~PlayerBus() override;

    /// The bus name held for the media-player interface; empty without one.
    QString ServiceName() const;

    mpris::PlayerSnapshot Snapshot() const override;
    int64_t PositionUs() const override;
    void Raise() override;
    void Quit() override;
    void PlayPause() override;
    void Play() override;
    void Pause() override;
    void Stop() override;
    void Next() override;
    void Previous() override;
    void SetPositionUs(int64_t position) override;
    void Open(const std::string &media) override;
    void SetRate(double rate) override;
    void SetVolumePosition(int position) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void OnStateChanged();
    bool PictureIsPlaying() const;

    MainWindow &window_;
    Player &player_;
    std::unique_ptr<mpris::ScreenSaverInhibitor> inhibitor_;
    std::unique_ptr<mpris::MprisService> service_;
};

} // namespace velmo

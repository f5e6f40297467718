// The player's transport: play, pause and stop, seeks and jumps, speed,
// frame steps, the picture's aspect, volume and mute.

#include "player/Player.h"

#include "engine/MediaGraph.h"
#include "player/PlaybackRate.h"
#include "player/PlayerSettings.h"
#include "player/PlaybackRules.h"
#include "resources/CommandIds.h"

#include <cmath>
#include <cstdint>

namespace velmo {

void Player::PlayPause()
{
    switch (State()) {
    case PlayState::Closed:
        return;
    case PlayState::Stopped:
        StartOver();
        break;
    case PlayState::Paused:
        if (atEnd_)
            StartOver();
        else
            graph_.control->Run();
        break;
    case PlayState::Running:
        graph_.control->Pause();
        break;
    }
    KeepTicking();
    emit stateChanged();
}

void Player::StartOver()
{
    SeekTo(0.0);
    graph_.control->Run();
}

// A medium stopped by an error stops the timer; played again, it shows its time again.
void Player::KeepTicking()
{
    if (graph_.graph && !ticker_.isActive())
        ticker_.start();
}

void Player::Play()
{
    if (!graph_.graph || !graph_.control)
        return;
    if (atEnd_)
        StartOver();
    else
        graph_.control->Run();
    KeepTicking();
    emit stateChanged();
}

void Player::Pause()
{
    if (!graph_.graph || !graph_.control)
        return;
    graph_.control->Pause();
    emit stateChanged();
}

void Player::Stop()
{
    if (!graph_.graph || !graph_.control)
        return;
    atEnd_ = false; // played from stopped, it starts over anyway
    graph_.control->Stop();
    emit stateChanged();
}

double Player::Position() const
{
    double seconds = 0.0;
    if (!graph_.graph || !graph_.position || Failed(graph_.position->get_CurrentPosition(&seconds)))
        return 0.0;
    return seconds;
}

double Player::Duration() const
{
    double seconds = 0.0;
    if (!graph_.graph || !graph_.position || Failed(graph_.position->get_Duration(&seconds)) || !(seconds > 0))
        return 0.0;
    return seconds;
}

void Player::SeekTo(double seconds)
{
    if (!graph_.graph || !graph_.position)
        return;
    graph_.position->put_CurrentPosition(seconds);
    atEnd_ = false;
    emit timelineSet(TimelinePercent(seconds, Duration()));
    emit positionJumped();
}

void Player::DragTo(int percent)
{
    if (!graph_.graph || !graph_.position)
        return;
    graph_.position->put_CurrentPosition(percent * Duration() * 0.01);
    atEnd_ = false;
    emit positionJumped();
}

void Player::SeekBy(double seconds)
{
    if (!graph_.graph)
        return;
    const double units = std::abs(seconds) * 1e7; // the seeking facet counts 100 ns units
    graph_.SeekBy(units >= 1.8e19 ? UINT64_MAX : static_cast<uint64_t>(units), seconds >= 0);
    atEnd_ = false;
    emit positionJumped();
}

void Player::Jump(int id)
{
    if (!graph_.graph || !graph_.position)
        return;
    if (id == ID_JUMP_START) {
        SeekTo(0.0);
        return;
    }
    // Without a known length there is no middle or end to go to.
    const double duration = Duration();
    if (!(duration > 0))
        return;
    SeekTo(id == ID_JUMP_MIDDLE ? duration * 0.5 : JumpEndPosition(duration));
}

double Player::Rate() const
{
    double rate = 1.0;
    if (!graph_.graph || !graph_.seeking || Failed(graph_.seeking->GetRate(&rate)))
        return 1.0;
    return rate;
}

void Player::SetRate(double rate)
{
    if (graph_.graph && graph_.seeking)
        graph_.seeking->SetRate(rate);
    emit stateChanged();
}

void Player::StepSpeed(int id)
{
    if (!graph_.seeking)
        return;
    const int hundredths = RateAfter(id, RateHundredths(Rate()));
    if (Succeeded(graph_.seeking->SetRate(hundredths / 100.0)))
        emit message(RateMessage(hundredths), 0);
    emit stateChanged();
}

void Player::StepFrame(bool forward)
{
    if (!graph_.graph || !graph_.frames || !graph_.control)
        return;
    if (State() == PlayState::Running) {
        graph_.control->Pause();
        emit stateChanged();
    }
    if (forward) {
        graph_.frames->StepForward();
    } else if (graph_.frames->StepBack() == S_OK) {
        atEnd_ = false; // a picture back from the end plays on from there
    }
}

void Player::SetStretched(bool stretched)
{
    if (graph_.graph && graph_.mixerPinConfig)
        graph_.mixerPinConfig->SetAspectRatioMode(stretched ? AM_ARMODE_STRETCHED : AM_ARMODE_LETTER_BOX);
}

// ---- Volume and mute

int Player::VolumePosition() const
{
    return VolumePositionOf(settings_.volumeLevel);
}

void Player::SetVolumePosition(int position)
{
    // A muted player keeps the level for the unmute.
    settings_.volumeLevel = VolumeLevelAt(position);
    if (settings_.soundEnabled)
        ApplyVolume();
    emit stateChanged();
}

bool Player::Muted() const
{
    return !settings_.soundEnabled;
}

void Player::SetMuted(bool muted)
{
    settings_.soundEnabled = !muted;
    ApplyVolume();
    emit stateChanged();
}

void Player::ApplyVolume()
{
    if (graph_.graph && graph_.basicAudio)
        graph_.basicAudio->put_Volume(settings_.soundEnabled ? settings_.volumeLevel : kVolumeSilent);
}

} // namespace velmo

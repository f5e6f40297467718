// What the player does with the medium's sound beyond its loudness (the
// sync keys, the output it plays on) and with what the medium says of itself
// (its title, its chapters).

#include "player/Player.h"

#include "engine/MediaGraph.h"
#include "player/ChapterRules.h"
#include "player/PlayerSettings.h"
#include "player/SoundSync.h"

#include <QLoggingCategory>

#include <algorithm>
#include <cmath>

namespace velmo {

Q_LOGGING_CATEGORY(lcPlayerMedium, "velmo.player.medium")

// ---- The sound's sync

void Player::ApplySoundState()
{
    if (soundStatePath_ != path_) {
        soundStatePath_ = path_;
        soundDelayMs_ = 0;
    }
    PushSoundDelay();
    // A new graph plays on the default. The outputs are asked for after the
    // first picture, never on the open's way; a choice made meanwhile stands.
    soundOutputInUse_.clear();
    QTimer::singleShot(0, this, [this, serial = openSerial_] {
        if (serial == openSerial_ && soundOutputInUse_.empty())
            ApplySoundOutput();
    });
}

void Player::PushSoundDelay()
{
    if (graph_.sound)
        graph_.sound->SetSoundDelay(soundDelayMs_);
}

void Player::ShiftSound(int id)
{
    if (!graph_.graph)
        return;
    soundDelayMs_ = SoundDelayAfter(id, soundDelayMs_);
    PushSoundDelay();
    emit message(SoundSyncMessage(soundDelayMs_), 0);
}

// ---- The sound's output

std::vector<SoundDevice> Player::SoundOutputs()
{
    std::vector<SoundDevice> outputs{{std::string(), QStringLiteral("기본 출력")}};
    SoundDeviceWatch *watch = graph_.SoundDevices();
    if (!watch)
        return outputs;
    if (!watchingOutputs_) {
        watchingOutputs_ = true;
        watch->SetChangeListener([this] { OnSoundOutputsChanged(); });
    }
    for (SoundDevice &device : watch->Devices())
        outputs.push_back(std::move(device));
    return outputs;
}

// The default is moved to by its name, as the server calls it now.
HResult Player::PlaySoundOn(const std::string &id)
{
    if (!id.empty())
        return graph_.sound->SetSoundDevice(id);
    const std::vector<SoundDevice> outputs = SoundOutputs();
    const auto fallback = std::find_if(outputs.begin(), outputs.end(), [](const SoundDevice &d) { return d.isDefault; });
    return graph_.sound->SetSoundDevice(fallback == outputs.end() ? std::string() : fallback->id);
}

void Player::ChooseSoundOutput(const std::string &id)
{
    settings_.audioDevice = id;
    SaveOptions();
    if (!graph_.sound)
        return;
    if (Failed(PlaySoundOn(id))) {
        emit message(QStringLiteral("출력 장치를 바꿀 수 없습니다"), 0);
        return;
    }
    soundOutputInUse_ = id;
}

// The output chosen plays the medium when it is there; the default otherwise.
void Player::ApplySoundOutput()
{
    if (settings_.audioDevice.empty() || !graph_.sound)
        return;
    const std::vector<SoundDevice> outputs = SoundOutputs();
    const bool present = std::any_of(outputs.begin() + 1, outputs.end(),
                                     [&](const SoundDevice &d) { return d.id == settings_.audioDevice; });
    if (present && Succeeded(graph_.sound->SetSoundDevice(settings_.audioDevice)))
        soundOutputInUse_ = settings_.audioDevice;
}

// The output in use went away: the sound moves to the default, said once.
// The output chosen that comes back takes the sound again.
void Player::OnSoundOutputsChanged()
{
    if (!graph_.sound)
        return;
    const std::vector<SoundDevice> outputs = SoundOutputs();
    const auto listed = [&](const std::string &id) {
        return std::any_of(outputs.begin() + 1, outputs.end(), [&](const SoundDevice &d) { return d.id == id; });
    };
    if (!soundOutputInUse_.empty() && !listed(soundOutputInUse_)) {
        qCInfo(lcPlayerMedium, "the sound output %s went away", soundOutputInUse_.c_str());
        soundOutputInUse_.clear();
        PlaySoundOn(std::string());
        emit message(QStringLiteral("출력 장치가 사라져 기본 출력으로 바꿨습니다"), 0);
    } else if (soundOutputInUse_.empty() && !settings_.audioDevice.empty() && listed(settings_.audioDevice)
               && Succeeded(graph_.sound->SetSoundDevice(settings_.audioDevice))) {
        soundOutputInUse_ = settings_.audioDevice;
    }
}

// ---- What the medium says of itself

QString Player::MediumTitle() const
{
    return graph_.medium ? graph_.medium->Title() : QString();
}

std::vector<ChapterMark> Player::Chapters() const
{
    if (!graph_.medium)
        return {};
    std::vector<ChapterMark> chapters = graph_.medium->Chapters();
    // A chapter that starts past the end would only end the medium.
    const int64_t durationMs = std::llround(Duration() * 1000.0);
    if (durationMs > 0)
        chapters.erase(std::find_if(chapters.begin(), chapters.end(),
                                    [&](const ChapterMark &c) { return c.startMs >= durationMs; }),
                       chapters.end());
    return chapters;
}

int Player::ChapterPlaying() const
{
    return CurrentChapter(Chapters(), std::llround(Position() * 1000.0));
}

void Player::GoToChapter(size_t index)
{
    const std::vector<ChapterMark> chapters = Chapters();
    if (index < chapters.size())
        SeekTo(double(chapters[index].startMs) / 1000.0);
}

void Player::StepChapter(int direction)
{
    if (!graph_.graph)
        return;
    const std::vector<ChapterMark> chapters = Chapters();
    if (chapters.empty()) {
        emit message(QStringLiteral("챕터가 없습니다"), 0);
        return;
    }
    const int64_t positionMs = std::llround(Position() * 1000.0);
    const int target = direction > 0 ? NextChapter(chapters, positionMs) : PreviousChapter(chapters, positionMs);
    if (target < 0) {
        emit message(direction > 0 ? QStringLiteral("다음 챕터가 없습니다") : QStringLiteral("이전 챕터가 없습니다"), 0);
        return;
    }
    SeekTo(double(chapters[size_t(target)].startMs) / 1000.0);
}

} // namespace velmo

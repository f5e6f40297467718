#pragma once

#include "engine/MediaFacets.h"
#include "engine/MediaResult.h"
#include "player/AbRepeat.h"
#include "player/Playlist.h"
#include "player/ResumeRecord.h"
#include "subtitles/SamiReader.h"
#include "subtitles/ShownCaption.h"

#include <QElapsedTimer>
#include <QObject>
#include <QSize>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace velmo {

class FilterPages;
class MediaBackend;
class MediaGraph;
struct PrefetchedMedia;
class PlayerSettings;
class ResumeStore;
class SubtitleStyle;
class TypesetTrack;
struct TypesetLayer;

/// Where the medium stands, as a view shows it.
enum class PlayState {
    Closed,  ///< nothing open (or an open under way)
    Stopped,
    Paused,
    Running,
};

/// The medium now open and the rules of playing it: opening and closing,
/// the transport, seeks, speed, frame steps, volume and mute, the A-B loop,
/// the playlist and its order, the folder as a playlist and continuous play, where media were left,
/// captions (companion files, sync, language, the caption shown) and the
/// screenshot. The views (the window, both panels, the desktop bus) call it
/// and listen to its signals; none of them reaches the graph. An open returns
/// at once: `opened` or `failed` follow. UI thread only.
class Player : public QObject {
    Q_OBJECT
public:
    /// A player of its own graph, made on `backend` (null: GStreamer).
    Player(std::shared_ptr<MediaBackend> backend, PlayerSettings &settings, const SubtitleStyle &look,
           QObject *parent = nullptr);
    /// A player of `graph`, which outlives it (tests look at the graph beside it).
    Player(MediaGraph &graph, PlayerSettings &settings, const SubtitleStyle &look, QObject *parent = nullptr);
    ~Player() override;

    /// Keeps a medium begun early (the command line's) for the open of the same path.
    void AdoptPrefetch(PrefetchedMedia media);

    /// Where the picture goes (the video screen) while media is open.
    void SetPictureOwner(QObject *owner) { pictureOwner_ = owner; }
    /// The part of the picture owner the picture fills.
    void SetPictureArea(int x, int y, int width, int height);

    // ---- Opening
    /// Begins opening a local path or an address; returns at once. The medium
    /// open before is remembered and closed. A second open replaces one under
    /// way. A local playlist file (".m3u", ".m3u8", ".pls") becomes the list
    /// instead, and its first entry opens (OpenList).
    void Open(const std::string &path);
    /// Remembers and closes the medium, or cancels an open under way.
    void Close();
    /// Media is open (ready, playing, paused or stopped).
    bool HasMedium() const;
    /// An open is under way: nothing plays yet.
    bool Opening() const { return opening_; }
    /// The path or address open (or being opened); empty without one.
    const std::string &MediumPath() const { return path_; }
    /// The open medium is a file of a folder (not an address).
    bool HasFolder() const;
    /// The picture's own size; empty without a picture.
    QSize VideoSize() const { return videoSize_; }

    // ---- Transport
    PlayState State() const;
    /// Stopped plays from the start, paused runs, running pauses; a medium
    /// that played to its end plays again from the start.
    void PlayPause();
    /// Runs the medium where it stands, or from the start once it played to its end.
    void Play();
    void Pause();
    void Stop();
    /// Seconds; 0 without media.
    double Position() const;
    /// Seconds; 0 when unknown or without media.
    double Duration() const;
    /// Jumps to `seconds`: at once to the keyframe before, then exactly; the
    /// timelines follow.
    void SeekTo(double seconds);
    /// Follows a drag of a timeline to `percent` of the medium.
    void DragTo(int percent);
    /// Moves by `seconds` (negative: back), clamped to the medium.
    void SeekBy(double seconds);
    /// The start, the middle, or five seconds before the end (ID_JUMP_*).
    void Jump(int id);
    double Rate() const;
    /// Plays at `rate` (the bus).
    void SetRate(double rate);
    /// Sets the speed by the speed keys (ID_SPEED_*) or the menu's rates
    /// (ID_RATE_*) and says what it is.
    void StepSpeed(int id);
    /// The next or the previous picture, paused.
    void StepFrame(bool forward);
    /// The picture shown, in the owner's aspect mode: stretched or letter-boxed.
    void SetStretched(bool stretched);

    // ---- Sound
    /// The volume as the slider shows it, 0 to 100.
    int VolumePosition() const;
    /// Sets the volume from a slider position; heard at once unless muted.
    void SetVolumePosition(int position);
    bool Muted() const;
    void SetMuted(bool muted);

    // ---- Watching
    /// Opens the next (+1) or the previous (-1) medium: the list's by its
    /// order while the list plays (or when nothing is open and the list has
    /// entries), else the folder's; says so when there is none.
    void StepMedium(int direction);
    /// A step has somewhere to look: the list plays, or a file of a folder is open.
    bool CanStep() const;
    /// Opens the next (+1) or the previous (-1) media file of the folder;
    /// says so when there is none.
    void StepFolder(int direction);
    /// Marks A, marks B and loops, or clears, by the press.
    void PressAbRepeat();
    /// The A-B range as fractions of the medium; from >= to: none.
    std::pair<double, double> AbRange() const;
    /// The offer to go back to where the medium was left stands.
    bool ResumeOffered() const;
    /// Ends the offer: `accept` jumps to the place offered. False when no offer stood.
    bool TakeResumeOffer(bool accept);
    /// Saves the picture shown as PNG, with the caption as drawn.
    void SaveScreenshot();
    /// The recent media, newest first, with their records.
    std::vector<std::pair<std::string, std::optional<ResumeRecord>>> RecentMedia() const;
    /// Forgets the recent list and every record.
    void ForgetRecent();

    // ---- Captions
    /// Adds a caption file to the open medium; playback runs afterwards.
    void AddCaptionFile(const std::string &path);
    /// A caption file is part of the medium.
    bool HasCaptions() const;
    /// The caption now shown (empty text: none), with its markup while the
    /// caption-markup option is on.
    ShownCaption Caption() const;
    /// Turns the caption-markup option on or off, saves it at once and redraws.
    void SetCaptionMarkup(bool on);
    /// Turns "ASS 꾸밈 그대로" on or off, saves it at once and redraws: on,
    /// ASS and SSA are drawn as typeset; off, plainly in the caption style.
    void SetAssStyled(bool on);
    /// The captions shown are drawn typeset (an ASS or SSA track, with
    /// "ASS 꾸밈 그대로" on); Caption() is then empty.
    bool CaptionsTypeset() const;
    /// Draws the typeset captions at `frameMs` of the medium (the sync
    /// offset applied) over a picture of `size` device pixels into *layer;
    /// false when they look as they did at the last call. Nothing shows
    /// while the captions are hidden or plain.
    bool DrawTypeset(int64_t frameMs, const QSize &size, TypesetLayer *layer);
    /// Turns continuous play on or off and saves it at once.
    void SetContinuousPlay(bool on);
    /// Moves the captions by the sync keys (ID_CAPTION_*) and says by how much.
    void ShiftCaptions(int id);
    int64_t CaptionOffsetMs() const { return captionOffsetMs_; }
    /// The languages of the caption file; empty when there is nothing to choose.
    std::vector<SamiLanguage> CaptionLanguages() const;
    /// The language class shown.
    QString CaptionLanguageShown() const;
    /// Shows the `index`-th language, or every language at the index past the last.
    void ChooseCaptionLanguage(size_t index);
    /// Whether caption languages can be asked of the medium at all.
    bool CaptionLanguagesKnown() const;
    /// Reads the caption files again in `encoding` at once; it holds for the
    /// medium (and its resume record) as the language does.
    void ChooseCaptionEncoding(CaptionEncoding encoding);
    CaptionEncoding CaptionEncodingChosen() const { return captionEncoding_; }

    // ---- Tracks
    /// The sound tracks' names ("한국어 \"해설\" — AAC"), in the medium's order.
    std::vector<QString> AudioTracks() const;
    /// The sound track playing, from 0; -1 without one.
    int CurrentAudioTrack() const;
    /// Plays sound track `index` at once, from where the medium stands.
    void ChooseAudioTrack(int index);
    /// Plays the next sound track and says which (or that there is no other).
    void CycleAudioTrack();
    /// The embedded subtitle tracks' names, in the medium's order.
    std::vector<QString> SubtitleTracks() const;
    /// The file name of the caption file added to the medium; empty without one.
    QString CaptionFileName() const;
    /// What the captions show: a subtitle track from 0, kSubtitleFiles or kSubtitleNone.
    int SubtitleChoice() const;
    /// Shows subtitle track `choice`, the caption file or nothing, from the current time.
    void ChooseSubtitle(int choice);
    /// Shows the next subtitles in the round (each track, the caption file,
    /// nothing) and says which.
    void CycleSubtitle();
    // ---- The medium's sound sync, outputs, chapters and title (PlayerMedium.cpp)
    /// Moves the sound by the sync keys (ID_SOUND_*) and says where it stands;
    /// the delay holds for the medium and is kept in its record.
    void ShiftSound(int id);
    int64_t SoundDelayMs() const { return soundDelayMs_; }
    /// The sound outputs: the default ("기본 출력", id empty) first, then
    /// the system's (asked of the system at the first call).
    std::vector<SoundDevice> SoundOutputs();
    /// The output the sound plays on (empty: the default).
    const std::string &SoundOutputInUse() const { return soundOutputInUse_; }
    /// Moves the sound to output `id` at once and keeps the choice.
    void ChooseSoundOutput(const std::string &id);
    /// The container's title tag; empty without one.
    QString MediumTitle() const;
    /// The chapters that start within the medium, by start time.
    std::vector<ChapterMark> Chapters() const;
    /// The chapter playing, from 0; -1 before the first or without chapters.
    int ChapterPlaying() const;
    /// Plays from the start of chapter `index`.
    void GoToChapter(size_t index);
    /// The next (+1) or the previous (-1) chapter, as the keys go; says so at either end.
    void StepChapter(int direction);

    // ---- The playlist (PlayerPlaylist.cpp). It is kept beside the settings
    // between runs; changes are written a moment after they are made.
    const Playlist &List() const { return list_; }
    /// Adds before row `at` (the end when past it): files as they are,
    /// folders as their media files in natural order (subfolders in their
    /// place), playlist files as their entries. Durations are found after.
    void AddToList(const std::vector<std::string> &paths, size_t at = SIZE_MAX);
    /// Adds the media files of the open medium's folder at the end.
    void AddFolderToList();
    void RemoveFromList(const std::vector<size_t> &rows);
    /// Moves the entries at `rows` before the entry at `to` (see Playlist::Move).
    /// Returns the row of the first entry moved.
    size_t MoveInList(const std::vector<size_t> &rows, size_t to);
    void ClearList();
    /// Plays entry `row`.
    void PlayEntry(size_t row);
    /// Makes the entries of the playlist file `path` the list and plays the
    /// first; says so and changes nothing when it cannot be read or names none.
    bool OpenList(const std::string &path);
    /// Writes the list as the playlist file `path`, in the format its name says.
    bool SaveList(const std::string &path);
    const ListOrder &Order() const;
    /// Changes the order settings and saves them at once.
    void SetOrder(const ListOrder &order);

    // ---- The graph's filters
    std::vector<std::string> FilterNames() const;
    std::shared_ptr<FilterPages> FilterPagesOf(const std::string &name) const;

    /// Replaces where media were left and when (tests use short clips).
    void SetResumeRules(const ResumeRules &rules) { resumeRules_ = rules; }

    /// How long the resume offer stands.
    static constexpr int kResumeOfferMs = 5000;
    /// How long the word that an address stopped sending stands.
    static constexpr int kConnectionLostMs = 5000;
    /// How often a playing medium's position is written (what a crash loses at most).
    static constexpr int kResumeSaveMs = 30000;

signals:
    /// The medium opened is ready and playing.
    void opened();
    /// The medium could not be opened; `message` is what the user is told.
    void failed(const QString &message);
    /// The medium closed; nothing is open.
    void closed();
    /// Play, pause, stop, rate, volume or mute changed, whatever asked for it.
    void stateChanged();
    /// The position jumped: a seek, a jump, a drag of the timeline.
    void positionJumped();
    /// The timelines are to show `percent` (a jump, an open, a rewind; the
    /// timer only ever moves them forward).
    void timelineSet(int percent);
    /// Every 100 ms while media is open: time to show where it stands.
    void ticked();
    /// The medium's picture has a (new) size.
    void videoSizeChanged(QSize size);
    /// The caption shown changed (Caption()), or its look must be drawn anew.
    void captionChanged();
    /// A short message for the picture's corner; `durationMs` 0: the usual time.
    void message(const QString &text, int durationMs);
    /// The A-B range changed (AbRange()).
    void abRangeChanged();
    /// The medium's title or chapters became known after it opened.
    void mediumInfoChanged();
    /// The medium played to its end and repeat is off (it stands paused on
    /// its last picture unless the list's or the folder's next file opens).
    void ended();
    /// The list's entries or their order changed.
    void listChanged();
    /// Another entry of the list plays, or none.
    void listPlayingChanged();
    /// What the list knows of rows `first` to `last` (their durations) changed.
    void listRowsChanged(int first, int last);
    /// The list played through and its end is "종료": the program is to end.
    void quitRequested();

protected:
    bool event(QEvent *event) override;

private:
    void FinishOpen(HResult result);
    /// From the start, running (a stopped medium, or one that played to its end).
    void StartOver();
    void OnTick();
    void KeepTicking();
    void DrainEvents();
    void OnComplete();
    void OnCaption(const QString &raw);
    void ApplyCaptionState();
    void PushCaptionState();
    void ClearAbRepeat();
    void ReturnToA();
    void CheckAbRepeat();
    void RememberPosition();
    void RememberWhilePlaying();
    void OfferResume();
    bool PlayNextInFolder();
    /// At the end of a medium of the list: the next entry by the order, or
    /// what the end of the list does. True when something opens.
    bool PlayNextInList();
    void PlayStep(const ListStep &step);
    /// `paths` as the items they add (see AddToList).
    std::vector<PlaylistItem> ItemsOf(const std::vector<std::string> &paths) const;
    void LoadKeptList();
    /// Writes the list `delayMs` from now (or sooner, when a write is due
    /// sooner), once for a burst of changes.
    void KeepList(int delayMs);
    void SaveKeptList();
    void ProbeDurations(const std::vector<PlaylistItem> &items);
    void OnDuration(const std::string &path, int64_t durationMs);
    void ApplyVolume();
    void SetCaption(ShownCaption caption);
    void SaveOptions();
    /// Chooses the sound and subtitle tracks of a medium just opened.
    void ChooseTracksAtOpen();
    /// The name of subtitle choice `choice`, as the messages and the menu show it.
    QString SubtitleName(int choice) const;
    /// A new medium starts with the sound in sync; the same one keeps its delay.
    void ApplySoundState();
    void PushSoundDelay();
    /// Puts the sound on the output chosen once the outputs are known.
    void ApplySoundOutput();
    void OnSoundOutputsChanged();
    HResult PlaySoundOn(const std::string &id);
    ResumeStore Resume() const;

    std::unique_ptr<MediaGraph> ownGraph_; ///< null when the graph is lent
    MediaGraph &graph_;
    PlayerSettings &settings_;
    const SubtitleStyle &look_;
    QObject *pictureOwner_ = nullptr;
    QTimer ticker_;
    std::string path_;
    bool opening_ = false;
    /// Played to its end without repeat: paused on the last picture until a
    /// seek moves it; play then starts it over.
    bool atEnd_ = false;
    uint64_t openSerial_ = 0; ///< tells a finished open from one replaced since
    QSize videoSize_;
    ShownCaption caption_;
    const TypesetTrack *typesetDrawn_ = nullptr; ///< the typeset track drawn last; compared, never followed
    int64_t captionOffsetMs_ = 0;   ///< the sync keys' offset, for captionStatePath_
    QString captionLanguage_;       ///< the language chosen; empty: the file's own
    CaptionEncoding captionEncoding_ = CaptionEncoding::Auto; ///< the encoding chosen
    std::string captionStatePath_;  ///< the medium the three above belong to
    std::string captionFile_;       ///< the caption file added to the medium last; empty: none
    int64_t soundDelayMs_ = 0;      ///< the sound sync keys' delay, for soundStatePath_
    std::string soundStatePath_;    ///< the medium the delay belongs to
    std::string soundOutputInUse_;  ///< the output the sound plays on; empty: the default
    bool watchingOutputs_ = false;  ///< told when an output comes or goes
    AbRepeat abRepeat_;
    int64_t abLastTickMs_ = 0;      ///< the position at the A-B loop's last tick
    ResumeRules resumeRules_;
    std::optional<int64_t> resumeOfferMs_;
    QElapsedTimer resumeOfferClock_;
    QElapsedTimer resumeSaveClock_;
    Playlist list_;
    std::mt19937 random_{std::random_device{}()};
    QTimer listSave_;              ///< the pending write of the kept list
    bool pauseWhenOpened_ = false; ///< the list came round to its start: the entry stands ready
    bool probing_ = false;         ///< the probe's answers come here
};

} // namespace velmo

// The main window's memory of media: where each was left, with its caption
// offset, caption language and sound stream, offered again when it is
// reopened; and the list of media opened last.

#include "app/MainWindow.h"

#include "engine/MediaGraph.h"
#include "resources/CommandIds.h"
#include "resources/CommandTable.h"
#include "screen/VideoScreen.h"
#include "subtitles/SubtitleStyle.h"
#include "text/ClockText.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <cmath>

namespace velmo {

ResumeStore MainWindow::Resume() const
{
    return ResumeStore(ResumeStore::FolderBeside(style_.settingsFile.fileName()));
}

void MainWindow::RememberPosition()
{
    if (!mediaGraph_.graph || !mediaGraph_.position)
        return;
    double position = 0.0;
    double duration = 0.0;
    if (Failed(mediaGraph_.position->get_Duration(&duration))
        || Failed(mediaGraph_.position->get_CurrentPosition(&position)))
        return;
    const std::string &medium = mediaGraph_.mediaPath;
    switch (ActionOnLeave(position, duration, resumeRules_)) {
    case ResumeAction::Keep:
        return;
    case ResumeAction::Forget:
        Resume().Forget(medium);
        return;
    case ResumeAction::Remember:
        break;
    }
    ResumeRecord record;
    record.positionMs = std::llround(position * 1000.0);
    record.durationMs = std::llround(duration * 1000.0);
    record.captionOffsetMs = mediaGraph_.captions ? mediaGraph_.captions->CaptionOffset() : captionOffsetMs_;
    record.captionLanguage = captionLanguage_;
    record.audioStream = mediaGraph_.audioStreams ? mediaGraph_.audioStreams->CurrentAudioStream() : -1;
    Resume().Save(medium, record);
    resumeSaveClock_.start();
}

void MainWindow::RememberWhilePlaying()
{
    int32_t state = State_Stopped;
    if (!mediaGraph_.control || Failed(mediaGraph_.control->GetState(0, &state)) || state != State_Running)
        return;
    if (!resumeSaveClock_.isValid()) {
        resumeSaveClock_.start(); // the first period starts with playback
        return;
    }
    if (resumeSaveClock_.elapsed() >= kResumeSaveMs)
        RememberPosition();
}

void MainWindow::OnMediaOpened()
{
    // The title bar's exit ends the program without the exit command.
    connect(qApp, &QCoreApplication::aboutToQuit, this, &MainWindow::RememberPosition, Qt::UniqueConnection);
    EndResumeOffer();
    resumeSaveClock_.start();
    ResumeStore store = Resume();
    RecentFiles recent = store.LoadRecent();
    recent.Add(ResumeStore::MediumName(mediaGraph_.mediaPath));
    store.SaveRecent(recent);

    const std::optional<ResumeRecord> record = store.Load(mediaGraph_.mediaPath);
    if (!record)
        return;
    captionOffsetMs_ = record->captionOffsetMs;
    captionLanguage_ = record->captionLanguage;
    if (mediaGraph_.captions) {
        mediaGraph_.captions->SetCaptionOffset(captionOffsetMs_);
        if (!captionLanguage_.isEmpty())
            mediaGraph_.captions->SetCaptionLanguage(captionLanguage_);
    }
    if (mediaGraph_.audioStreams && record->audioStream >= 0)
        mediaGraph_.audioStreams->SetCurrentAudioStream(record->audioStream);
    if (record->positionMs <= 0)
        return; // nothing to go back to
    resumeOfferMs_ = record->positionMs;
    resumeOfferClock_.start();
    if (videoScreen_)
        videoScreen_->ShowMessage(ResumeOfferText(record->positionMs), kResumeOfferMs);
}

bool MainWindow::TakeResumeCommand(int id)
{
    if (!resumeOfferMs_)
        return false;
    const int64_t offered = *resumeOfferMs_;
    const bool standing = resumeOfferClock_.elapsed() < kResumeOfferMs;
    // Whatever the command, the offer is over: it is taken now or never.
    resumeOfferMs_.reset();
    if (!standing)
        return false;
    if (videoScreen_)
        videoScreen_->ShowMessage(QString());
    if (id != ID_FULL_SCREEN || !mediaGraph_.position)
        return false;
    mediaGraph_.position->put_CurrentPosition(double(offered) / 1000.0);
    return true;
}

void MainWindow::EndResumeOffer()
{
    if (resumeOfferMs_ && videoScreen_ && resumeOfferClock_.elapsed() < kResumeOfferMs)
        videoScreen_->ShowMessage(QString());
    resumeOfferMs_.reset();
}

void MainWindow::OnRecentFile(int id)
{
    const RecentFiles recent = Resume().LoadRecent();
    const size_t index = size_t(id - ID_RECENT_FIRST);
    if (index >= recent.Entries().size())
        return;
    // A medium that is gone stays listed: its open shows the codec message.
    OpenMedia(recent.Entries()[index]);
}

void MainWindow::OnRecentClear()
{
    EndResumeOffer();
    Resume().Clear();
}

namespace {

// The name a medium is listed by: a file's name, an address as it stands.
QString ListedName(const std::string &medium)
{
    const QString name = QFile::decodeName(QByteArray::fromStdString(medium));
    if (medium.front() != '/')
        return name;
    return QFileInfo(name).fileName();
}

} // namespace

QMenu &MainWindow::AddRecentMenu(QMenu &parent, const char *title)
{
    QMenu *menu = parent.addMenu(QString::fromUtf8(title));
    const ResumeStore store = Resume();
    const RecentFiles recent = store.LoadRecent();
    for (size_t i = 0; i < recent.Entries().size(); ++i) {
        const std::string &medium = recent.Entries()[i];
        QString label = ListedName(medium).replace(QLatin1Char('&'), QStringLiteral("&&"));
        if (const std::optional<ResumeRecord> record = store.Load(medium))
            label += QStringLiteral("    ") + ClockText(record->positionMs);
        menu->addAction(label)->setData(ID_RECENT_FIRST + int(i));
    }
    if (!recent.Entries().empty())
        menu->addSeparator();
    return *menu;
}

} // namespace velmo

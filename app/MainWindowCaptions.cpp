// The main window's caption commands of our own: the caption offset and the
// language of a caption file that holds several.

#include "app/MainWindow.h"

#include "app/CaptionSync.h"
#include "engine/MediaGraph.h"
#include "resources/CommandIds.h"
#include "screen/VideoScreen.h"

#include <QMenu>

namespace velmo {

void MainWindow::ApplyCaptionState()
{
    // Both hold for one medium: another one starts without them.
    if (captionStatePath_ != mediaGraph_.mediaPath) {
        captionStatePath_ = mediaGraph_.mediaPath;
        captionOffsetMs_ = 0;
        captionLanguage_.clear();
    }
    if (!mediaGraph_.captions)
        return;
    mediaGraph_.captions->SetCaptionOffset(captionOffsetMs_);
    if (!captionLanguage_.isEmpty())
        mediaGraph_.captions->SetCaptionLanguage(captionLanguage_);
}

void MainWindow::OnCaptionSync(int id)
{
    if (!mediaGraph_.graph)
        return;
    captionOffsetMs_ = CaptionOffsetAfter(id, captionOffsetMs_);
    if (mediaGraph_.captions)
        mediaGraph_.captions->SetCaptionOffset(captionOffsetMs_);
    if (videoScreen_)
        videoScreen_->ShowMessage(CaptionSyncMessage(captionOffsetMs_));
}

void MainWindow::OnCaptionLanguage(int id)
{
    if (!mediaGraph_.captions)
        return;
    const std::vector<SamiLanguage> languages = mediaGraph_.captions->CaptionLanguages();
    const size_t chosen = size_t(id - ID_CAPTION_LANGUAGE_FIRST);
    if (languages.size() < 2 || chosen > languages.size())
        return;
    captionLanguage_ = chosen < languages.size() ? languages[chosen].className : QString(kEverySamiLanguage);
    mediaGraph_.captions->SetCaptionLanguage(captionLanguage_);
}

void MainWindow::AddLanguageMenu(QMenu &parent, const char *title)
{
    QMenu *menu = parent.addMenu(QString::fromUtf8(title));
    const std::vector<SamiLanguage> languages =
        mediaGraph_.captions ? mediaGraph_.captions->CaptionLanguages() : std::vector<SamiLanguage>();
    if (languages.size() < 2) {
        // One language, or none to choose from: nothing to pick.
        const QString only = languages.empty() ? QStringLiteral("기본") : languages.front().title;
        menu->addAction(only)->setEnabled(false);
        menu->setEnabled(mediaGraph_.captions != nullptr);
        return;
    }
    const QString shown = mediaGraph_.captions->CaptionLanguageShown();
    const auto add = [&](const QString &text, const QString &className, int index) {
        QAction *action = menu->addAction(QString(text).replace(QLatin1Char('&'), QStringLiteral("&&")));
        action->setData(ID_CAPTION_LANGUAGE_FIRST + index);
        action->setCheckable(true);
        action->setChecked(shown.compare(className, Qt::CaseInsensitive) == 0);
    };
    for (size_t i = 0; i < languages.size(); ++i)
        add(languages[i].title, languages[i].className, int(i));
    add(QStringLiteral("둘 다"), QString::fromLatin1(kEverySamiLanguage), int(languages.size()));
}

} // namespace velmo

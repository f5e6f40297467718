// The main window's switch for the looks a caption file carries.

#include "app/MainWindow.h"

#include "engine/MediaGraph.h"
#include "screen/VideoScreen.h"
#include "subtitles/SubtitleStyle.h"

namespace velmo {

void MainWindow::OnCaptionMarkup()
{
    style_.captionMarkup = !style_.captionMarkup;
    style_.SaveOptions();
    // The caption now showing changes its look at once, not at the next one.
    if (mediaGraph_.subtitleLoaded && style_.subtitleVisible && videoScreen_)
        videoScreen_->DrawSubtitle(style_);
}

} // namespace velmo

// The session's open: starting the playbin on a medium, and ending the open
// from the bus and timers once the first data arrives, an error comes, or the
// medium is given up on. Nothing here waits: the program runs meanwhile.

#include "engine/PlaybinSession.h"

#include "engine/GstSupport.h"

#include <QCoreApplication>
#include <QLoggingCategory>

#include <utility>

namespace velmo {

Q_DECLARE_LOGGING_CATEGORY(lcGst)

namespace {
// A local file that nothing has read for this long, with no stream shown, is
// given up on; slow but working files (an index being rebuilt) keep reading.
constexpr int kLocalStallMs = 3000;
} // namespace

HResult PlaybinSession::Begin(const std::string &uri)
{
    if (load_ != Load::Empty)
        return VFW_E_WRONG_STATE;
    if (uri.empty())
        return VFW_E_NOT_FOUND;
    Start(uri);
    return S_OK;
}

void PlaybinSession::Start(const std::string &uri)
{
    g_object_set(pipeline_.get(), "uri", uri.c_str(), nullptr);
    desiredState_ = State_Paused;
    load_ = Load::Prerolling;
    openError_ = S_OK;
    startedUri_ = uri;
    local_ = uri.compare(0, 5, "file:") == 0;
    ended_ = false;
    resumeAtNs_.reset();
    startReturn_ = gst_element_set_state(pipeline_.get(), GST_STATE_PAUSED);
}

HResult PlaybinSession::Render(const std::string &uri, Opened done)
{
    Q_ASSERT(OnUiThread());
    Q_ASSERT(done);
    // A medium begun with Begin goes on where it stands.
    const bool begun = (load_ == Load::Prerolling || load_ == Load::Prerolled) && !uri.empty() && uri == startedUri_;
    if (opened_ || (!begun && load_ != Load::Empty))
        return VFW_E_WRONG_STATE;
    if (uri.empty())
        return VFW_E_NOT_FOUND;
    if (!begun)
        Start(uri);
    opened_ = std::move(done);
    const GstStateChangeReturn ret = ResolveStart();
    if (ret == GST_STATE_CHANGE_FAILURE) {
        // The reason was posted on the bus already: take it now.
        QCoreApplication::sendPostedEvents(bridge_.get(), QEvent::MetaCall);
        openError_ = Failed(openError_) ? openError_ : VFW_E_NOT_FOUND;
    } else if (ret == GST_STATE_CHANGE_SUCCESS && !live_) {
        load_ = Load::Prerolled;
    }
    if (load_ == Load::Prerolling && !Failed(openError_))
        WatchPreroll();
    else
        EndOpenSoon();
    return S_OK;
}

// A live source makes nothing while paused, and its answer says nothing about
// whether it will: play it, and let its first data reaching the outputs (or
// an error, or the watch) decide.
GstStateChangeReturn PlaybinSession::ResolveStart()
{
    if (startReturn_ != GST_STATE_CHANGE_NO_PREROLL)
        return startReturn_;
    live_ = true;
    return gst_element_set_state(pipeline_.get(), GST_STATE_PLAYING);
}

// The type finder takes some stray bytes for lyrics or subtitles, which
// preroll with nothing to play: such a medium is as unplayable as any other.
HResult PlaybinSession::CheckStreams(const std::string &uri)
{
    if (StreamCount() > 0)
        return S_OK;
    qCWarning(lcGst, "%s holds neither sound nor picture", uri.c_str());
    return VFW_E_UNSUPPORTED_STREAM;
}

int PlaybinSession::StreamCount() const
{
    gint videos = 0;
    gint audios = 0;
    g_object_get(pipeline_.get(), "n-video", &videos, "n-audio", &audios, nullptr);
    return videos + audios;
}

void PlaybinSession::WatchPreroll()
{
    // A local file is read as fast as the demuxer asks. One no longer read
    // before any stream showed will never play: its demuxer gave up, and the
    // error saying so is lost when the demuxer posts it while it is still
    // being set up (decodebin drops errors of elements it is trying out).
    if (local_)
        openWatch_.WatchProgress([this] { return sourceReads_.load(std::memory_order_relaxed); },
                                 [this] { return StreamCount() == 0; }, kLocalStallMs);
    else
        openWatch_.WatchProgress(nullptr, nullptr, 0);
    openWatch_.Start([this](MediumWatch::End why) { GiveUpOpen(why); });
}

void PlaybinSession::GiveUpOpen(MediumWatch::End why)
{
    // What arrived meanwhile ends the open already.
    if (load_ != Load::Prerolling || Failed(openError_))
        return;
    if (why == MediumWatch::End::Stalled) {
        qCWarning(lcGst, "%s is no longer read and shows no stream", startedUri_.c_str());
        openError_ = VFW_E_UNSUPPORTED_STREAM;
    } else {
        qCWarning(lcGst, "%s delivered nothing within %d ms", startedUri_.c_str(), openTimeoutMs_);
        openError_ = VFW_E_TIMEOUT;
    }
    EndOpenSoon();
}

void PlaybinSession::EndOpen()
{
    if (!opened_)
        return;
    openWatch_.Stop();
    HResult result = openError_;
    if (!Failed(result))
        result = CheckStreams(startedUri_);
    if (Failed(result)) {
        gst_element_set_state(pipeline_.get(), GST_STATE_NULL);
        desiredState_ = State_Stopped;
        load_ = Load::Empty;
        live_ = false;
    } else {
        load_ = Load::Loaded;
        if (!local_)
            stallTimer_.start();
    }
    // The one told may destroy the session: nothing is touched after telling.
    Opened done = std::exchange(opened_, nullptr);
    done(result);
}

} // namespace velmo

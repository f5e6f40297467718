#include "screen/PictureWindow.h"

#include "engine/PictureLayout.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <xcb/shm.h>
#include <xcb/xcb.h>

#include <fcntl.h>
#include <sys/socket.h>

#include <cstdlib>
#include <memory>

namespace velmo {

namespace {

/// How long a put may go unanswered before the server is taken to have
/// dropped it (its window went away with it): the next frame is put anyway.
constexpr qint64 kLostPutMs = 250;

/// A reply or error from the server, which the caller frees with free().
struct FreeReply {
    void operator()(void *reply) const { std::free(reply); }
};
template <typename T>
using XcbReply = std::unique_ptr<T, FreeReply>;

xcb_connection_t *X11Connection()
{
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

/// Whether the connection can carry file descriptors: only a local socket
/// can, and sending one over anything else would close the connection.
bool CarriesDescriptors(xcb_connection_t *connection)
{
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    return getsockname(xcb_get_file_descriptor(connection), reinterpret_cast<sockaddr *>(&address), &length) == 0 &&
           address.ss_family == AF_UNIX;
}

/// The server's event code for a finished put, or 0 when it cannot map our memory files.
uint8_t CompletionEvent(xcb_connection_t *connection)
{
    if (!CarriesDescriptors(connection))
        return 0;
    const xcb_query_extension_reply_t *shm = xcb_get_extension_data(connection, &xcb_shm_id);
    if (!shm || !shm->present)
        return 0;
    const XcbReply<xcb_shm_query_version_reply_t> version(
        xcb_shm_query_version_reply(connection, xcb_shm_query_version(connection), nullptr));
    if (!version)
        return 0;
    // Memory files came with version 1.2.
    const bool files = version->major_version > 1 || (version->major_version == 1 && version->minor_version >= 2);
    return files ? uint8_t(shm->first_event + XCB_SHM_COMPLETION) : 0;
}

int Depth(xcb_connection_t *connection, uint32_t window)
{
    const XcbReply<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr));
    return geometry ? geometry->depth : 0;
}

} // namespace

PictureWindow *PictureWindow::Create(QWidget *parent, std::function<void()> refused)
{
    if (qEnvironmentVariableIsSet("VELMO_PAINTED_PICTURE") || QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    xcb_connection_t *connection = X11Connection();
    const uint8_t completion = connection ? CompletionEvent(connection) : 0;
    if (!completion)
        return nullptr;
    auto *window = new PictureWindow(parent, connection, completion, std::move(refused));
    // Our pixels are 32-bit BGRx: the window must take them as 24-bit colour.
    if (Depth(connection, uint32_t(window->winId())) != 24) {
        delete window;
        return nullptr;
    }
    return window;
}

PictureWindow::PictureWindow(QWidget *parent, xcb_connection_t *connection, uint8_t completionEvent,
                             std::function<void()> refused)
    : QWidget(parent), connection_(connection), completionEvent_(completionEvent), onRefused_(std::move(refused))
{
    // The server draws every pixel; Qt neither paints nor clears here.
    setAttribute(Qt::WA_NativeWindow);
    setAttribute(Qt::WA_PaintOnScreen);
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
    hide();
    QCoreApplication::instance()->installNativeEventFilter(this);
}

PictureWindow::~PictureWindow()
{
    QCoreApplication::instance()->removeNativeEventFilter(this);
    if (gc_)
        xcb_free_gc(connection_, gc_);
}

void PictureWindow::ShowFrame(const VideoFrame &frame)
{
    if (refused_)
        return;
    if (frame.picture.isEmpty()) {
        ClearFrame();
        return;
    }
    frame_ = frame;
    if (geometry() != frame.picture)
        setGeometry(frame.picture);
    if (isHidden())
        show();
    Put();
}

void PictureWindow::SetCaption(const QImage &layer, const QRect &pixels, bool putNow)
{
    caption_ = layer;
    captionRect_ = pixels;
    if (putNow && !frame_.image.isNull() && !isHidden())
        Put();
}

void PictureWindow::ClearFrame()
{
    hide();
    frame_ = VideoFrame();
    putWaiting_ = false;
}

void PictureWindow::paintEvent(QPaintEvent *)
{
    Put();
}

void PictureWindow::Put()
{
    if (inFlight_ && inFlightSince_.elapsed() < kLostPutMs) {
        putWaiting_ = true;
        return;
    }
    inFlight_.reset();
    putWaiting_ = false;
    PutNow();
}

bool PictureWindow::EnsureTarget()
{
    const auto window = uint32_t(winId());
    if (window == 0)
        return false;
    if (window != target_) {
        if (gc_)
            xcb_free_gc(connection_, gc_);
        gc_ = xcb_generate_id(connection_);
        const uint32_t noExposures = 0;
        xcb_create_gc(connection_, gc_, window, XCB_GC_GRAPHICS_EXPOSURES, &noExposures);
        target_ = window;
        inFlight_.reset();
    }
    return true;
}

uint32_t PictureWindow::Segment(PixelBlock &block)
{
    if (block.segment)
        return block.segment;
    // The request takes the descriptor it is given; the block keeps its own.
    const int fd = fcntl(block.Fd(), F_DUPFD_CLOEXEC, 0);
    if (fd < 0)
        return 0;
    const uint32_t segment = xcb_generate_id(connection_);
    const XcbReply<xcb_generic_error_t> error(
        xcb_request_check(connection_, xcb_shm_attach_fd_checked(connection_, segment, fd, /*read_only*/ 1)));
    if (error)
        return 0;
    block.segment = segment;
    // Blocks go on whichever thread drops them last; the server is told on the UI thread.
    block.forget = [](uint32_t segment) {
        if (QCoreApplication *app = QCoreApplication::instance())
            QMetaObject::invokeMethod(
                app,
                [segment] {
                    if (xcb_connection_t *connection = X11Connection()) {
                        xcb_shm_detach(connection, segment);
                        xcb_flush(connection);
                    }
                },
                Qt::QueuedConnection);
    };
    return segment;
}

// A whole picture is composed only while the window and the picture differ
// in size (a resize under way): the scratch is fitted to what the put needs,
// so that a caption's strip does not keep a whole picture's memory.
PixelBlock *PictureWindow::Scratch(size_t bytes)
{
    if (!scratch_ || scratch_->Bytes() < bytes || scratch_->Bytes() / 2 > bytes)
        scratch_ = PixelBlock::Allocate(bytes);
    return scratch_.get();
}

uint32_t PictureWindow::Compose(const QRect &composed, const QRect &caption, const QSize &window)
{
    const int stride = composed.width() * 4;
    PixelBlock *scratch = Scratch(size_t(stride) * size_t(composed.height()));
    const uint32_t segment = scratch ? Segment(*scratch) : 0;
    if (!segment)
        return 0;
    QImage canvas(scratch->Data(), composed.width(), composed.height(), stride, QImage::Format_RGB32);
    QPainter painter(&canvas);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    if (frame_.image.size() == window)
        painter.drawImage(QPoint(0, 0), frame_.image, composed);
    else
        painter.drawImage(QRect(-composed.topLeft(), window), frame_.image);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    if (!caption_.isNull())
        painter.drawImage(caption.topLeft() - composed.topLeft(), caption_);
    return segment;
}

void PictureWindow::PutNow()
{
    if (refused_ || frame_.image.isNull() || isHidden() || !EnsureTarget())
        return;
    // The server works in the native window's pixels: the parent's coordinates
    // times the ratio, rounded as Qt places the native window.
    const qreal ratio = devicePixelRatioF();
    const QSize window = size() * ratio;
    const QRect caption = caption_.isNull() ? QRect() : captionRect_.translated(-(frame_.picture.topLeft() * ratio));
    PicturePieces pieces = PlanPicturePieces(window, frame_.image.size(), caption);
    const uint32_t frameSegment = pieces.direct.empty() || !frame_.pixels ? 0 : Segment(*frame_.pixels);
    if (!pieces.direct.empty() && !frameSegment) {
        // The frame's memory is not the server's to read: it goes through the composed picture.
        pieces.direct.clear();
        pieces.composed = QRect(QPoint(0, 0), window);
    }

    uint32_t composedSegment = 0;
    const QRect composed = pieces.composed;
    if (composed.isEmpty())
        scratch_.reset(); // a put the server has yet to read keeps its memory mapped there
    if (!composed.isEmpty()) {
        composedSegment = Compose(composed, caption, window);
        if (!composedSegment) {
            // Not even a picture of our own reaches the server: painting is
            // the only way left to show anything.
            refused_ = true;
            frame_ = {};
            hide();
            onRefused_();
            return;
        }
    }

    // Only the last piece asks for word that the server is done: it reads in order.
    const int frameWidth = frame_.image.bytesPerLine() / 4;
    const auto frameOffset = frameSegment ? uint32_t(frame_.image.constBits() - frame_.pixels->Data()) : 0u;
    for (size_t i = 0; i < pieces.direct.size(); ++i) {
        const QRect &r = pieces.direct[i];
        const bool last = composed.isEmpty() && i + 1 == pieces.direct.size();
        xcb_shm_put_image(connection_, target_, gc_, uint16_t(frameWidth), uint16_t(frame_.image.height()),
                          int16_t(r.x()), int16_t(r.y()), uint16_t(r.width()), uint16_t(r.height()), int16_t(r.x()),
                          int16_t(r.y()), 24, XCB_IMAGE_FORMAT_Z_PIXMAP, last, frameSegment, frameOffset);
    }
    if (!composed.isEmpty())
        xcb_shm_put_image(connection_, target_, gc_, uint16_t(composed.width()), uint16_t(composed.height()), 0, 0,
                          uint16_t(composed.width()), uint16_t(composed.height()), int16_t(composed.x()),
                          int16_t(composed.y()), 24, XCB_IMAGE_FORMAT_Z_PIXMAP, 1, composedSegment, 0);
    xcb_flush(connection_);
    inFlight_ = frame_;
    inFlightSince_.start();
}

bool PictureWindow::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    if ((event->response_type & 0x7f) != completionEvent_)
        return false;
    const auto *done = reinterpret_cast<const xcb_shm_completion_event_t *>(event);
    if (done->drawable != target_ || !inFlight_)
        return false;
    inFlight_.reset();
    ++framesDone_;
    if (putWaiting_) {
        putWaiting_ = false;
        PutNow();
    }
    return true;
}

bool PictureWindow::event(QEvent *event)
{
    QWidget *parent = parentWidget();
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: {
        if (!parent)
            break;
        const auto *mouse = static_cast<const QMouseEvent *>(event);
        QMouseEvent copy(mouse->type(), mapToParent(mouse->position()), mouse->scenePosition(),
                         mouse->globalPosition(), mouse->button(), mouse->buttons(), mouse->modifiers(),
                         mouse->pointingDevice());
        QCoreApplication::sendEvent(parent, &copy);
        return true;
    }
    case QEvent::Wheel: {
        if (!parent)
            break;
        const auto *wheel = static_cast<const QWheelEvent *>(event);
        QWheelEvent copy(mapToParent(wheel->position()), wheel->globalPosition(), wheel->pixelDelta(),
                         wheel->angleDelta(), wheel->buttons(), wheel->modifiers(), wheel->phase(), wheel->inverted(),
                         wheel->source(), wheel->pointingDevice());
        QCoreApplication::sendEvent(parent, &copy);
        return true;
    }
    default:
        break;
    }
    return QWidget::event(event);
}

} // namespace velmo

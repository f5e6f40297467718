#include "engine/MediumWait.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QTimer>

namespace velmo {

namespace {

constexpr int kWatchIntervalMs = 250;

/// Drops the window system's keys, clicks and pointer moves while it is installed.
class InputDropper : public QObject {
protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
            return event->spontaneous();
        default:
            return false;
        }
    }
};

} // namespace

void MediumWait::WatchProgress(std::function<uint64_t()> progress, std::function<bool()> stuck, int stallMs)
{
    progress_ = std::move(progress);
    stuck_ = std::move(stuck);
    stallMs_ = stallMs;
}

MediumWait::End MediumWait::Run()
{
    QEventLoop loop;
    loop_ = &loop;
    end_ = End::Abandoned;

    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, [&] {
        end_ = End::Deadline;
        loop.quit();
    });
    deadline.start(deadlineMs_);

    QTimer watch;
    QElapsedTimer still;
    uint64_t last = 0;
    if (progress_) {
        last = progress_();
        still.start();
        QObject::connect(&watch, &QTimer::timeout, &loop, [&] {
            const uint64_t now = progress_();
            if (now != last) {
                last = now;
                still.restart();
            } else if (still.elapsed() >= stallMs_ && stuck_()) {
                end_ = End::Stalled;
                loop.quit();
            }
        });
        watch.start(kWatchIntervalMs);
    }

    InputDropper dropper;
    QCoreApplication::instance()->installEventFilter(&dropper);
    loop.exec();
    loop_ = nullptr;
    return end_;
}

void MediumWait::Finish()
{
    if (!loop_)
        return;
    end_ = End::Finished;
    loop_->quit();
}

} // namespace velmo

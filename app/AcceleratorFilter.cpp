#include "app/AcceleratorFilter.h"

#include "app/CommandTable.h"

#include <QApplication>
#include <QKeyEvent>

namespace velmo {

AcceleratorFilter::AcceleratorFilter(QWidget *window, Dispatch dispatch)
    : QObject(window), window_(window), dispatch_(std::move(dispatch))
{
    qApp->installEventFilter(this);
}

AcceleratorFilter::~AcceleratorFilter()
{
    qApp->removeEventFilter(this);
}

bool AcceleratorFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || !window_)
        return false;
    // Key events also pass through the window system's window object first; act once, on the widget.
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget || widget->window() != window_ || QApplication::activeModalWidget())
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    const int id = AcceleratorCommand(key->key(), key->modifiers());
    if (id == 0)
        return false;
    dispatch_(id);
    return true;
}

} // namespace velmo

#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>

namespace velmo {

/// Accelerator table 136 for the whole application: a key press of the table
/// meant for any widget of `window` (the window itself, its panels, its video
/// screen) is dispatched as the command and goes no further; other keys reach
/// the focused widget. While a modal dialog is open the filter stands aside,
/// so the dialog gets its own keys.
class AcceleratorFilter : public QObject {
    Q_OBJECT
public:
    using Dispatch = std::function<void(int commandId)>;

    /// Installs itself on the application; removed when destroyed.
    AcceleratorFilter(QWidget *window, Dispatch dispatch);
    ~AcceleratorFilter() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPointer<QWidget> window_;
    Dispatch dispatch_;
};

} // namespace velmo

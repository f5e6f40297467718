#pragma once

#include <QDialog>

namespace velmo {

/// The about box: the program icon, its name and version, and "확인".
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget *parent = nullptr);
};

} // namespace velmo

#include "app/MessageBox.h"

#include <QMessageBox>
#include <QWidget>

namespace velmo {

namespace {
MessageBoxCapture *g_capture = nullptr;

QMessageBox::StandardButtons ButtonsFor(int type)
{
    switch (type & 0xF) {
    case MB_OKCANCEL: return QMessageBox::Ok | QMessageBox::Cancel;
    case MB_YESNO: return QMessageBox::Yes | QMessageBox::No;
    default: return QMessageBox::Ok;
    }
}

int ResultFor(int button)
{
    switch (button) {
    case QMessageBox::Cancel: return IDCANCEL;
    case QMessageBox::Yes: return IDYES;
    case QMessageBox::No: return IDNO;
    default: return IDOK;
    }
}
} // namespace

int ShowMessageBox(QWidget *parent, const QString &text, const QString &caption, int type)
{
    const QString title = caption.isEmpty() ? QString::fromUtf8(kProgramTitle) : caption;
    if (g_capture) {
        g_capture->messages.push_back({parent, text, title, type});
        return g_capture->answer;
    }
    QMessageBox box(QMessageBox::NoIcon, title, text, ButtonsFor(type), parent);
    return ResultFor(box.exec());
}

MessageBoxCapture::MessageBoxCapture(int answer) : answer(answer), previous_(g_capture)
{
    g_capture = this;
}

MessageBoxCapture::~MessageBoxCapture()
{
    g_capture = previous_;
}

} // namespace velmo

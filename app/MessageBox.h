#pragma once

#include <QString>

#include <functional>
#include <vector>

class QWidget;

namespace velmo {

/// Button sets and results of ShowMessageBox (the platform's numbering).
inline constexpr int MB_OK = 0x0;
inline constexpr int MB_OKCANCEL = 0x1;
inline constexpr int MB_YESNO = 0x4;
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

/// The program's name as its windows show it.
inline constexpr char kProgramTitle[] = "벨모";

/// The one way the player shows a message: a modal box with `text`, titled
/// `caption` (kProgramTitle when empty), with the buttons of `type`.
/// Returns the button pressed (IDOK, ...). While a capture is installed the
/// box is not shown: the capture records it and answers instead.
int ShowMessageBox(QWidget *parent, const QString &text, const QString &caption = {}, int type = MB_OK);

/// One message that a capture took instead of showing it.
struct CapturedMessage {
    QWidget *parent = nullptr;
    QString text;
    QString caption; ///< the title as it would be shown
    int type = MB_OK;
};

/// For tests: while it lives, ShowMessageBox's messages are recorded here,
/// and ShowMessageBox returns `answer` without showing anything. Captures
/// nest; the newest wins.
class MessageBoxCapture {
public:
    explicit MessageBoxCapture(int answer = IDOK);
    ~MessageBoxCapture();
    MessageBoxCapture(const MessageBoxCapture &) = delete;
    MessageBoxCapture &operator=(const MessageBoxCapture &) = delete;

    std::vector<CapturedMessage> messages; ///< in the order shown
    int answer;                            ///< what ShowMessageBox returns

private:
    MessageBoxCapture *previous_;
};

} // namespace velmo

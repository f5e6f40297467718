#pragma once

#include <QDialog>

#include <string>

class QLineEdit;

namespace velmo {

/// The open-address dialog: the user types the address of a media file. The
/// dialog checks nothing; OK keeps the text exactly as typed.
class OpenUrlDialog : public QDialog {
    Q_OBJECT
public:
    /// Builds the dialog from its template; `address` starts empty.
    explicit OpenUrlDialog(QWidget *parent = nullptr);

    /// The address field's text when the dialog ended with OK (UTF-8, untrimmed).
    std::string address;

    /// The address field.
    QLineEdit *addressEdit() const { return addressEdit_; }

    /// The dialog's commands: its close button and ID_CLOSE_MEDIA cancel it.
    void OnCommand(int id);

    /// Copies the field into `address`, then ends the dialog as accepted.
    void accept() override;

private:
    QLineEdit *addressEdit_ = nullptr;
};

} // namespace velmo

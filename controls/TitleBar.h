#pragma once

#include "resources/DialogTemplates.h"
#include "skin/SkinSet.h"

#include <QWidget>

namespace velmo {

class BitmapButton;

/// The caption of the borderless window: the program icon, the title picture
/// and the minimise, maximise and close buttons on the skin's title
/// background. The icon asks for the exit command, maximise for full screen,
/// minimise minimises the top-level window and close ends the program at once.
class TitleBar : public QWidget {
    Q_OBJECT
public:
    /// Builds the buttons of the title-bar template with the skin's pictures
    /// and shows those the skin shows; the owner sizes the bar.
    explicit TitleBar(SkinSet &skin, QWidget *parent = nullptr);
    ~TitleBar() override;

    BitmapButton *titleStringButton = nullptr;
    BitmapButton *iconButton = nullptr;
    BitmapButton *minimizeButton = nullptr;
    BitmapButton *maximizeButton = nullptr;
    BitmapButton *closeButton = nullptr;
    ClientRect clientRect; ///< the client rectangle of the last resize

signals:
    /// A command for the main window (ID_EXIT, ID_FULL_SCREEN).
    void Command(int id);
    /// The close button: the program ends at once with `code`.
    void ExitProcess(int code);

protected:
    /// The bar of template `t` (the full-screen bar has its own).
    TitleBar(const DialogTemplate &t, SkinSet &skin, QWidget *parent);

    /// What the maximise button does: ask for full screen.
    virtual void OnMaximize();

    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool event(QEvent *event) override;

private:
    void LayOut();
    void OnButton(int controlId);

    SkinSet &skin_;
};

/// The title bar shown over the picture in the full-screen modes; its maximise
/// button hides it before asking for the mode change.
class FullScreenTitleBar : public TitleBar {
    Q_OBJECT
public:
    explicit FullScreenTitleBar(SkinSet &skin, QWidget *parent = nullptr)
        : TitleBar(kFullScreenTitleBarTemplate, skin, parent)
    {
    }

protected:
    void OnMaximize() override;
};

} // namespace velmo

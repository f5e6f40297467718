#include "controls/TitleBar.h"

#include "controls/BitmapButton.h"
#include "controls/PanelParts.h"
#include "screen/InputCopy.h"
#include "resources/CommandIds.h"
#include "resources/TemplateWidgets.h"

#include <QPainter>

namespace velmo {

TitleBar::TitleBar(SkinSet &skin, QWidget *parent) : TitleBar(kTitleBarTemplate, skin, parent) {}

TitleBar::TitleBar(const DialogTemplate &t, SkinSet &skin, QWidget *parent) : QWidget(parent), skin_(skin)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    const TemplateWidgets layout(t);
    resize(layout.Size());
    const auto button = [&](int id, const SkinImage &image) {
        BitmapButton *b = MakeTemplateButton(this, layout.Rect(id), image);
        connect(b, &BitmapButton::clicked, this, [this, id] { OnButton(id); });
        return b;
    };
    titleStringButton = button(IDC_TITLE_STRING, skin.titleString);
    iconButton = button(IDC_TITLE_ICON, skin.titleIcon);
    minimizeButton = button(IDC_MINIMIZE, skin.minimize);
    maximizeButton = button(IDC_MAXIMIZE, skin.maximize);
    closeButton = button(IDC_CLOSE, skin.close);

    ShowSkinButton(maximizeButton, skin.maximize, "최대화");
    ShowSkinButton(minimizeButton, skin.minimize, "최소화");
    ShowSkinButton(closeButton, skin.close, "닫기");
    ShowSkinButton(iconButton, skin.titleIcon, "벨모");
    ShowSkinButton(titleStringButton, skin.titleString, "벨모 Ver 1.0");
}

TitleBar::~TitleBar() = default;

void TitleBar::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    LayOut();
}

void TitleBar::LayOut()
{
    clientRect = {0, 0, width(), height()};
    const int cw = clientRect.width();
    const auto place = [](BitmapButton *b, int x, const SkinImage &image) {
        b->setGeometry(x, image.y, image.width / 3, image.height);
    };
    place(iconButton, skin_.titleIcon.x, skin_.titleIcon);
    place(titleStringButton, skin_.titleString.x, skin_.titleString);
    // The window buttons count from the right edge.
    place(maximizeButton, cw - skin_.maximize.x, skin_.maximize);
    place(minimizeButton, cw - skin_.minimize.x, skin_.minimize);
    place(closeButton, cw - skin_.close.x, skin_.close);
}

void TitleBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    // The middle spans the main window's width as it was at its last resize.
    const QRect middle(0, 0, skin_.mainClientRect.width(), skin_.topPanel.height);
    PaintPanelBackground(painter, skin_.topPanel, skin_.topPanelLeft, skin_.topPanelRight, middle,
                         clientRect.width());
}

bool TitleBar::event(QEvent *event)
{
    // Input that no button took reaches the main window: the bar is where the window is dragged from.
    return ForwardInput(this, event) || QWidget::event(event);
}

void TitleBar::OnButton(int controlId)
{
    switch (controlId) {
    case IDC_TITLE_ICON: emit Command(ID_EXIT); break;
    case IDC_MINIMIZE:
        if (QWidget *main = window())
            main->showMinimized();
        break;
    case IDC_MAXIMIZE: OnMaximize(); break;
    case IDC_CLOSE: emit ExitProcess(1); break;
    default: break; // the title picture does nothing
    }
}

void TitleBar::OnMaximize()
{
    emit Command(ID_FULL_SCREEN);
}

void FullScreenTitleBar::OnMaximize()
{
    hide();
    emit Command(ID_FULL_SCREEN);
}

} // namespace velmo

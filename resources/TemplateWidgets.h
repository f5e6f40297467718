#pragma once

// A dialog template turned into widgets: its font's base units place the
// controls, and each kind of control has one standard widget.

#include "resources/DialogTemplates.h"

#include <QFont>
#include <QRect>
#include <QSize>

#include <functional>

class QComboBox;
class QSlider;
class QWidget;

namespace velmo {

/// The pixels of template `t`, and the widgets of its controls.
class TemplateWidgets {
public:
    explicit TemplateWidgets(const DialogTemplate &t);

    /// The template's font.
    const QFont &font() const { return font_; }
    /// The window's size in pixels.
    QSize Size() const;
    /// Control `c`'s rectangle in pixels.
    QRect Rect(const TemplateControl &c) const;
    /// The rectangle of control `id` in pixels, empty when the template has none.
    QRect Rect(int id) const;

    /// Gives `window` the template's font, caption and fixed size.
    void SetUpWindow(QWidget &window) const;
    /// The standard widget of `c`'s kind in `parent`, at its place: a push
    /// button (no automatic default), an edit, a label, a group box, a check
    /// box, a drop-down list of the text's lines, a spin box, a sunken label or
    /// a horizontal slider. Null for the kinds each window draws its own way
    /// (icons, bitmaps, the font list, colour swatches, trackbar scales).
    QWidget *MakeStandard(const TemplateControl &c, QWidget *parent) const;
    /// The numbers of scale `c` as labels in `parent`, each in `c`'s rows and
    /// centred under the handle `trackbar` (a sibling, its range set) shows at
    /// that number.
    void MakeScale(const TemplateControl &c, const QSlider &trackbar, QWidget *parent) const;

    /// Makes a control's widget, or returns null to leave the control out.
    using Maker = std::function<QWidget *(const TemplateControl &c)>;
    /// Makes every control in the template's order with `make` and names each
    /// widget by its control id (objectName "1078"), when it has one.
    void Build(const Maker &make) const;

private:
    const DialogTemplate &t_;
    QFont font_;
    QSize base_;
};

/// Makes `combo` drop a plain list `droppedHeight` pixels high, of entries
/// `entryHeight` high, instead of a menu over the current entry, whatever the
/// style prefers.
void DropPlainList(QComboBox *combo, int droppedHeight, int entryHeight);

} // namespace velmo

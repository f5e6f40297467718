#pragma once

#include "engine/GstHandles.h"

#include <QDialog>

class QPlainTextEdit;
class QTableWidget;
class QTableWidgetItem;

namespace velmo {

/// The modal property frame of one element of the graph, captioned with its
/// name: its readable properties with their current values, and the caps of
/// each of its pads. Writable properties of simple types (booleans, numbers,
/// strings, enumerations) can be edited in place; an edit is applied at once
/// and the cell then shows the value the element took.
class FilterPropertyFrame : public QDialog {
    Q_OBJECT
public:
    FilterPropertyFrame(GstElement *element, QWidget *owner);
    ~FilterPropertyFrame() override;

    /// The property table (name, value), for tests.
    QTableWidget *Table() const { return table_; }
    /// The pads and their caps, one pad per line, for tests.
    QString PadsText() const;
    /// Applies `text` to property `name` as the table does; false when the
    /// property is read-only, not simple, or the text is not a value of its type.
    bool SetProperty(const QString &name, const QString &text);

private:
    void Fill();
    void OnItemChanged(QTableWidgetItem *item);
    QString ValueText(GParamSpec *pspec) const;

    GstElementPtr element_;
    QTableWidget *table_ = nullptr;
    QPlainTextEdit *pads_ = nullptr;
    bool filling_ = false;
};

/// True when properties of `pspec`'s type can be edited as text.
bool IsSimpleEditable(const GParamSpec *pspec);

} // namespace velmo

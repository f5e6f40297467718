#pragma once

#include "engine/MediaFacets.h"

#include <QDialog>

#include <memory>

class QPlainTextEdit;
class QTableWidget;
class QTableWidgetItem;

namespace velmo {

/// The modal property frame of one filter of the graph, captioned with its
/// name: its readable properties with their current values, and the caps of
/// each of its pads. Writable properties of simple types can be edited in
/// place; an edit is applied at once and the cell then shows the value the
/// filter took.
class FilterPropertyFrame : public QDialog {
    Q_OBJECT
public:
    FilterPropertyFrame(std::shared_ptr<FilterPages> pages, QWidget *owner);
    ~FilterPropertyFrame() override;

    /// The property table (name, value), for tests.
    QTableWidget *Table() const { return table_; }

private:
    void Fill();
    void OnItemChanged(QTableWidgetItem *item);

    std::shared_ptr<FilterPages> pages_;
    QTableWidget *table_ = nullptr;
    QPlainTextEdit *pads_ = nullptr;
    bool filling_ = false;
};

} // namespace velmo

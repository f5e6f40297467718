#include "app/FilterPropertyFrame.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace velmo {

FilterPropertyFrame::FilterPropertyFrame(std::shared_ptr<FilterPages> pages, QWidget *owner)
    : QDialog(owner), pages_(std::move(pages))
{
    setWindowTitle(pages_->Name());
    setModal(true);
    move(0, 0);

    table_ = new QTableWidget(this);
    table_->setColumnCount(2);
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->horizontalHeader()->hide();
    table_->verticalHeader()->hide();
    pads_ = new QPlainTextEdit(this);
    pads_->setReadOnly(true);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("닫기"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(table_, 3);
    layout->addWidget(pads_, 1);
    layout->addWidget(buttons);
    resize(520, 480);

    Fill();
    connect(table_, &QTableWidget::itemChanged, this, &FilterPropertyFrame::OnItemChanged);
}

FilterPropertyFrame::~FilterPropertyFrame() = default;

void FilterPropertyFrame::Fill()
{
    filling_ = true;
    const std::vector<FilterProperty> properties = pages_->Properties();
    table_->setRowCount(static_cast<int>(properties.size()));
    for (int row = 0; row < static_cast<int>(properties.size()); ++row) {
        const FilterProperty &property = properties[row];
        auto *nameItem = new QTableWidgetItem(property.name);
        nameItem->setFlags(Qt::ItemIsEnabled);
        nameItem->setToolTip(property.blurb);
        auto *valueItem = new QTableWidgetItem(property.value);
        Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (property.editable)
            flags |= Qt::ItemIsEditable;
        valueItem->setFlags(flags);
        table_->setItem(row, 0, nameItem);
        table_->setItem(row, 1, valueItem);
    }
    table_->resizeColumnToContents(0);
    pads_->setPlainText(pages_->PadsText());
    filling_ = false;
}

void FilterPropertyFrame::OnItemChanged(QTableWidgetItem *item)
{
    if (filling_ || item->column() != 1)
        return;
    const QString name = table_->item(item->row(), 0)->text();
    pages_->SetProperty(name, item->text());
    // Show what the filter holds now, whether the edit was taken or not.
    filling_ = true;
    item->setText(pages_->Value(name));
    filling_ = false;
}

} // namespace velmo

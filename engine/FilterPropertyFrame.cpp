#include "engine/FilterPropertyFrame.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace velmo {

namespace {

QString PadCaps(GstPad *pad)
{
    GstCapsPtr caps(gst_pad_get_current_caps(pad));
    if (!caps)
        return QStringLiteral("-");
    GCharPtr text(gst_caps_to_string(caps.get()));
    return QString::fromUtf8(text.get());
}

} // namespace

bool IsSimpleEditable(const GParamSpec *pspec)
{
    if (!(pspec->flags & G_PARAM_WRITABLE) || (pspec->flags & G_PARAM_CONSTRUCT_ONLY))
        return false;
    switch (G_TYPE_FUNDAMENTAL(pspec->value_type)) {
    case G_TYPE_BOOLEAN:
    case G_TYPE_INT:
    case G_TYPE_UINT:
    case G_TYPE_LONG:
    case G_TYPE_ULONG:
    case G_TYPE_INT64:
    case G_TYPE_UINT64:
    case G_TYPE_FLOAT:
    case G_TYPE_DOUBLE:
    case G_TYPE_STRING:
    case G_TYPE_ENUM:
        return true;
    default:
        return false;
    }
}

FilterPropertyFrame::FilterPropertyFrame(GstElement *element, QWidget *owner)
    : QDialog(owner), element_(GST_ELEMENT(gst_object_ref(element)))
{
    GCharPtr name(gst_object_get_name(GST_OBJECT(element)));
    setWindowTitle(QString::fromUtf8(name.get()));
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

QString FilterPropertyFrame::ValueText(GParamSpec *pspec) const
{
    GValue value = G_VALUE_INIT;
    g_value_init(&value, pspec->value_type);
    g_object_get_property(G_OBJECT(element_.get()), pspec->name, &value);
    QString text;
    if (G_VALUE_HOLDS_STRING(&value)) {
        text = QString::fromUtf8(g_value_get_string(&value));
    } else if (G_VALUE_HOLDS_ENUM(&value)) {
        GEnumClassPtr klass(G_ENUM_CLASS(g_type_class_ref(pspec->value_type)));
        GEnumValue *ev = g_enum_get_value(klass.get(), g_value_get_enum(&value));
        text = ev ? QString::fromUtf8(ev->value_nick) : QString::number(g_value_get_enum(&value));
    } else if (G_VALUE_HOLDS_BOXED(&value) && !g_value_get_boxed(&value)) {
        // Some boxed types (GstStructure) cannot print an empty value.
        text = QStringLiteral("NULL");
    } else {
        GCharPtr contents(g_strdup_value_contents(&value));
        text = QString::fromUtf8(contents.get());
    }
    g_value_unset(&value);
    return text;
}

void FilterPropertyFrame::Fill()
{
    filling_ = true;
    guint count = 0;
    GParamSpecArrayPtr specs(g_object_class_list_properties(G_OBJECT_GET_CLASS(element_.get()), &count));
    int rows = 0;
    table_->setRowCount(0);
    for (guint i = 0; i < count; ++i) {
        GParamSpec *pspec = specs.get()[i];
        if (!(pspec->flags & G_PARAM_READABLE))
            continue;
        table_->insertRow(rows);
        auto *nameItem = new QTableWidgetItem(QString::fromUtf8(pspec->name));
        nameItem->setFlags(Qt::ItemIsEnabled);
        nameItem->setToolTip(QString::fromUtf8(g_param_spec_get_blurb(pspec)));
        auto *valueItem = new QTableWidgetItem(ValueText(pspec));
        Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (IsSimpleEditable(pspec))
            flags |= Qt::ItemIsEditable;
        valueItem->setFlags(flags);
        table_->setItem(rows, 0, nameItem);
        table_->setItem(rows, 1, valueItem);
        ++rows;
    }
    table_->resizeColumnToContents(0);

    QStringList lines;
    GstIteratorPtr it(gst_element_iterate_pads(element_.get()));
    GValue item = G_VALUE_INIT;
    while (gst_iterator_next(it.get(), &item) == GST_ITERATOR_OK) {
        GstPad *pad = GST_PAD(g_value_get_object(&item));
        GCharPtr padName(gst_object_get_name(GST_OBJECT(pad)));
        lines << QStringLiteral("%1: %2").arg(QString::fromUtf8(padName.get()), PadCaps(pad));
        g_value_reset(&item);
    }
    g_value_unset(&item);
    pads_->setPlainText(lines.join(QLatin1Char('\n')));
    filling_ = false;
}

QString FilterPropertyFrame::PadsText() const
{
    return pads_->toPlainText();
}

bool FilterPropertyFrame::SetProperty(const QString &name, const QString &text)
{
    GParamSpec *pspec = g_object_class_find_property(G_OBJECT_GET_CLASS(element_.get()), name.toUtf8().constData());
    if (!pspec || !IsSimpleEditable(pspec))
        return false;
    GValue value = G_VALUE_INIT;
    g_value_init(&value, pspec->value_type);
    bool ok = false;
    if (G_VALUE_HOLDS_STRING(&value)) {
        g_value_set_string(&value, text.toUtf8().constData());
        ok = true;
    } else {
        ok = gst_value_deserialize(&value, text.trimmed().toUtf8().constData());
    }
    if (ok)
        g_object_set_property(G_OBJECT(element_.get()), pspec->name, &value);
    g_value_unset(&value);
    return ok;
}

void FilterPropertyFrame::OnItemChanged(QTableWidgetItem *item)
{
    if (filling_ || item->column() != 1)
        return;
    const QString name = table_->item(item->row(), 0)->text();
    SetProperty(name, item->text());
    // Show what the element holds now, whether the edit was taken or not.
    GParamSpec *pspec = g_object_class_find_property(G_OBJECT_GET_CLASS(element_.get()), name.toUtf8().constData());
    filling_ = true;
    if (pspec)
        item->setText(ValueText(pspec));
    filling_ = false;
}

} // namespace velmo

// The property frame over a filter's pages: an edit in the table reaches the
// filter, and the cell then shows what the filter took.

#include "app/FilterPropertyFrame.h"
#include "engine/GstFilterPages.h"

#include <QTableWidget>

#include <gtest/gtest.h>

using namespace velmo;

namespace {

QTableWidgetItem *ValueCell(QTableWidget *table, const QString &name)
{
    for (int row = 0; row < table->rowCount(); ++row)
        if (table->item(row, 0)->text() == name)
            return table->item(row, 1);
    return nullptr;
}

TEST(FilterPropertyFrame, EditsInTheTableReachTheFilterAndShowWhatItTook)
{
    ASSERT_TRUE(gst_init_check(nullptr, nullptr, nullptr));
    GstElementPtr gain = MakeElement("volume", "gain");
    ASSERT_TRUE(gain);
    FilterPropertyFrame frame(std::make_shared<GstFilterPages>(gain.get()), nullptr);
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("gain"));
    QTableWidgetItem *volume = ValueCell(frame.Table(), "volume");
    ASSERT_TRUE(volume);
    EXPECT_TRUE(volume->flags() & Qt::ItemIsEditable);
    EXPECT_FALSE(ValueCell(frame.Table(), "parent")->flags() & Qt::ItemIsEditable);

    volume->setText(QStringLiteral("0.5"));
    gdouble value = 0;
    g_object_get(gain.get(), "volume", &value, nullptr);
    EXPECT_EQ(value, 0.5);
    // Refused text leaves the filter as it was, and the cell shows it again.
    volume->setText(QStringLiteral("loud"));
    g_object_get(gain.get(), "volume", &value, nullptr);
    EXPECT_EQ(value, 0.5);
    EXPECT_EQ(volume->text().toDouble(), 0.5);
}

} // namespace

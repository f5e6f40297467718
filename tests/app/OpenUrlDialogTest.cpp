#include "app/OpenUrlDialog.h"

#include "resources/DialogTemplates.h"
#include "resources/DialogUnits.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace velmo {
namespace {

// Runs the dialog modally and acts on it from inside its own event loop, as a user would.
int RunWith(OpenUrlDialog &dialog, std::function<void(OpenUrlDialog &)> act)
{
    QTimer::singleShot(0, &dialog, [&] { act(dialog); });
    return dialog.exec();
}

TEST(OpenUrlDialog, IsBuiltFromItsTemplate)
{
    OpenUrlDialog dialog;
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("주소로열기"));
    const QSize base = DialogBaseUnits(TemplateFont("돋움", 10));
    EXPECT_EQ(dialog.size(), DialogSizeToPixels(243, 70, base));
    auto *open = dialog.findChild<QPushButton *>("1");
    auto *close = dialog.findChild<QPushButton *>("1026");
    ASSERT_TRUE(open && close);
    EXPECT_EQ(open->text(), QString::fromUtf8("열기"));
    EXPECT_EQ(close->text(), QString::fromUtf8("닫기"));
    EXPECT_TRUE(open->isDefault());
    EXPECT_EQ(open->geometry(), DialogRectToPixels(186, 50, 50, 14, base));
    EXPECT_EQ(dialog.addressEdit()->geometry(), DialogRectToPixels(40, 30, 196, 12, base));
    auto *version = dialog.findChild<QLabel *>("1085");
    ASSERT_TRUE(version);
    EXPECT_EQ(version->text(), QString::fromUtf8("벨모 Ver 1.0"));
    EXPECT_TRUE(dialog.addressEdit()->text().isEmpty());
}

TEST(OpenUrlDialog, OpenKeepsTheAddressExactlyAsTyped)
{
    OpenUrlDialog dialog;
    const int result = RunWith(dialog, [](OpenUrlDialog &d) {
        QTest::keyClicks(d.addressEdit(), "  http://127.0.0.1:8000/");
        d.addressEdit()->insert(QString::fromUtf8("클립"));
        QTest::keyClicks(d.addressEdit(), ".mkv ");
        d.findChild<QPushButton *>("1")->click();
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(dialog.address, "  http://127.0.0.1:8000/클립.mkv ");
}

TEST(OpenUrlDialog, EnterInTheFieldActsOnOpen)
{
    OpenUrlDialog dialog;
    const int result = RunWith(dialog, [](OpenUrlDialog &d) {
        QTest::keyClicks(d.addressEdit(), "a.mkv");
        QTest::keyClick(d.addressEdit(), Qt::Key_Return);
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(dialog.address, "a.mkv");
}

TEST(OpenUrlDialog, CloseEscAndCloseBoxCancelWithTextInTheField)
{
    const std::function<void(OpenUrlDialog &)> cancels[] = {
        [](OpenUrlDialog &d) { d.findChild<QPushButton *>("1026")->click(); },
        [](OpenUrlDialog &d) { QTest::keyClick(d.addressEdit(), Qt::Key_Escape); },
        [](OpenUrlDialog &d) { d.close(); },
    };
    for (const auto &cancel : cancels) {
        OpenUrlDialog dialog;
        const int result = RunWith(dialog, [&](OpenUrlDialog &d) {
            QTest::keyClicks(d.addressEdit(), "a.mkv");
            cancel(d);
        });
        EXPECT_EQ(result, QDialog::Rejected);
        EXPECT_EQ(dialog.address, "");
    }
}

TEST(DialogUnits, MulDivRoundsHalvesAwayFromZero)
{
    EXPECT_EQ(MulDiv(187, 7, 4), 327);  // 327.25
    EXPECT_EQ(MulDiv(165, 15, 8), 309); // 309.375
    EXPECT_EQ(MulDiv(1, 3, 2), 2);      // 1.5
    EXPECT_EQ(MulDiv(-1, 3, 2), -2);
    EXPECT_EQ(MulDiv(10, 96, 72), 13);
}

} // namespace
} // namespace velmo

#include "app/QtTranslations.h"

#include "support/TempDir.h"

#include <QColorDialog>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFileSystemModel>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTest>
#include <QTranslator>

#include <gtest/gtest.h>

namespace velmo {
namespace {

// Qt draws this dialog itself, so only Qt's own translations can make it Korean.
TEST(QtTranslations, TheColourChooserMadeAfterStartUpSpeaksKorean)
{
    ASSERT_TRUE(InstallQtTranslations());
    QColorDialog dialog;
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    auto *buttons = dialog.findChild<QDialogButtonBox *>();
    ASSERT_NE(buttons, nullptr);
    EXPECT_EQ(buttons->button(QDialogButtonBox::Ok)->text(), QStringLiteral("확인"));
    EXPECT_EQ(buttons->button(QDialogButtonBox::Cancel)->text(), QStringLiteral("취소"));
    QStringList labels;
    for (const QLabel *label : dialog.findChildren<QLabel *>())
        labels << label->text();
    EXPECT_FALSE(labels.contains(QStringLiteral("&Basic colors"))) << labels.join(u'|').toStdString();
    // Other tests of this binary expect Qt's untranslated texts.
    qDeleteAll(QCoreApplication::instance()->findChildren<QTranslator *>());
    QLocale::setDefault(QLocale::system());
}

// The file dialog's list names each entry's kind: in Korean too, also where
// Qt's own catalogue has no word for it.
TEST(QtTranslations, TheFileDialogNamesKindsInKorean)
{
    test::TempDir dir;
    dir.write("films/a.mkv", "x");
    ASSERT_TRUE(InstallQtTranslations());
    QFileSystemModel model;
    const QModelIndex root = model.setRootPath(QString::fromStdString(dir.path()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return model.rowCount(root) == 1; }, 5000));
    const QModelIndex films = model.index(0, 2, root);
    EXPECT_EQ(films.data().toString(), QStringLiteral("폴더"));
    const QModelIndex inside = model.setRootPath(QString::fromStdString(dir.path("films")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return model.rowCount(inside) == 1; }, 5000));
    EXPECT_EQ(model.index(0, 2, inside).data().toString(), QStringLiteral("Matroska 동영상"));
    EXPECT_EQ(model.headerData(3, Qt::Horizontal).toString(), QStringLiteral("수정한 날짜"));
    qDeleteAll(QCoreApplication::instance()->findChildren<QTranslator *>());
    QLocale::setDefault(QLocale::system());
}

} // namespace
} // namespace velmo

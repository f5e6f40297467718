#include "app/QtTranslations.h"

#include <QColorDialog>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
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
}

} // namespace
} // namespace velmo

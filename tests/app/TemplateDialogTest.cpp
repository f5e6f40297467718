#include "app/AboutDialog.h"
#include "app/OpenUrlDialog.h"
#include "resources/DialogTemplates.h"

#include <QImage>
#include <QPushButton>

#include <gtest/gtest.h>

namespace velmo {
namespace {

// A button drawn as plain text renders the same whether it is flat or not.
TEST(TemplateDialog, ButtonsAreDrawnAsPushButtonsNotAsText)
{
    AboutDialog about;
    OpenUrlDialog address;
    struct Case {
        QDialog *dialog;
        int id;
    };
    for (const Case &c : {Case{&about, IDC_OK}, Case{&address, IDC_OK}, Case{&address, IDC_URL_CLOSE}}) {
        SCOPED_TRACE(c.id);
        c.dialog->show();
        auto *button = c.dialog->findChild<QPushButton *>(QString::number(c.id));
        ASSERT_TRUE(button);
        const QImage drawn = button->grab().toImage();
        const bool wasFlat = button->isFlat();
        button->setFlat(true);
        EXPECT_FALSE(drawn == button->grab().toImage()) << "drawn the same as a flat button";
        button->setFlat(wasFlat);
    }
}

} // namespace
} // namespace velmo

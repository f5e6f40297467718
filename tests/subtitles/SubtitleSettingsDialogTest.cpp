#include "subtitles/SubtitleSettingsDialog.h"

#include "resources/DialogTemplates.h"
#include "resources/DialogUnits.h"
#include "text/Cp949.h"
#include "subtitles/ColorSwatch.h"
#include "subtitles/FontListCombo.h"
#include "subtitles/SubtitleStyle.h"
#include "support/TempDir.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QStyleOptionSlider>
#include <QStyleOptionSpinBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>

namespace velmo {
namespace {

using test::TempDir;
using test::WorkingDir;

const QByteArray kSettings = "[Sami]\r\nAttribute=True\r\nFont=NanumGothic\r\nSize=24\r\n"
                             "Outline_Use=True\r\nOutline_Deep=False\r\nShadow_Use=False\r\nShadow_Deep=True\r\n"
                             "Quality=True\r\nStyle=700\r\nPosition=37\r\n"
                             "Color=255,255,255\r\nOutline=0,0,128\r\nShadow=10,20,30\r\n";

// A settings file on disk, the style loaded from it and the dialog over it.
class SubtitleSettingsDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        InstallKoreanFontSubstitutes();
        dir_.write("velmo_init.ini", kSettings);
        cwd_ = std::make_unique<WorkingDir>(dir_.path());
        style_ = std::make_unique<SubtitleStyle>();
        dialog_ = std::make_unique<SubtitleSettingsDialog>(*style_);
        notices_ = std::make_unique<QSignalSpy>(dialog_.get(), &SubtitleSettingsDialog::SubtitleChanged);
    }
    void TearDown() override
    {
        dialog_.reset();
        cwd_.reset();
    }

    template <typename T> T *control(int id) const { return dialog_->findChild<T *>(QString::number(id)); }
    QByteArray fileOnDisk() const { return dir_.read("velmo_init.ini"); }

    // Runs the dialog modally and acts on it from inside its own loop, as a user would.
    int runWith(std::function<void()> act)
    {
        QTimer::singleShot(0, dialog_.get(), [&] {
            QApplication::setActiveWindow(dialog_.get());
            act();
        });
        return dialog_->exec();
    }

    TempDir dir_;
    std::unique_ptr<WorkingDir> cwd_;
    std::unique_ptr<SubtitleStyle> style_;
    std::unique_ptr<SubtitleSettingsDialog> dialog_;
    std::unique_ptr<QSignalSpy> notices_;
};

TEST_F(SubtitleSettingsDialogTest, IsBuiltFromItsTemplate)
{
    EXPECT_EQ(dialog_->windowTitle(), QString::fromUtf8("벨모 자막설정")); // the program's name, as everywhere
    const QSize base = DialogBaseUnits(TemplateFont("돋움", 10));
    EXPECT_EQ(dialog_->size(), DialogSizeToPixels(235, 162, base));
    struct Place {
        int id;
        QRect rect; // in dialog units
        const char *text;
    };
    const Place places[] = {
        {IDC_OUTLINE_USE, {83, 31, 47, 8}, "테두리사용"}, {IDC_SHADOW_USE, {133, 31, 48, 8}, "그림자사용"},
        {IDC_BOLD, {12, 45, 32, 8}, "진하게"},           {IDC_OUTLINE_DEEP, {83, 44, 47, 8}, "진하게"},
        {IDC_SHADOW_DEEP, {133, 44, 47, 8}, "진하게"},   {IDC_COLOR_BUTTON, {26, 59, 18, 14}, "색상"},
        {IDC_OUTLINE_BUTTON, {97, 59, 18, 14}, "색상"},  {IDC_SHADOW_BUTTON, {148, 59, 18, 14}, "색상"},
        {IDC_COLOR_SWATCH, {11, 59, 13, 14}, nullptr},    {IDC_OUTLINE_SWATCH, {82, 59, 13, 14}, nullptr},
        {IDC_SHADOW_SWATCH, {133, 59, 13, 14}, nullptr},  {IDC_POSITION_VALUE, {118, 97, 21, 9}, nullptr},
        {IDC_POSITION_TRACKBAR, {9, 107, 214, 11}, nullptr}, {IDC_OK, {93, 140, 46, 15}, "닫기"},
        // The size edit and its arrows are one spin box over both places.
        {IDC_SIZE_UPDOWN, {50, 60, 20, 12}, nullptr},
    };
    for (const Place &p : places) {
        SCOPED_TRACE(p.id);
        QWidget *w = control<QWidget>(p.id);
        ASSERT_TRUE(w);
        EXPECT_EQ(w->geometry(), DialogRectToPixels(p.rect.x(), p.rect.y(), p.rect.width(), p.rect.height(), base));
        if (p.text) {
            auto *button = qobject_cast<QAbstractButton *>(w);
            ASSERT_TRUE(button);
            EXPECT_EQ(button->text(), QString::fromUtf8(p.text));
        }
    }
    auto *quality = control<QComboBox>(IDC_QUALITY_LIST);
    ASSERT_TRUE(quality);
    ASSERT_EQ(quality->count(), 2);
    EXPECT_EQ(quality->itemText(0), QString::fromUtf8("기본"));
    EXPECT_EQ(quality->itemText(1), QString::fromUtf8("부드럽게"));
    EXPECT_TRUE(control<QPushButton>(IDC_OK)->isDefault());
    EXPECT_EQ(control<FontListCombo>(IDC_FONT_LIST)->pos(), DialogRectToPixels(11, 29, 71, 126, base).topLeft());
}

// More faces than the open list shows: its scroll bar says so.
TEST_F(SubtitleSettingsDialogTest, TheOpenFontListScrolls)
{
    auto *fonts = control<FontListCombo>(IDC_FONT_LIST);
    // A machine with few faces still has more than this many rows to show.
    ASSERT_GT(fonts->count(), 2) << "too few faces installed";
    fonts->setMaxVisibleItems(std::min(fonts->maxVisibleItems(), fonts->count() - 1));
    dialog_->show();
    fonts->showPopup();
    EXPECT_TRUE(fonts->view()->verticalScrollBar()->isVisible());
    fonts->hidePopup();
}

TEST_F(SubtitleSettingsDialogTest, ShowsTheStyleWithoutChangingIt)
{
    EXPECT_EQ(control<QSpinBox>(IDC_SIZE_UPDOWN)->value(), 24);
    EXPECT_EQ(control<QLineEdit>(IDC_SIZE_EDIT)->text(), "24");
    EXPECT_EQ(control<FontListCombo>(IDC_FONT_LIST)->currentText(), "NanumGothic");
    EXPECT_EQ(control<ColorSwatch>(IDC_COLOR_SWATCH)->color, 0xFFFFFFu);
    EXPECT_EQ(control<ColorSwatch>(IDC_OUTLINE_SWATCH)->color, 0x800000u);
    EXPECT_EQ(control<ColorSwatch>(IDC_SHADOW_SWATCH)->color, 30u << 16 | 20u << 8 | 10u);
    EXPECT_TRUE(control<QCheckBox>(IDC_OUTLINE_USE)->isChecked());
    EXPECT_FALSE(control<QCheckBox>(IDC_SHADOW_USE)->isChecked());
    EXPECT_FALSE(control<QCheckBox>(IDC_OUTLINE_DEEP)->isChecked());
    EXPECT_TRUE(control<QCheckBox>(IDC_SHADOW_DEEP)->isChecked());
    EXPECT_TRUE(control<QCheckBox>(IDC_BOLD)->isChecked());
    EXPECT_EQ(control<QComboBox>(IDC_QUALITY_LIST)->currentIndex(), 1);
    EXPECT_EQ(control<QLabel>(IDC_POSITION_VALUE)->text(), "37");
    EXPECT_EQ(control<QSlider>(IDC_POSITION_TRACKBAR)->value(), 37);
    EXPECT_EQ(notices_->count(), 0);
    EXPECT_EQ(style_->Font, "NanumGothic");
    EXPECT_EQ(style_->Size, 24);

    // The swatch paints its colour.
    const QImage swatch = control<ColorSwatch>(IDC_OUTLINE_SWATCH)->grab().toImage();
    EXPECT_EQ(swatch.pixel(swatch.width() / 2, swatch.height() / 2), qRgb(0, 0, 128));
}

TEST_F(SubtitleSettingsDialogTest, AFaceThatIsNotInstalledShowsItsSubstituteAndStaysInTheFile)
{
    // The shipped settings' face, and one whose substitute is not the list's first entry.
    QFont::insertSubstitution(QStringLiteral("Velmo Absent Face"), QStringLiteral("NanumMyeongjo"));
    struct Case {
        const char *stored;
        const char *shown;
    };
    for (const Case &c : {Case{"굴림", "NanumGothic"}, Case{"Velmo Absent Face", "NanumMyeongjo"}}) {
        SCOPED_TRACE(c.stored);
        const QString stored = QString::fromUtf8(c.stored);
        style_->Font = toCp949(stored).toStdString();
        style_->RebuildFont();
        style_->Size = 5; // outside the arrows' range: shown clamped, kept as it is
        SubtitleSettingsDialog dialog(*style_);
        EXPECT_EQ(dialog.findChild<FontListCombo *>("1074")->currentText(), QString::fromUtf8(c.shown));
        EXPECT_EQ(dialog.findChild<QSpinBox *>("1063")->value(), 10);
        EXPECT_EQ(style_->Size, 5);
        dialog.accept();
        EXPECT_EQ(fromCp949(QByteArray::fromStdString(style_->Font)), stored);
        EXPECT_TRUE(fileOnDisk().contains(toCp949("Font=" + stored)));
    }
}

TEST_F(SubtitleSettingsDialogTest, UpArrowMakesTheSizeAtOnceAndCloseSavesIt)
{
    auto *upDown = control<QSpinBox>(IDC_SIZE_UPDOWN);
    const int result = runWith([&] {
        QStyleOptionSpinBox option;
        option.initFrom(upDown);
        option.subControls = QStyle::SC_SpinBoxUp;
        option.stepEnabled = QAbstractSpinBox::StepUpEnabled | QAbstractSpinBox::StepDownEnabled;
        const QRect up = upDown->style()->subControlRect(QStyle::CC_SpinBox, &option, QStyle::SC_SpinBoxUp, upDown);
        QTest::mouseClick(upDown, Qt::LeftButton, {}, up.center());
        EXPECT_EQ(style_->Size, 25);
        EXPECT_EQ(control<QLineEdit>(IDC_SIZE_EDIT)->text(), "25");
        ASSERT_TRUE(style_->font);
        EXPECT_EQ(QFontMetrics(*style_->font).height(), 25);
        EXPECT_EQ(notices_->count(), 1);
        EXPECT_FALSE(fileOnDisk().contains("Size=25"));
        control<QPushButton>(IDC_OK)->click();
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_TRUE(fileOnDisk().contains("Size=25"));
}

TEST_F(SubtitleSettingsDialogTest, EnterSavesAndClosesWhereverTheFocusIs)
{
    const int result = runWith([&] {
        control<QCheckBox>(IDC_SHADOW_USE)->click();
        auto *colour = control<QPushButton>(IDC_COLOR_BUTTON);
        colour->setFocus();
        QTest::keyClick(colour, Qt::Key_Return);
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_TRUE(fileOnDisk().contains("Shadow_Use=True"));
}

TEST_F(SubtitleSettingsDialogTest, EscAndTheCloseBoxKeepTheNewLookButNotTheFile)
{
    const QByteArray before = fileOnDisk();
    const std::function<void()> closers[] = {
        [&] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape); },
        [&] { dialog_->close(); },
    };
    int size = 24;
    for (const auto &closeIt : closers) {
        const int result = runWith([&] {
            control<QSpinBox>(IDC_SIZE_UPDOWN)->stepUp();
            control<QCheckBox>(IDC_OUTLINE_USE)->click();
            closeIt();
        });
        ++size;
        EXPECT_EQ(result, QDialog::Rejected);
        EXPECT_EQ(style_->Size, size);
        EXPECT_EQ(QFontMetrics(*style_->font).height(), size);
        EXPECT_EQ(fileOnDisk(), before);
    }
    EXPECT_TRUE(style_->Outline_Use); // toggled twice
}

TEST_F(SubtitleSettingsDialogTest, CheckBoxesSetTheirFlags)
{
    struct Case {
        int id;
        bool SubtitleStyle::*flag;
    };
    const Case cases[] = {{IDC_OUTLINE_USE, &SubtitleStyle::Outline_Use},
                          {IDC_SHADOW_USE, &SubtitleStyle::Shadow_Use},
                          {IDC_OUTLINE_DEEP, &SubtitleStyle::Outline_Deep},
                          {IDC_SHADOW_DEEP, &SubtitleStyle::Shadow_Deep}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.id);
        auto *box = control<QCheckBox>(c.id);
        const bool was = (*style_).*c.flag;
        box->click();
        EXPECT_EQ((*style_).*c.flag, !was);
        box->click();
        EXPECT_EQ((*style_).*c.flag, was);
    }
    auto *bold = control<QCheckBox>(IDC_BOLD);
    bold->click();
    EXPECT_EQ(style_->Style, 400);
    EXPECT_EQ(style_->font->weight(), QFont::Normal);
    bold->click();
    EXPECT_EQ(style_->Style, 700);
    EXPECT_EQ(style_->font->weight(), QFont::Bold);
    EXPECT_EQ(notices_->count(), 10);
}

TEST_F(SubtitleSettingsDialogTest, QualityEntriesSetTheFontQuality)
{
    struct Case {
        int entry;
        bool quality;
        uint8_t fontQuality;
        bool antialiased;
    };
    auto *list = control<QComboBox>(IDC_QUALITY_LIST);
    for (const Case &c : {Case{0, false, 0, false}, Case{1, true, 4, true}}) {
        SCOPED_TRACE(c.entry);
        list->setCurrentIndex(c.entry);
        EXPECT_EQ(style_->Quality, c.quality);
        EXPECT_EQ(style_->fontQuality, c.fontQuality);
        EXPECT_EQ(bool(style_->font->styleStrategy() & QFont::PreferAntialias), c.antialiased);
    }
    EXPECT_EQ(notices_->count(), 2);
}

TEST_F(SubtitleSettingsDialogTest, ChoosingAFaceSetsTheFontInCp949)
{
    auto *list = control<FontListCombo>(IDC_FONT_LIST);
    const int dejaVu = list->findText("DejaVu Sans");
    if (dejaVu < 0)
        GTEST_SKIP() << "DejaVu Sans is not installed";
    list->setCurrentIndex(dejaVu);
    EXPECT_EQ(style_->Font, "DejaVu Sans");
    EXPECT_EQ(QFontInfo(*style_->font).family(), "DejaVu Sans");
    EXPECT_EQ(notices_->count(), 1);
}

// Colour buttons: the chooser starts at black; OK takes the colour into the
// style and the swatch, cancel changes nothing; either way one notice.
// A chooser opens at the colour in use, so that 확인 without a change changes nothing.
TEST_F(SubtitleSettingsDialogTest, ColourChoosersStartAtTheColourInUseAndAlwaysNotify)
{
    struct Case {
        int button;
        int swatch;
        Colour SubtitleStyle::*colour;
        QColor inUse; // as the settings file gives it
    };
    const Case cases[] = {{IDC_COLOR_BUTTON, IDC_COLOR_SWATCH, &SubtitleStyle::Color, QColor(255, 255, 255)},
                          {IDC_OUTLINE_BUTTON, IDC_OUTLINE_SWATCH, &SubtitleStyle::Outline, QColor(0, 0, 128)},
                          {IDC_SHADOW_BUTTON, IDC_SHADOW_SWATCH, &SubtitleStyle::Shadow, QColor(10, 20, 30)}};
    enum Answer { Cancel, OkUnchanged, OkChanged };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.button);
        for (const Answer answer : {Cancel, OkUnchanged, OkChanged}) {
            const Colour before = (*style_).*c.colour;
            QColor initial;
            notices_->clear();
            QTimer::singleShot(0, [&] {
                auto *chooser = qobject_cast<QColorDialog *>(QApplication::activeModalWidget());
                ASSERT_TRUE(chooser);
                initial = chooser->currentColor();
                if (answer == Cancel)
                    return chooser->reject();
                if (answer == OkChanged)
                    chooser->setCurrentColor(QColor(1, 2, 3));
                chooser->accept();
            });
            control<QPushButton>(c.button)->click();
            EXPECT_EQ(initial, c.inUse);
            EXPECT_EQ(notices_->count(), 1);
            const Colour expected = answer == OkChanged ? 0x030201u : before;
            EXPECT_EQ((*style_).*c.colour, expected);
            EXPECT_EQ(control<ColorSwatch>(c.swatch)->color, expected);
        }
    }
}

// The trackbar's thumb rectangle, in its own coordinates.
QRect thumbOf(QSlider *slider)
{
    QStyleOptionSlider option;
    option.initFrom(slider);
    option.orientation = slider->orientation();
    option.minimum = slider->minimum();
    option.maximum = slider->maximum();
    option.sliderPosition = slider->sliderPosition();
    option.sliderValue = slider->value();
    return slider->style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, slider);
}

// Each number of the scale stands under the thumb at its value: its centre,
// measured with the font of the label that draws it.
TEST_F(SubtitleSettingsDialogTest, ScaleNumbersStandUnderTheThumbAtTheirValues)
{
    auto *trackbar = control<QSlider>(IDC_POSITION_TRACKBAR);
    const int scaleTop = DialogRectToPixels(12, 120, 210, 8, DialogBaseUnits(TemplateFont("돋움", 10))).y();
    dialog_->show();
    std::map<int, int> centres; // number -> x in the dialog
    for (QLabel *label : dialog_->findChildren<QLabel *>()) {
        if (label->y() != scaleTop)
            continue;
        const QFontMetrics metrics(label->font());
        const QString text = label->text();
        const QRect box = label->contentsRect();
        const int left = box.left() + ((label->alignment() & Qt::AlignHCenter)
                                           ? (box.width() - metrics.horizontalAdvance(text)) / 2 : 0);
        for (const QRegularExpressionMatch &m : QRegularExpression(QStringLiteral("\\d+")).globalMatch(text)) {
            centres[m.captured().toInt()] = label->x() + left + metrics.horizontalAdvance(text.left(m.capturedStart())) +
                                            metrics.horizontalAdvance(m.captured()) / 2;
        }
    }
    ASSERT_EQ(centres.size(), 3u);
    for (const int value : {0, 50, 100}) {
        SCOPED_TRACE(value);
        trackbar->setValue(value);
        EXPECT_NEAR(centres[value], trackbar->x() + thumbOf(trackbar).center().x(), 3);
    }
}

TEST_F(SubtitleSettingsDialogTest, DraggingTheTrackbarMovesTheCaptionAndTheNumber)
{
    auto *trackbar = control<QSlider>(IDC_POSITION_TRACKBAR);
    auto *number = control<QLabel>(IDC_POSITION_VALUE);
    dialog_->show();
    const QPoint grip = thumbOf(trackbar).center();
    QTest::mousePress(trackbar, Qt::LeftButton, {}, grip);
    for (const int dx : {30, 90}) {
        QTest::mouseMove(trackbar, grip + QPoint(dx, 0));
        EXPECT_GT(trackbar->sliderPosition(), 37);
        EXPECT_EQ(style_->Position, trackbar->sliderPosition());
        EXPECT_EQ(number->text(), QString::number(style_->Position));
    }
    const int notices = notices_->count();
    EXPECT_GE(notices, 2);
    QTest::mouseRelease(trackbar, Qt::LeftButton, {}, grip + QPoint(90, 0));
    EXPECT_EQ(style_->Position, trackbar->value());
}

// Pages (a click beside the thumb), the arrow keys and the other keys the
// trackbar answers all leave the caption where the trackbar is.
TEST_F(SubtitleSettingsDialogTest, TrackbarPagesAndKeysMoveTheCaption)
{
    auto *trackbar = control<QSlider>(IDC_POSITION_TRACKBAR);
    dialog_->show();
    const QRect thumb = thumbOf(trackbar);
    QTest::mouseClick(trackbar, Qt::LeftButton, {}, QPoint(trackbar->width() - 3, thumb.center().y()));
    EXPECT_EQ(style_->Position, 57);
    struct Case {
        Qt::Key key;
        int position;
    };
    trackbar->setFocus();
    for (const Case &c : {Case{Qt::Key_Right, 58}, Case{Qt::Key_Left, 57}, Case{Qt::Key_Left, 56},
                          Case{Qt::Key_PageUp, 76}, Case{Qt::Key_Home, 0}, Case{Qt::Key_End, 100}}) {
        SCOPED_TRACE(c.key);
        QTest::keyClick(trackbar, c.key);
        EXPECT_EQ(trackbar->value(), c.position);
        EXPECT_EQ(style_->Position, c.position);
        EXPECT_EQ(control<QLabel>(IDC_POSITION_VALUE)->text(), QString::number(c.position));
    }
}

TEST_F(SubtitleSettingsDialogTest, ArrowKeysElsewhereInTheDialogNotifyToo)
{
    auto *box = control<QCheckBox>(IDC_BOLD);
    dialog_->show();
    QTest::keyClick(box, Qt::Key_Right); // press and release
    EXPECT_EQ(notices_->count(), 2);
    EXPECT_EQ(style_->Position, 37);
}

} // namespace
} // namespace velmo

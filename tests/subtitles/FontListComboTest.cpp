#include "subtitles/FontListCombo.h"

#include "subtitles/TrueTypeMark.h"

#include <QAbstractItemView>
#include <QPainter>
#include <QSet>
#include <QStyleOptionComboBox>

#include <gtest/gtest.h>

#include <optional>

namespace velmo {
namespace {

const QString kMissing = QStringLiteral("Velmo No Such Face");

TEST(FontListCombo, ListsInstalledFacesOnceEachWithTheirTypeBits)
{
    FontListCombo combo;
    combo.Fill();
    ASSERT_GT(combo.count(), 0);
    EXPECT_EQ(combo.currentIndex(), 0);
    QSet<QString> names;
    for (int i = 0; i < combo.count(); ++i)
        EXPECT_FALSE(names.contains(combo.itemText(i))) << combo.itemText(i).toStdString();
    for (int i = 0; i < combo.count(); ++i)
        names.insert(combo.itemText(i));

    struct Case {
        const char *face;
        int fontType;
        bool required; // from a package the build installs
    };
    for (const Case &c : {Case{"NanumGothic", kTrueTypeFontType, true}, Case{"NanumMyeongjo", kTrueTypeFontType, true},
                          Case{"Nimbus Sans", 0, false}}) {
        SCOPED_TRACE(c.face);
        const int index = combo.findText(QString::fromUtf8(c.face));
        if (index < 0 && !c.required)
            continue;
        ASSERT_GE(index, 0);
        EXPECT_EQ(combo.itemData(index).toInt(), c.fontType);
    }
}

// Faces that draw Korean first; then by name, letter case aside (capitals first where it alone differs).
TEST(FontFaces, FacesThatDrawKoreanComeFirstThenByName)
{
    QStringList order;
    for (const FontFace &face : SortFontFaces({{"b", 0}, {"Nanum", 4, true}, {"a", 0}, {"B", 4}, {"바탕", 4, true}, {"Batang", 4, true}}))
        order << face.name;
    EXPECT_EQ(order, QStringList({"Batang", "Nanum", "바탕", "a", "B", "b"}));
}

// The installed list as the dialog shows it: a face with Hangul before one
// without, previewed with Hangul.
TEST(FontListCombo, TheInstalledFacesAreSortedKoreanFirstWithAHangulSample)
{
    FontListCombo combo;
    combo.Fill();
    const int korean = combo.findText(QStringLiteral("NanumGothic"));
    const int latin = combo.findText(QStringLiteral("DejaVu Sans"));
    ASSERT_GE(korean, 0);
    EXPECT_EQ(combo.SampleText(korean), QStringLiteral("가나다 abc"));
    if (latin >= 0) {
        EXPECT_LT(korean, latin);
        EXPECT_EQ(combo.SampleText(latin), QStringLiteral("abcdeABCDE"));
    }
}

TEST(FontListCombo, AnEmptyListSelectsNothing)
{
    FontListCombo combo;
    combo.Fill({});
    EXPECT_EQ(combo.count(), 0);
    EXPECT_EQ(combo.currentIndex(), -1);
}

TEST(FontListCombo, EntriesAreThePreviewHeightPlusFourAndWidenTheColumns)
{
    FontListCombo combo;
    combo.Fill({{"NanumGothic", kTrueTypeFontType}, {kMissing, kTrueTypeFontType}, {"NanumMyeongjo", 0}});
    EXPECT_EQ(combo.MeasureEntry(0), 20);
    const int nameAfterFirst = combo.nameWidth;
    const int sampleAfterFirst = combo.sampleWidth;
    EXPECT_GT(nameAfterFirst, 0);
    EXPECT_GT(sampleAfterFirst, 0);
    // A face without a preview keeps the default height and widens nothing.
    EXPECT_EQ(combo.MeasureEntry(1), std::nullopt);
    EXPECT_EQ(combo.nameWidth, nameAfterFirst);
    EXPECT_EQ(combo.sampleWidth, sampleAfterFirst);
    EXPECT_EQ(combo.MeasureEntry(2), 20);
    EXPECT_GT(combo.nameWidth, nameAfterFirst); // "NanumMyeongjo" is the longer name
    EXPECT_EQ(combo.count(), 3);
}

TEST(FontListCombo, TheDroppedListHoldsTheWidestNameAndSample)
{
    FontListCombo combo;
    combo.resize(60, combo.sizeHint().height());
    combo.Fill({{"NanumGothic", kTrueTypeFontType}, {"NanumMyeongjo", kTrueTypeFontType}});
    combo.show();
    combo.showPopup();
    EXPECT_GT(combo.nameWidth, 0);
    EXPECT_GE(combo.view()->window()->width(), combo.DroppedWidth());
    EXPECT_GE(combo.DroppedWidth(), 35 + combo.nameWidth + combo.sampleWidth);
    combo.hidePopup();
}

// One entry drawn into a white-backed image of 300 x 20.
QImage drawEntry(const FontListCombo &combo, int index, QStyle::State state, bool editArea)
{
    QImage image(300, 20, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    combo.DrawEntry(painter, image.rect(), index, state, editArea);
    return image;
}

// Columns that hold a pixel for which `is` holds, first and last; -1 if none.
template <typename Pred> std::pair<int, int> columnsWhere(const QImage &image, Pred is, int fromX = 0)
{
    int first = -1;
    int last = -1;
    for (int x = fromX; x < image.width(); ++x)
        for (int y = 0; y < image.height(); ++y)
            if (is(image.pixel(x, y))) {
                if (first < 0)
                    first = x;
                last = x;
                break;
            }
    return {first, last};
}

bool sameBlock(const QImage &a, const QImage &b, const QRect &rect)
{
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                return false;
    return true;
}

TEST(FontListCombo, TheTrueTypeMarkStandsBeforeTrueTypeFacesOnly)
{
    FontListCombo combo;
    combo.Fill({{"NanumGothic", kTrueTypeFontType}, {"NanumGothic", 0}, {kMissing, kTrueTypeFontType}});
    const QRgb base = combo.palette().color(QPalette::Base).rgb();

    QImage marked(300, 20, QImage::Format_RGB32);
    marked.fill(base);
    QPainter(&marked).drawImage(5, 4, TrueTypeMark());
    const QRect markArea(5, 4, 15, 12);

    const QImage trueType = drawEntry(combo, 0, QStyle::State_None, false);
    const QImage other = drawEntry(combo, 1, QStyle::State_None, false);
    const QImage missing = drawEntry(combo, 2, QStyle::State_None, false);
    EXPECT_TRUE(sameBlock(trueType, marked, markArea));
    EXPECT_TRUE(sameBlock(missing, marked, markArea));
    QImage blank(300, 20, QImage::Format_RGB32);
    blank.fill(base);
    EXPECT_TRUE(sameBlock(other, blank, markArea));
    // The name starts after the same indent with or without the mark.
    EXPECT_TRUE(sameBlock(other, blank, QRect(0, 0, 25, 20)));
    EXPECT_FALSE(sameBlock(other, blank, QRect(25, 0, 40, 20)));
    EXPECT_TRUE(sameBlock(trueType, other, QRect(25, 0, 275, 20)));
    // Without a preview: only the background and the mark.
    EXPECT_TRUE(sameBlock(missing, marked, missing.rect()));
}

TEST(FontListCombo, SamplesFollowTheColumnInTheListAndTheNameInTheBox)
{
    FontListCombo combo;
    combo.Fill({{"NanumGothic", kTrueTypeFontType}, {"NanumMyeongjo", kTrueTypeFontType}});
    combo.MeasureEntry(0);
    combo.MeasureEntry(1);
    const int ownName = combo.fontMetrics().horizontalAdvance("NanumGothic");
    ASSERT_LT(ownName, combo.nameWidth);
    // The sample's dark red, smoothed onto white, is the only ink where red
    // exceeds green: the name is grey.
    const auto sampleInk = [](QRgb p) { return qRed(p) > qGreen(p); };
    struct Case {
        bool editArea;
        int sampleX; // where the sample's advance starts
    };
    for (const Case &c : {Case{false, 15 + combo.nameWidth + 20}, Case{true, 15 + ownName + 20}}) {
        SCOPED_TRACE(c.editArea);
        const QImage image = drawEntry(combo, 0, QStyle::State_None, c.editArea);
        const auto [first, last] = columnsWhere(image, sampleInk);
        ASSERT_GE(first, 0) << "no pixel in the sample colour";
        EXPECT_GE(first, c.sampleX);
        EXPECT_LE(first, c.sampleX + 3); // the first glyph's side bearing
        EXPECT_LE(last, c.sampleX + combo.sampleWidth);
    }
}

TEST(FontListCombo, ASelectedEntryIsDrawnInTheHighlightColours)
{
    FontListCombo combo;
    combo.Fill({{"NanumGothic", kTrueTypeFontType}});
    const QPalette &pal = combo.palette();
    const QImage image = drawEntry(combo, 0, QStyle::State_Selected, false);
    EXPECT_EQ(image.pixel(299, 0), pal.color(QPalette::Highlight).rgb());
    const QRgb highlightedText = pal.color(QPalette::HighlightedText).rgb();
    EXPECT_EQ(columnsWhere(image, [](QRgb p) { return qRed(p) > qGreen(p); }).first, -1);
    EXPECT_GE(columnsWhere(image, [&](QRgb p) { return p == highlightedText; }, 25).first, 25);
}

} // namespace
} // namespace velmo

namespace velmo {
namespace {

TEST(FontListCombo, TheClosedBoxDrawsTheEntryOnlyInsideItsTextField)
{
    FontListCombo combo;
    combo.Fill({{"NanumMyeongjo", kTrueTypeFontType}});
    combo.resize(70, combo.sizeHint().height());
    QStyleOptionComboBox option;
    option.initFrom(&combo);
    const QRect field = combo.style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, &combo);
    // The name alone, after its indent, is wider than the field.
    ASSERT_GT(25 + combo.fontMetrics().horizontalAdvance(QStringLiteral("NanumMyeongjo")), field.width());
    const QImage withEntry = combo.grab().toImage();
    combo.setCurrentIndex(-1);
    const QImage empty = combo.grab().toImage();
    ASSERT_EQ(withEntry.size(), empty.size());
    int outside = 0;
    for (int y = 0; y < empty.height(); ++y)
        for (int x = 0; x < empty.width(); ++x)
            if (!field.contains(x, y) && withEntry.pixel(x, y) != empty.pixel(x, y))
                ++outside;
    EXPECT_EQ(outside, 0);
    EXPECT_FALSE(withEntry == empty); // the entry is drawn
}

} // namespace
} // namespace velmo

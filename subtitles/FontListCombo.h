#pragma once

#include "subtitles/FontFaces.h"
#include "text/ProfileReader.h"

#include <QComboBox>
#include <QFont>
#include <QImage>
#include <QHash>
#include <QStyle>

#include <optional>
#include <vector>

namespace velmo {

/// The drop-down list of installed font faces. Each entry shows the TrueType
/// mark where it applies, the face name in the list's own font and a sample
/// text drawn in the face itself, with Hangul where the face has it. The
/// entry's data (Qt::UserRole) holds its font-type bits, kHangulRole whether
/// it draws Korean.
class FontListCombo : public QComboBox {
    Q_OBJECT
public:
    explicit FontListCombo(QWidget *parent = nullptr);

    /// The data role that tells whether an entry's face draws Korean.
    static constexpr int kHangulRole = Qt::UserRole + 1;

    /// Lists the installed faces, those that draw Korean first, each part by
    /// name (SortFontFaces), and selects the first.
    void Fill();
    /// Lists `faces` in their order and selects the first (none when empty).
    void Fill(const std::vector<FontFace> &faces);

    /// The preview font of entry `index`: its face at a line height of
    /// `previewHeight`; none when no font of that face can be made.
    std::optional<QFont> PreviewFont(int index) const;
    /// Height of entry `index` (preview height + 4), widening `nameWidth` and
    /// `sampleWidth` to fit it; none when its preview cannot be made.
    std::optional<int> MeasureEntry(int index);
    /// The sample drawn in entry `index`'s face: hangulSampleText when it draws Korean.
    QString SampleText(int index) const;
    /// Width of the dropped list: room for the widest name and sample.
    int DroppedWidth() const;
    /// Draws entry `index` (-1: none) into `rect`. `state` gives selection and
    /// focus; `editArea` is true for the closed box, whose sample follows the
    /// entry's own name rather than the column of all names.
    void DrawEntry(QPainter &painter, QRect rect, int index, QStyle::State state, bool editArea) const;

    /// Measures every entry, then widens the list to DroppedWidth().
    void showPopup() override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    const QString sampleText = QStringLiteral("abcdeABCDE");
    const QString hangulSampleText = QStringLiteral("가나다 abc");
    const Colour sampleColor = 0x00003C;
    const int previewHeight = 16;
    int nameWidth = 0;   ///< widest face name measured so far, in pixels
    int sampleWidth = 0; ///< widest sample measured so far, in pixels

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage mark_; ///< the TrueType mark; null until the list is filled
    /// Whether a font of `face` really draws in that face (not a fallback).
    bool CanDraw(const QString &face) const;

    mutable QHash<QString, bool> drawable_; ///< CanDraw's answers since the last Fill
};

} // namespace velmo

#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>
#include <vector>

namespace velmo {

/// A class declared in a SAMI file's STYLE block (".KRCC {Name:...; lang:ko-KR;}").
struct SamiClass {
    QString name; ///< the selector's class name, as written ("KRCC")
    QString lang; ///< the "lang" property, "" when absent
    QString title; ///< the "Name" property ("한국어"), "" when absent
};

/// True when a comment ("<!--") begins at `pos`.
bool IsCommentAt(QStringView text, qsizetype pos);

/// Finds where the comments of one text end. It knows where the text's last
/// "-->" is, so a comment that is never closed costs no search to the end of
/// the text: a file of many such comments reads in linear time.
class CommentEnds {
public:
    explicit CommentEnds(QStringView text);

    /// Where the comment beginning at `pos` ends: after its "-->", or after
    /// the next ">" when the comment is never closed, so one bad comment does
    /// not hide the rest of the file.
    qsizetype After(qsizetype pos) const;

    QStringView text() const { return text_; }

private:
    QStringView text_;
    qsizetype lastClose_; // start of the text's last "-->"; -1 when it has none
};

/// True when a tag named `lowerName` (any letter case) begins at `pos`:
/// "<name" or, with `closing`, "</name", followed by a blank, ">", "/" or the end.
bool IsTagAt(QStringView text, qsizetype pos, const char *lowerName, bool closing);

/// The value of attribute `lowerName` in a tag's text ("<SYNC Start=100>"),
/// names matched in any letter case, values quoted or not; none when absent.
std::optional<QStringView> AttributeValue(QStringView tag, const char *lowerName);

/// The decimal number at the start of `value` (leading blanks skipped), read up
/// to the first non-digit; -1 when there is no digit.
int64_t LeadingNumber(QStringView value);

/// Collects a P element's content from `comments.text()`, from `from` up to
/// the next "</P", "<P", "<SYNC", "</SYNC", "<BODY", "</BODY", "</SAMI" or the
/// end, leaving out comments. Returns where the content ends.
qsizetype ParagraphContent(const CommentEnds &comments, qsizetype from, QString &content);

/// The file's own line breaks are layout of the source, not of the caption:
/// trims the content, drops blank runs with a line break next to a <br> tag and
/// turns every other such run into one space.
QString NormaliseLineBreaks(QStringView content);

/// The classes a file declares, in order, each name once in any letter case.
class SamiClassList {
public:
    /// Adds the class unless one of the same name (any letter case) is present.
    void Add(const QString &name, const QString &lang, const QString &title = {});
    const std::vector<SamiClass> &items() const { return items_; }

private:
    // An open-addressing index of items_ by the hash of the case-folded name:
    // one flat array, so a file declaring a hundred thousand classes costs
    // one probe per class rather than a walk through scattered nodes.
    struct Slot {
        uint32_t hash = 0;
        uint32_t item = 0; // index in items_ + 1; 0 for an empty slot
    };
    void grow();

    std::vector<SamiClass> items_;
    std::vector<Slot> slots_; // a power of two long, at most half full
};

/// Adds the classes declared in a STYLE block's text, in order.
void ParseClassDeclarations(QStringView css, SamiClassList &classes);

} // namespace velmo

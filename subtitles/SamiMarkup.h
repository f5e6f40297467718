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
};

/// True when a comment ("<!--") begins at `pos`.
bool IsCommentAt(QStringView text, qsizetype pos);

/// Where the comment beginning at `pos` ends: after its "-->", or after the
/// next ">" when the comment is never closed, so one bad comment does not hide
/// the rest of the file.
qsizetype CommentEnd(QStringView text, qsizetype pos);

/// True when a tag named `lowerName` (any letter case) begins at `pos`:
/// "<name" or, with `closing`, "</name", followed by a blank, ">", "/" or the end.
bool IsTagAt(QStringView text, qsizetype pos, const char *lowerName, bool closing);

/// The value of attribute `lowerName` in a tag's text ("<SYNC Start=100>"),
/// names matched in any letter case, values quoted or not; none when absent.
std::optional<QStringView> AttributeValue(QStringView tag, const char *lowerName);

/// The decimal number at the start of `value` (leading blanks skipped), read up
/// to the first non-digit; -1 when there is no digit.
int64_t LeadingNumber(QStringView value);

/// Collects a P element's content, from `from` up to the next "</P", "<P",
/// "<SYNC", "</SYNC", "<BODY", "</BODY", "</SAMI" or the end, leaving out
/// comments. Returns where the content ends.
qsizetype ParagraphContent(QStringView text, qsizetype from, QString &content);

/// The file's own line breaks are layout of the source, not of the caption:
/// trims the content, drops blank runs with a line break next to a <br> tag and
/// turns every other such run into one space.
QString NormaliseLineBreaks(QStringView content);

/// Appends the classes declared in a STYLE block's text, in order, skipping
/// names already present (compared in any letter case).
void ParseClassDeclarations(QStringView css, std::vector<SamiClass> &classes);

} // namespace velmo

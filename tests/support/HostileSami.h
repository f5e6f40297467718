#pragma once

// SAMI files of about 1 MB built against a reader that rescans the text: each
// is read in linear time or not in any time a user waits for. Shared by the
// reader's tests (what they yield) and its benchmarks (how long they take).

#include <QByteArray>

namespace velmo::test {

inline constexpr int kUnclosedComments = 170000;
inline constexpr int kStyleClasses = 100000;
inline constexpr int kLinesEndingInGt = 340000;
inline constexpr int kSharedSelectors = 80000;

/// `count` comments that never close ("<!-- >"), half between the SYNCs and
/// half inside the one caption "<P>ab" (between its "a" and "b").
inline QByteArray UnclosedCommentsSami(int count)
{
    QByteArray out = "<SAMI><BODY>";
    out += QByteArray("<!-- >").repeated(count / 2);
    out += "<SYNC Start=1><P>a";
    out += QByteArray("<!-- >").repeated(count - count / 2);
    out += "b</BODY></SAMI>";
    return out;
}

/// A STYLE block declaring `count` classes: "c0" to "c<count-2>", then "KRCC"
/// as the only Korean one; one caption of class KRCC and one of class c1.
inline QByteArray ManyClassesSami(int count)
{
    QByteArray out = "<SAMI><HEAD><STYLE>";
    out.reserve(count * 10 + 200);
    for (int i = 0; i < count - 1; ++i)
        out += ".c" + QByteArray::number(i) + "{}\n";
    out += ".KRCC{lang:ko-KR}</STYLE></HEAD><BODY>";
    out += "<SYNC Start=1><P Class=c1>x<SYNC Start=1><P Class=KRCC>k</BODY></SAMI>";
    return out;
}

/// One caption of `count` source lines "a>", which joins them with spaces.
inline QByteArray LinesEndingInGtSami(int count)
{
    QByteArray out = "<SAMI><BODY><SYNC Start=1><P>";
    out += QByteArray("a>\n").repeated(count);
    out += "</BODY></SAMI>";
    return out;
}

/// One rule with `count` selectors ".s0,.s1,..." sharing one long declaration
/// block whose last property makes them all Korean; one caption of class s0.
inline QByteArray SharedDeclarationSami(int count)
{
    QByteArray out = "<SAMI><HEAD><STYLE>";
    out.reserve(count * 16 + 200);
    for (int i = 0; i < count; ++i)
        out += ".s" + QByteArray::number(i) + ",";
    out += ".s{";
    out += QByteArray("x:y;").repeated(count);
    out += "lang:ko-KR}</STYLE></HEAD><BODY><SYNC Start=1><P Class=s0>k</BODY></SAMI>";
    return out;
}

} // namespace velmo::test

#include "app/FileFilters.h"

#include <QStringList>

namespace velmo {

const char *const kMediaFileFilter =
    "재생가능한 미디어(전부)|*.avi;*.wmv;*.asf;*.mpg;*.mpeg;*.mpe;*.dat;*.m1v;*.m2;*.qt;*.mov;*.mp3;*.wav;*wma;*.lst|"
    "AVI(*.avi)|*.avi|ASF/WMV파일(*.asf *.wmv)|*.asf;*.wmv|ASX파일(*.asx)|*.asx|"
    "MPEG파일(*.mpg *.mpe *.mpeg *.dat *.m1v *m2)|*.mpg;*.mpe;*.mpeg;*.dat;*.m1v;*.m2|"
    "퀵타임 파일(*.qt *.mov)|*.qt;*.mov|사운드 파일(*.mp3 *.wav *wma)|*.mp3;*.wav;*.wma|모든파일(*.*)|*.*||";

const char *const kSubtitleFileFilter =
    "사미파일(벨모)|*.smi;*.sami|자막 파일(*.smi *.sami *.srt *.vtt)|*.smi;*.sami;*.srt;*.vtt|";

QString QtFileFilter(const char *classicFilter)
{
    const QStringList parts = QString::fromUtf8(classicFilter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty())
            break; // "||" ends the list
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << parts[i] + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return filters.join(QStringLiteral(";;"));
}

} // namespace velmo

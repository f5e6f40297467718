// Writes the program icon as PNG files of the hicolor icon theme:
//   velmo-icongen OUTPUT-FOLDER SIZE...
// makes OUTPUT-FOLDER/<size>x<size>/apps/velmo.png for each size.

#include "resources/ProgramIcon.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QString>

#include <cstdio>
#include <cstdlib>

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s OUTPUT-FOLDER SIZE...\n", argv[0]);
        return 2;
    }
    // Drawing needs the GUI module but no screen: the build may run headless.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication application(argc, argv);
    const QString output = QString::fromLocal8Bit(argv[1]);
    for (int i = 2; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        if (size <= 0 || size > 1024) {
            std::fprintf(stderr, "%s: bad size '%s'\n", argv[0], argv[i]);
            return 2;
        }
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(output).arg(size);
        const QString file = folder + QStringLiteral("/velmo.png");
        if (!QDir().mkpath(folder) || !velmo::DrawProgramIcon(size).save(file, "PNG")) {
            std::fprintf(stderr, "%s: cannot write %s\n", argv[0], qPrintable(file));
            return 1;
        }
    }
    return 0;
}

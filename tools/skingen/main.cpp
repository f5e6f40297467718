// Draws the default skin into a folder: the description file and every
// picture it names, as 24-bit BMP files, and each picture again at twice the
// size for HiDPI screens ("name@2x.bmp"). Run by hand; the output is kept in
// the source tree under skin/default/.
//
//   velmo_skingen <folder> [--contact-sheet sheet.png] [--scale N]

#include "ContactSheet.h"
#include "SkinArt.h"
#include "skin/SkinSet.h"

#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>

#include <cstdio>
#include <string>

using namespace velmo;

namespace {

bool writeFile(const QString &path, const std::string &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(bytes.data(), static_cast<qint64>(bytes.size())) == static_cast<qint64>(bytes.size());
}

int usage()
{
    std::fprintf(stderr, "usage: velmo_skingen <folder> [--contact-sheet sheet.png] [--scale N]\n");
    return 2;
}

// "play@2x.bmp" for "play.bmp" at ratio 2; the name itself at ratio 1.
QString pictureName(const std::string &fileName, int ratio)
{
    QString name = QString::fromStdString(fileName);
    if (ratio != 1)
        name.insert(name.lastIndexOf('.'), QStringLiteral("@%1x").arg(ratio));
    return name;
}

// The pictures and the description, as the player reads them.
bool writeSkin(const QString &folder)
{
    for (const int ratio : {1, 2}) {
        for (const skingen::SkinPicture &picture : skingen::DrawSkinPictures(ratio)) {
            const QString path = folder + '/' + pictureName(picture.fileName, ratio);
            // RGB888 keeps the files at 24 bits per pixel.
            if (!picture.image.convertToFormat(QImage::Format_RGB888).save(path, "BMP")) {
                std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
                return false;
            }
        }
    }
    const QString description = folder + QStringLiteral("/skin.ini");
    if (!writeFile(description, skingen::SkinDescription())) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(description));
        return false;
    }
    return true;
}

// The skin read back the way the player does, so a broken picture or
// description shows up here rather than on screen.
bool loadsBack(const SkinSet &skin)
{
    const SkinImage *images[] = {&skin.controlPanel, &skin.controlPanelLeft, &skin.controlPanelRight, &skin.topPanel,
                                 &skin.topPanelLeft, &skin.topPanelRight, &skin.logo, &skin.screenBack,
                                 &skin.screenLeft, &skin.screenRight, &skin.play, &skin.pause, &skin.stop,
                                 &skin.open, &skin.prev, &skin.next, &skin.soundOn, &skin.soundOff,
                                 &skin.maximize, &skin.minimize, &skin.close, &skin.titleIcon, &skin.titleString,
                                 &skin.controlPanelFull};
    for (const SkinImage *image : images) {
        if (image->bitmap.isNull())
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    // The panels draw their text in the classic Korean faces; show it as they will.
    for (const char *face : {"돋움", "굴림", "Dotum", "Gulim"})
        QFont::insertSubstitution(QString::fromUtf8(face), QStringLiteral("NanumGothic"));

    QString folder;
    QString sheetPath;
    int scale = 1;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (arg == QLatin1String("--contact-sheet") && i + 1 < argc)
            sheetPath = QString::fromLocal8Bit(argv[++i]);
        else if (arg == QLatin1String("--scale") && i + 1 < argc)
            scale = std::max(1, std::atoi(argv[++i]));
        else if (!arg.startsWith(QLatin1String("--")) && folder.isEmpty())
            folder = arg;
        else
            return usage();
    }
    if (folder.isEmpty())
        return usage();
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(folder));
        return 1;
    }

    if (!writeSkin(folder))
        return 1;
    const SkinSet skin((folder + QStringLiteral("/skin.ini")).toStdString());
    if (!loadsBack(skin)) {
        std::fprintf(stderr, "a picture did not load back\n");
        return 1;
    }

    if (!sheetPath.isEmpty()) {
        QImage sheet = skingen::DrawContactSheet(skin);
        if (scale > 1)
            sheet = sheet.scaled(sheet.size() * scale, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        if (!sheet.save(sheetPath)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(sheetPath));
            return 1;
        }
    }
    return 0;
}

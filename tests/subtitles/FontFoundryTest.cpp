// A face that two foundries provide, in a font folder of its own: fontconfig
// must be pointed at it before the application object reads the fonts, so
// this binary has its own main().

#include "subtitles/FontListCombo.h"

#include <QApplication>
#include <QFile>
#include <QFontDatabase>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

namespace velmo {
namespace {

const QString kTwin = QStringLiteral("Velmo Twin");
bool fontsMade = false;

// Two copies of one shipped font, renamed to kTwin, one from each foundry.
bool makeTwinFonts(const QString &folder)
{
    const QString source = QStringLiteral("/usr/share/fonts/truetype/nanum/NanumGothic.ttf");
    if (!QFile::copy(source, folder + "/a.ttf") || !QFile::copy(source, folder + "/b.ttf"))
        return false;
    QString config = QStringLiteral("<?xml version=\"1.0\"?><fontconfig><dir>%1</dir><cachedir>%1/cache</cachedir>")
                         .arg(folder);
    for (const char *name : {"a", "b"}) {
        config += QStringLiteral("<match target=\"scan\"><test name=\"file\"><string>%1/%2.ttf</string></test>"
                                 "<edit name=\"family\" mode=\"assign_replace\"><string>%3</string></edit>"
                                 "<edit name=\"foundry\" mode=\"assign\"><string>foundry%2</string></edit></match>")
                      .arg(folder, QString::fromUtf8(name), kTwin);
    }
    config += QStringLiteral("</fontconfig>");
    QFile file(folder + "/fonts.conf");
    return file.open(QIODevice::WriteOnly) && file.write(config.toUtf8()) > 0;
}

TEST(FontFoundry, AFaceOfTwoFoundriesIsPreviewed)
{
    if (!fontsMade)
        GTEST_SKIP() << "NanumGothic (fonts-nanum) is not installed";
    // Qt lists such a face only under its foundries' names.
    ASSERT_FALSE(QFontDatabase::families().contains(kTwin)) << QFontDatabase::families().join(u',').toStdString();

    FontListCombo combo;
    combo.Fill();
    const int index = combo.findText(kTwin);
    ASSERT_GE(index, 0);
    EXPECT_EQ(combo.count(), 1); // listed once
    ASSERT_TRUE(combo.PreviewFont(index).has_value());
    EXPECT_EQ(combo.MeasureEntry(index), 20);
}

} // namespace
} // namespace velmo

int main(int argc, char **argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QTemporaryDir folder;
    velmo::fontsMade = folder.isValid() && velmo::makeTwinFonts(folder.path());
    if (velmo::fontsMade)
        setenv("FONTCONFIG_FILE", (folder.path() + "/fonts.conf").toLocal8Bit().constData(), 1);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

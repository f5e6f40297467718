// Inputs the fuzzer found (tests/subtitles/regress/NAME.smi), each with what
// the dump tool must print for it (NAME.dump): read through the real reader,
// as a user's file would be.

#include "text/Cp949.h"
#include "subtitles/SamiEncoding.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST(SamiRegress, FoundInputsReadAsTheirDumpsSay)
{
    const QDir dir(QStringLiteral(VELMO_SOURCE_DIR "/tests/subtitles/regress"));
    const QStringList files = dir.entryList({QStringLiteral("*.smi")}, QDir::Files, QDir::Name);
    ASSERT_FALSE(files.isEmpty());
    for (const QString &name : files) {
        SCOPED_TRACE(name.toStdString());
        const QString path = dir.filePath(name);
        QProcess dump;
        dump.start(QStringLiteral(VELMO_SAMI_DUMP), {path});
        ASSERT_TRUE(dump.waitForFinished(10000));
        const QString expected = dir.filePath(name.chopped(4) + QStringLiteral(".dump"));
        EXPECT_EQ(QString::fromUtf8(dump.readAllStandardOutput()), QString::fromUtf8(contents(expected)));

        // The reader's fast CP949 table and the converter read every byte alike.
        const QByteArray bytes = contents(path);
        if (!velmo::IsValidUtf8(bytes)) {
            EXPECT_EQ(velmo::DecodeCp949(bytes), velmo::fromCp949(bytes));
        }
    }
}

#include "text/Cp949.h"
#include "support/TempDir.h"

#include <QProcess>
#include <gtest/gtest.h>

using velmo::test::TempDir;

namespace {

struct ToolRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

ToolRun dump(const std::string &path)
{
    QProcess process;
    process.start(QStringLiteral(VELMO_SAMI_DUMP), {QString::fromStdString(path)});
    ToolRun run;
    if (!process.waitForFinished(10000))
        return run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

} // namespace

TEST(SamiDump, PrintsTheChosenClassAndCleanedCaptions)
{
    TempDir dir;
    const QString file = QString::fromUtf8("<SAMI><HEAD><STYLE><!--\n"
                                           ".ENCC {Name:English; lang:en-US;}\n"
                                           ".KRCC {Name:한국어; lang:ko-KR;}\n"
                                           "--></STYLE></HEAD><BODY>\n"
                                           "<SYNC Start=2000><P Class=KRCC>둘째<br>줄\n"
                                           "<SYNC Start=1000><P Class=KRCC><font color=red>첫째</font>\n"
                                           "<SYNC Start=1000><P Class=ENCC>First\n"
                                           "<SYNC Start=3000><P Class=KRCC>&nbsp;\n"
                                           "</BODY></SAMI>\n");
    const ToolRun run = dump(dir.write("film.smi", velmo::toCp949(file)));
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(QString::fromUtf8(run.out), QString::fromUtf8("class: KRCC\n"
                                                            "1000\t첫째\n"
                                                            "2000\t둘째\\n줄\n"
                                                            "3000\t \n"));
    EXPECT_EQ(run.err, QByteArray("format: SAMI\nencoding: CP949\n"));
}

TEST(SamiDump, CueFilesKeepTheirTextAndTheEncodingGoesToStandardError)
{
    TempDir dir;
    const ToolRun run = dump(dir.write("fr.srt", "1\n00:00:01,000 --> 00:00:02,000\n{\\an8}\nDES \xC9V\xC9NEMENTS 1/2\n\nsuite\n"
                                                 "\n2\n00:00:03,000 --> 00:00:04,000\na<b\n"));
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(QString::fromUtf8(run.out),
              QString::fromUtf8("class: -\n1000\tDES ÉVÉNEMENTS 1/2\\nsuite\n2000\t \n3000\ta<b\n4000\t \n"));
    EXPECT_EQ(run.err, QByteArray("format: SubRip\nencoding: Windows-1252\n"));
}

TEST(SamiDump, WithoutDeclaredClassesSaysSo)
{
    TempDir dir;
    const ToolRun run = dump(dir.write("plain.smi", "<SAMI><BODY><SYNC Start=5><P>a/b</BODY></SAMI>"));
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, QByteArray("class: -\n5\ta b\n"));
}

TEST(SamiDump, ARefusedFileGivesTheReasonAndExitCodeOne)
{
    TempDir dir;
    const ToolRun run = dump(dir.write("film.smi", "Hello\nno timings here\n"));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_TRUE(run.err.contains("SAMI 자막으로 읽을 수 없습니다")) << run.err.toStdString();

    const ToolRun missing = dump(dir.path("missing.smi"));
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_FALSE(missing.err.isEmpty());
}

TEST(SamiDump, SubRipAndWebVttDumpLikeSami)
{
    TempDir dir;
    const ToolRun srt = dump(dir.write("film.smi", "1\n00:00:01,000 --> 00:00:02,000\n<i>Hello</i>\nthere\n"));
    EXPECT_EQ(srt.exitCode, 0);
    EXPECT_EQ(srt.out, QByteArray("class: -\n1000\tHello\\nthere\n2000\t \n"));
    const ToolRun vtt = dump(dir.write("film.vtt", "WEBVTT\n\n00:01.500 --> 00:02.000\nHi\n"));
    EXPECT_EQ(vtt.out, QByteArray("class: -\n1500\tHi\n2000\t \n"));
}

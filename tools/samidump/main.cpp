// velmo-sami-dump FILE: prints what the player makes of a caption file (SAMI,
// SubRip or WebVTT, told by its content), to tell why a subtitle looks wrong. First line "class: NAME" (or "class: -"), then
// one line per caption in playing order: START_MS, a tab, the cleaned text in
// UTF-8 with each line break written as the two characters "\n". Scripts
// read that output; the format and the encoding read go to standard error,
// as "format: SubRip" and "encoding: Windows-1252".

#include "subtitles/CaptionText.h"
#include "subtitles/TimedTextReader.h"

#include <cstdio>
#include <string>

namespace {

std::string oneLine(const QString &text)
{
    QString escaped = text;
    escaped.replace(QStringLiteral("\r\n"), QStringLiteral("\\n"));
    escaped.replace(u'\r', QStringLiteral("\\n"));
    escaped.replace(u'\n', QStringLiteral("\\n"));
    return escaped.toStdString();
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: velmo-sami-dump FILE\n");
        return 2;
    }
    const velmo::SamiResult result = velmo::ReadCaptionFile(argv[1]);
    if (!result.ok) {
        std::fprintf(stderr, "%s: %s\n", argv[1], result.error.toStdString().c_str());
        return 1;
    }
    std::fprintf(stderr, "format: %s\nencoding: %s\n", std::string(velmo::CaptionFormatName(result.format)).c_str(),
                 std::string(velmo::CaptionEncodingName(result.encoding)).c_str());
    const velmo::SamiDocument &doc = result.document;
    std::string out = "class: " + (doc.className.isEmpty() ? std::string("-") : doc.className.toStdString()) + "\n";
    for (const velmo::SamiCaption &caption : doc.captions)
        out += std::to_string(caption.startMs) + "\t" + oneLine(velmo::CleanCaption(caption.text)) + "\n";
    std::fwrite(out.data(), 1, out.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

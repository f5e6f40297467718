// The SAMI reader on bytes as a file would hold them. The first byte picks
// how the rest reaches the reader: as it stands (the encoding is detected, as
// for any file), or taken as text and written in one of the encodings the
// reader knows, so that markup the fuzzer finds in one encoding is tried in
// the others. Text written in UTF-16 must read exactly as the same text in
// UTF-8, and the fast CP949 table must agree with the converter.

#include "fuzz/FuzzSupport.h"

#include "text/Cp949.h"
#include "subtitles/CaptionText.h"
#include "subtitles/SamiEncoding.h"
#include "subtitles/SamiReader.h"

#include <QStringEncoder>

namespace {

using namespace velmo;

enum class Form { AsItStands, Utf8Bom, Utf16Le, Utf16Be, Cp949 };

// The mark is written by hand: the encoders leave it out of an empty text.
QByteArray withBom(const QString &text, QStringConverter::Encoding encoding)
{
    QStringEncoder encoder(encoding);
    const QByteArray bom = encoding == QStringConverter::Utf8    ? QByteArray("\xEF\xBB\xBF")
                           : encoding == QStringConverter::Utf16LE ? QByteArray("\xFF\xFE")
                                                                   : QByteArray("\xFE\xFF");
    return bom + QByteArray(encoder.encode(text));
}

QByteArray written(Form form, const QByteArray &rest)
{
    const QString text = QString::fromUtf8(rest);
    switch (form) {
    case Form::AsItStands:
        return rest;
    case Form::Utf8Bom:
        return withBom(text, QStringConverter::Utf8);
    case Form::Utf16Le:
        return withBom(text, QStringConverter::Utf16LE);
    case Form::Utf16Be:
        return withBom(text, QStringConverter::Utf16BE);
    case Form::Cp949:
        return toCp949(text);
    }
    return rest;
}

bool sameResult(const SamiResult &a, const SamiResult &b)
{
    if (a.ok != b.ok || a.error != b.error || a.document.className != b.document.className
        || a.document.captions.size() != b.document.captions.size())
        return false;
    for (size_t i = 0; i < a.document.captions.size(); ++i) {
        const SamiCaption &x = a.document.captions[i];
        const SamiCaption &y = b.document.captions[i];
        if (x.startMs != y.startMs || x.endMs != y.endMs || x.text != y.text)
            return false;
    }
    return true;
}

// What every result promises, whatever the input.
void checkResult(const SamiResult &result)
{
    VELMO_FUZZ_CHECK(result.ok == result.error.isEmpty());
    const std::vector<SamiCaption> &captions = result.document.captions;
    VELMO_FUZZ_CHECK(result.ok || captions.empty());
    for (size_t i = 0; i < captions.size(); ++i) {
        const SamiCaption &c = captions[i];
        VELMO_FUZZ_CHECK(c.startMs >= 0);
        VELMO_FUZZ_CHECK(c.endMs == (i + 1 < captions.size() ? captions[i + 1].startMs : -1));
        VELMO_FUZZ_CHECK(c.endMs == -1 || c.endMs >= c.startMs);
        VELMO_FUZZ_CHECK(c.text.startsWith(QLatin1String("<p"), Qt::CaseInsensitive));
        // What the overlay is handed: the cleaned text keeps no whole tag.
        const QString shown = CleanCaption(c.text);
        const qsizetype lt = shown.indexOf(u'<');
        VELMO_FUZZ_CHECK(lt < 0 || shown.indexOf(u'>', lt) < 0);
    }
}

bool decodedAsCp949(const QByteArray &bytes)
{
    const auto starts = [&bytes](const char *prefix) { return bytes.startsWith(prefix); };
    return !starts("\xEF\xBB\xBF") && !starts("\xFF\xFE") && !starts("\xFE\xFF") && !IsValidUtf8(bytes);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const Form form = static_cast<Form>(data[0] % 5);
    const QByteArray rest(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    const QByteArray bytes = written(form, rest);

    const SamiResult result = ParseSami(bytes);
    checkResult(result);

    if (form == Form::Utf16Le || form == Form::Utf16Be)
        VELMO_FUZZ_CHECK(sameResult(result, ParseSami(written(Form::Utf8Bom, rest))));
    if (decodedAsCp949(bytes))
        VELMO_FUZZ_CHECK(DecodeCp949(bytes) == fromCp949(bytes));
    return 0;
}

#include "subtitles/SamiEncoding.h"

#include "text/Cp949.h"

#include <QStringDecoder>

#include <algorithm>
#include <array>

namespace velmo {

namespace {

constexpr unsigned kFirstLead = 0x81;
constexpr unsigned kLastLead = 0xFE;
constexpr unsigned kFirstTrail = 0x41;
constexpr unsigned kLastTrail = 0xFE;
constexpr unsigned kTrails = kLastTrail - kFirstTrail + 1;
constexpr char16_t kReplacement = 0xFFFD;

// Every lead/trail pair's character, 0 where the pair is no character.
class Cp949PairTable {
public:
    Cp949PairTable()
    {
        // Every pair in one conversion, each followed by a marker "\n" + four
        // hex digits of its index, so that a pair the converter mishandles
        // cannot shift the pairs after it.
        constexpr size_t kPairs = (kLastLead - kFirstLead + 1) * kTrails;
        QByteArray probe;
        probe.reserve(int(kPairs * 7));
        for (size_t i = 0; i < kPairs; ++i) {
            probe.append(char(kFirstLead + i / kTrails));
            probe.append(char(kFirstTrail + i % kTrails));
            probe.append(marker(i).toLatin1());
        }
        const QString decoded = fromCp949(probe);
        qsizetype segmentStart = 0; // -1 when the previous marker was not found
        qsizetype pos = 0;
        for (size_t i = 0; i < kPairs; ++i) {
            const qsizetype found = decoded.indexOf(marker(i), pos);
            if (found >= 0 && segmentStart >= 0) {
                if (found - segmentStart == 1 && decoded[segmentStart].unicode() != kReplacement)
                    table_[i] = decoded[segmentStart].unicode();
            } else {
                table_[i] = alone(i);
            }
            if (found >= 0)
                pos = found + 5;
            segmentStart = found >= 0 ? pos : -1;
        }
    }

    char16_t at(unsigned lead, unsigned trail) const
    {
        if (lead < kFirstLead || lead > kLastLead || trail < kFirstTrail || trail > kLastTrail)
            return 0;
        return table_[index(lead, trail)];
    }

private:
    static QString marker(size_t i) { return QStringLiteral("\n%1").arg(uint(i), 4, 16, QLatin1Char('0')); }

    // The pair converted on its own.
    static char16_t alone(size_t i)
    {
        const char pair[2] = {char(kFirstLead + i / kTrails), char(kFirstTrail + i % kTrails)};
        const QString decoded = fromCp949(QByteArray(pair, 2));
        return decoded.size() == 1 && decoded[0].unicode() != kReplacement ? decoded[0].unicode() : 0;
    }

    static size_t index(unsigned lead, unsigned trail) { return (lead - kFirstLead) * kTrails + (trail - kFirstTrail); }

    std::array<char16_t, (kLastLead - kFirstLead + 1) * kTrails> table_{};
};

} // namespace

bool IsValidUtf8(const QByteArray &bytes)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.constData());
    const auto *end = p + bytes.size();
    while (p < end) {
        const unsigned c = *p;
        if (c < 0x80) {
            ++p;
            continue;
        }
        int length = 0;
        unsigned min = 0;
        unsigned cp = 0;
        if (c >= 0xC2 && c <= 0xDF) {
            length = 2, min = 0x80, cp = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            length = 3, min = 0x800, cp = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4, min = 0x10000, cp = c & 0x07;
        } else {
            return false;
        }
        if (end - p < length)
            return false;
        for (int i = 1; i < length; ++i) {
            if ((p[i] & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (p[i] & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        p += length;
    }
    return true;
}

QString DecodeCp949(const QByteArray &bytes)
{
    static const Cp949PairTable table;
    QString out(bytes.size(), Qt::Uninitialized);
    char16_t *dst = reinterpret_cast<char16_t *>(out.data());
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.constData());
    const auto *end = p + bytes.size();
    qsizetype n = 0;
    while (p < end) {
        if (*p < 0x80) {
            dst[n++] = *p++;
            continue;
        }
        const char16_t c = p + 1 < end ? table.at(p[0], p[1]) : 0;
        if (c != 0) {
            dst[n++] = c;
            p += 2;
        } else {
            dst[n++] = kReplacement; // as fromCp949: this byte alone, then go on
            ++p;
        }
    }
    out.resize(n);
    return out;
}

namespace {

bool HasPrefix(const QByteArray &bytes, const char *prefix, qsizetype n)
{
    return bytes.size() >= n && std::equal(prefix, prefix + n, bytes.constData());
}

QString DecodeUtf16(const QByteArray &bytes)
{
    const bool littleBom = HasPrefix(bytes, "\xFF\xFE", 2);
    const bool bigBom = HasPrefix(bytes, "\xFE\xFF", 2);
    bool big = bigBom;
    if (!littleBom && !bigBom) {
        // No mark: text in Latin letters has its zero bytes first in big-endian.
        qsizetype evenZeros = 0;
        qsizetype oddZeros = 0;
        for (qsizetype i = 0; i + 1 < bytes.size(); i += 2) {
            evenZeros += bytes[i] == 0;
            oddZeros += bytes[i + 1] == 0;
        }
        big = evenZeros > oddZeros;
    }
    const qsizetype skip = littleBom || bigBom ? 2 : 0;
    QStringDecoder utf16(big ? QStringDecoder::Utf16BE : QStringDecoder::Utf16LE, QStringDecoder::Flag::Stateless);
    return utf16.decode(QByteArrayView(bytes.constData() + skip, bytes.size() - skip));
}

// The name Qt's converters know the encoding by; null for those read here.
const char *ConverterName(CaptionEncoding encoding)
{
    switch (encoding) {
    case CaptionEncoding::ShiftJis: return "Shift_JIS";
    case CaptionEncoding::Gb18030: return "GB18030";
    case CaptionEncoding::Big5: return "Big5";
    default: return nullptr;
    }
}

DecodedCaption DecodeAuto(const QByteArray &bytes, bool western)
{
    if (HasPrefix(bytes, "\xEF\xBB\xBF", 3))
        return {QString::fromUtf8(bytes.constData() + 3, bytes.size() - 3), CaptionEncoding::Utf8};
    if (HasPrefix(bytes, "\xFF\xFE", 2) || HasPrefix(bytes, "\xFE\xFF", 2))
        return {DecodeUtf16(bytes), CaptionEncoding::Utf16};
    if (IsValidUtf8(bytes))
        return {QString::fromUtf8(bytes), CaptionEncoding::Utf8};
    QString cp949 = DecodeCp949(bytes);
    if (western && cp949.contains(QChar(kReplacement)))
        return {DecodeWindows1252(bytes), CaptionEncoding::Windows1252};
    return {std::move(cp949), CaptionEncoding::Cp949};
}

} // namespace

QString DecodeWindows1252(const QByteArray &bytes)
{
    // 0x80 to 0x9F; the rest is Latin-1.
    static constexpr char16_t kHigh[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
    };
    QString out(bytes.size(), Qt::Uninitialized);
    char16_t *dst = reinterpret_cast<char16_t *>(out.data());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        dst[i] = c >= 0x80 && c < 0xA0 ? kHigh[c - 0x80] : char16_t(c);
    }
    return out;
}

DecodedCaption DecodeCaptionBytes(const QByteArray &bytes, CaptionEncoding wanted, bool western)
{
    switch (wanted) {
    case CaptionEncoding::Auto: break;
    case CaptionEncoding::Utf8: {
        const qsizetype skip = HasPrefix(bytes, "\xEF\xBB\xBF", 3) ? 3 : 0;
        return {QString::fromUtf8(bytes.constData() + skip, bytes.size() - skip), wanted};
    }
    case CaptionEncoding::Cp949: return {DecodeCp949(bytes), wanted};
    case CaptionEncoding::Windows1252: return {DecodeWindows1252(bytes), wanted};
    case CaptionEncoding::Utf16: return {DecodeUtf16(bytes), wanted};
    case CaptionEncoding::ShiftJis:
    case CaptionEncoding::Gb18030:
    case CaptionEncoding::Big5: {
        QStringDecoder decoder(ConverterName(wanted), QStringDecoder::Flag::Stateless);
        if (!decoder.isValid())
            break; // a Qt without ICU
        return {decoder.decode(bytes), wanted};
    }
    }
    return DecodeAuto(bytes, western);
}

QString DecodeSamiBytes(const QByteArray &bytes)
{
    return DecodeAuto(bytes, false).text;
}

} // namespace velmo

#include "text/Cp949.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>

namespace velmo {

namespace {

// One iconv descriptor per call: conversions are rare and short, and this
// keeps the helpers free of shared state.
class Converter {
public:
    Converter(const char *to, const char *from) : cd_(iconv_open(to, from)) {}
    ~Converter()
    {
        if (ok())
            iconv_close(cd_);
    }
    Converter(const Converter &) = delete;
    Converter &operator=(const Converter &) = delete;

    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    /// Converts `in`; on a unit that cannot be converted, skips `skip(in)`
    /// input bytes and appends `replacement`. `passed(start, in)` says how
    /// many bytes before `in`, of those one call took from `start`, the
    /// converter passed over without converting before it reported them.
    template <typename Skip, typename Passed>
    QByteArray run(const QByteArray &input, const QByteArray &replacement, Skip skip, Passed passed)
    {
        QByteArray out;
        out.reserve(input.size() * 2 + 8);
        char *in = const_cast<char *>(input.constData());
        size_t inLeft = static_cast<size_t>(input.size());
        char buffer[1024];
        while (inLeft > 0) {
            char *outPtr = buffer;
            size_t outLeft = sizeof buffer;
            char *const start = in;
            const size_t r = iconv(cd_, &in, &inLeft, &outPtr, &outLeft);
            out.append(buffer, static_cast<qsizetype>(outPtr - buffer));
            if (r != static_cast<size_t>(-1))
                break;
            if (errno == E2BIG)
                continue;
            const size_t back = errno == EILSEQ ? passed(start, in) : 0;
            in -= back;
            inLeft += back;
            // EILSEQ or EINVAL (a truncated sequence at the end): replace and go on.
            const size_t n = std::min(inLeft, skip(in, inLeft));
            in += n;
            inLeft -= n;
            out.append(replacement);
            iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        }
        return out;
    }

    /// Whether the `n` bytes at `p` convert on their own.
    bool converts(const char *p, size_t n)
    {
        char *in = const_cast<char *>(p);
        char buffer[16];
        char *outPtr = buffer;
        size_t outLeft = sizeof buffer;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        const bool ok = iconv(cd_, &in, &n, &outPtr, &outLeft) != static_cast<size_t>(-1) && outPtr != buffer;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        return ok;
    }

private:
    iconv_t cd_;
};

} // namespace

QString fromCp949(const QByteArray &bytes)
{
    Converter conv("UTF-16LE", "CP949");
    if (!conv.ok())
        return QString::fromLatin1(bytes);
    const QByteArray replacement("\xFD\xFF", 2); // U+FFFD in UTF-16LE
    // A lead byte whose pair is invalid is skipped alone, so the next byte
    // gets its own chance (it may be ASCII).
    const auto skipLead = [](const char *, size_t) { return size_t{1}; };
    // glibc takes one pair it cannot convert (0xA2 0xE8) before it reports
    // it, at the byte after: that byte would be lost in its place. A pair
    // just taken that does not convert alone is the one to replace.
    const auto passedPair = [&conv](const char *start, const char *in) {
        const bool pairTaken = in - start >= 2 && static_cast<unsigned char>(in[-1]) >= 0x80;
        return pairTaken && !conv.converts(in - 2, 2) ? size_t{2} : size_t{0};
    };
    const QByteArray utf16 = conv.run(bytes, replacement, skipLead, passedPair);
    return QString(reinterpret_cast<const QChar *>(utf16.constData()), utf16.size() / 2);
}

QByteArray toCp949(const QString &text)
{
    Converter conv("CP949", "UTF-16LE");
    if (!conv.ok())
        return text.toLatin1();
    const QByteArray utf16(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
    // Skip one UTF-16 unit, or both halves of a surrogate pair.
    const auto skipUnit = [](const char *p, size_t left) {
        const auto unit = static_cast<unsigned char>(p[0]) | (static_cast<unsigned char>(p[1]) << 8);
        return (unit >= 0xD800 && unit < 0xDC00 && left >= 4) ? size_t{4} : size_t{2};
    };
    return conv.run(utf16, "?", skipUnit, [](const char *, const char *) { return size_t{0}; });
}

} // namespace velmo

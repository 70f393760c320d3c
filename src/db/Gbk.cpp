#include "db/Gbk.h"

#include <iconv.h>
#include <QHash>
#include <cerrno>

namespace {

// One converter per direction, kept for the life of the process (single UI thread).
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter()
    {
        if (cd_ != reinterpret_cast<iconv_t>(-1))
            iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts all of `in`; false on a character the target cannot hold.
    bool run(const char* in, size_t inSize, QByteArray& out, bool replaceBroken)
    {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        out.resize(static_cast<qsizetype>(inSize * 2 + 16));
        char* src = const_cast<char*>(in);
        size_t srcLeft = inSize;
        size_t used = 0;
        while (true) {
            char* dst = out.data() + used;
            size_t dstLeft = static_cast<size_t>(out.size()) - used;
            size_t r = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
            used = static_cast<size_t>(dst - out.data());
            if (r != static_cast<size_t>(-1))
                break;
            if (errno == E2BIG) {
                out.resize(out.size() * 2);
                continue;
            }
            if (!replaceBroken)
                return false;
            // Skip one broken byte and mark the spot (decoding only: target is UTF-16).
            if (static_cast<size_t>(out.size()) - used < 2)
                out.resize(out.size() * 2);
            const char16_t mark = u'\uFFFD';
            memcpy(out.data() + used, &mark, 2);
            used += 2;
            ++src;
            --srcLeft;
            if (srcLeft == 0)
                break;
        }
        out.resize(static_cast<qsizetype>(used));
        return true;
    }

private:
    iconv_t cd_;
};

// One converter per thread: iconv keeps state between calls, so two sessions working
// in two threads must not share one.
Converter& toGbk()
{
    static thread_local Converter c("GBK", "UTF-16LE");
    return c;
}

Converter& fromGbk()
{
    static thread_local Converter c("UTF-16LE", "GBK");
    return c;
}

bool isAscii(const QString& text)
{
    for (QChar ch : text)
        if (ch.unicode() >= 0x80)
            return false;
    return true;
}

bool isAscii(const char* data, qsizetype size)
{
    for (qsizetype i = 0; i < size; ++i)
        if (static_cast<unsigned char>(data[i]) >= 0x80)
            return false;
    return true;
}

}  // namespace

namespace Gbk {

bool encode(const QString& text, QByteArray& out)
{
    if (isAscii(text)) {
        out = text.toLatin1();
        return true;
    }
    QByteArray gbk;
    const auto* utf16 = reinterpret_cast<const char*>(text.utf16());
    if (!toGbk().run(utf16, static_cast<size_t>(text.size()) * 2, gbk, false)) {
        out.clear();
        return false;
    }
    // iconv's GBK maps the euro sign to the single byte 0x80, which the server's gbk lacks.
    if (gbk.contains('\x80')) {
        out.clear();
        return false;
    }
    out = gbk;
    return true;
}

QString decode(const char* data, qsizetype size)
{
    if (size <= 0)
        return QString();
    if (isAscii(data, size))
        return QString::fromLatin1(data, size);
    // Lists repeat the same names (customers, stations, processes) row after row: short texts
    // are converted once and kept, per thread as the converters are.
    constexpr qsizetype kKeptLength = 64;
    constexpr qsizetype kKeptTexts = 4096;
    static thread_local QHash<QByteArray, QString> kept;
    const bool keep = size <= kKeptLength;
    if (keep) {
        const auto it = kept.constFind(QByteArray::fromRawData(data, size));
        if (it != kept.constEnd())
            return *it;
    }
    QByteArray utf16;
    fromGbk().run(data, static_cast<size_t>(size), utf16, true);
    QString text(reinterpret_cast<const QChar*>(utf16.constData()), utf16.size() / 2);
    if (keep) {
        if (kept.size() >= kKeptTexts)
            kept.clear();
        kept.insert(QByteArray(data, size), text);
    }
    return text;
}

bool representable(const QString& text)
{
    QByteArray ignored;
    return encode(text, ignored);
}

int byteLength(const QString& text)
{
    int n = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text.at(i);
        if (ch.unicode() < 0x80) {
            ++n;
        } else {
            n += 2;
            if (ch.isHighSurrogate() && i + 1 < text.size())
                ++i;
        }
    }
    return n;
}

QString leftBytes(const QString& text, int bytes)
{
    int n = 0;
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar ch = text.at(i);
        const int w = ch.unicode() < 0x80 ? 1 : 2;
        const qsizetype units = (ch.isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
        if (n + w > bytes)
            break;
        n += w;
        i += units;
    }
    return text.left(i);
}

QString firstUnrepresentable(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype units = (text.at(i).isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
        const QString ch = text.mid(i, units);
        if (!representable(ch))
            return ch;
        i += units - 1;
    }
    return QString();
}

}  // namespace Gbk

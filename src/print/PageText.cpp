#include "print/PageText.h"

#include "db/Gbk.h"

#include <QVector>

namespace {

struct Glyph {
    int offset;  // first byte
    int bytes;   // 1 for ASCII, 2 otherwise
};

// The characters that start within the first `limit` bytes.
QVector<Glyph> glyphs(const QString& value, int limit)
{
    QVector<Glyph> out;
    int offset = 0;
    for (qsizetype i = 0; i < value.size() && offset < limit; ++i) {
        const QChar ch = value.at(i);
        const int bytes = ch.unicode() < 0x80 ? 1 : 2;
        out.append({offset, bytes});
        offset += bytes;
        if (ch.isHighSurrogate() && i + 1 < value.size())
            ++i;
    }
    return out;
}

}  // namespace

void PageText::pad(int n)
{
    if (n > 0)
        text_ += QString(n, QLatin1Char(' '));
}

void PageText::newLine(int count)
{
    for (int i = 0; i < count; ++i)
        text_ += QLatin1Char('\n');
}

int PageText::cutPoint(const QString& value, int width)
{
    if (width <= 0)
        return 0;
    const QVector<Glyph> chars = glyphs(value, width);
    // The last character boundary that does not pass the width.
    int boundary = 0;
    bool anyAscii = false;
    for (const Glyph& g : chars) {
        if (g.offset + g.bytes <= width)
            boundary = g.offset + g.bytes;
        if (g.bytes == 1)
            anyAscii = true;
    }
    if (!anyAscii)
        return boundary;
    // An ASCII character among the last four bytes of the column starts the rest. Bytes
    // are classified by the character they belong to, so a second byte in the ASCII range
    // is never taken for one.
    for (int p = width - 1; p >= width - 4 && p > 0; --p) {
        for (const Glyph& g : chars) {
            if (g.offset == p && g.bytes == 1)
                return p;
        }
    }
    return boundary;
}

void PageText::put(const QString& value, int width, QString* rest)
{
    if (width < 0)
        width = 0;
    width += width % 2;
    if (rest)
        rest->clear();
    const int length = Gbk::byteLength(value);
    if (length <= width) {
        text_ += value;
        pad(width - length);
        return;
    }
    const int cut = cutPoint(value, width);
    const QString head = Gbk::leftBytes(value, cut);
    text_ += head;
    pad(width - cut);
    if (rest)
        *rest = value.mid(head.size());
}

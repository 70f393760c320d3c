#pragma once

#include <QByteArray>
#include <QString>

// GBK (code page 936) is the text of the database connection, of byte-counted
// layouts and of the limits that count bytes. Inside the program text is QString.
namespace Gbk {

// Encodes text as GBK. False when a character has no GBK form; `out` is then empty.
bool encode(const QString& text, QByteArray& out);

// Decodes GBK bytes; a broken sequence decodes to U+FFFD rather than being dropped.
QString decode(const char* data, qsizetype size);
inline QString decode(const QByteArray& bytes)
{
    return decode(bytes.constData(), bytes.size());
}

// True when every character of the text has a GBK form.
bool representable(const QString& text);

// Length of the text in GBK bytes; characters without a GBK form count as two.
int byteLength(const QString& text);

// The longest prefix of the text that fits into `bytes` GBK bytes, never splitting a character.
QString leftBytes(const QString& text, int bytes);

// The first character of the text that GBK cannot hold, or an empty string.
QString firstUnrepresentable(const QString& text);

}  // namespace Gbk

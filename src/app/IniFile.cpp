#include "app/IniFile.h"

#include "db/Gbk.h"
#include "ui/AppState.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>
#include <cerrno>
#include <cstring>

namespace {

bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QString unquote(QString v)
{
    v = v.trimmed();
    if (v.size() >= 2 && v.startsWith(QLatin1Char('"')) && v.endsWith(QLatin1Char('"')))
        v = v.mid(1, v.size() - 2);
    return v;
}

// A value that reading would change (blanks at its ends, enclosing quotes) is quoted; line
// breaks would end the line early and could forge other keys, so they become blanks.
QString quoted(QString v)
{
    v.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    if (v != v.trimmed() || (v.size() >= 2 && v.startsWith(QLatin1Char('"')) && v.endsWith(QLatin1Char('"'))))
        return QLatin1Char('"') + v + QLatin1Char('"');
    return v;
}

QString decodeText(const QByteArray& raw)
{
    if (raw.startsWith("\xFF\xFE") || raw.startsWith("\xFE\xFF")) {
        QStringDecoder utf16(raw.startsWith("\xFF") ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE);
        return QString(utf16(raw.mid(2)));
    }
    if (raw.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(raw.mid(3));
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(raw);
    // Not UTF-8: a file saved as "ANSI" on a Chinese system.
    return utf8.hasError() ? Gbk::decode(raw) : text;
}

bool writeAll(int fd, const QByteArray& data)
{
    qsizetype done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.constData() + done, static_cast<size_t>(data.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

}  // namespace

IniFile::IniFile(const QString& path) : path_(path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return;
    QString section;
    static const QRegularExpression kLineEnd(QStringLiteral("\r\n|\r|\n"));
    const QStringList text = decodeText(f.readAll()).split(kLineEnd);
    for (int i = 0; i < text.size(); ++i) {
        const QString raw = text[i];
        if (i == text.size() - 1 && raw.isEmpty())
            break;  // after the last line break
        Line line;
        line.text = raw;
        const QString t = raw.trimmed();
        if (t.startsWith(QLatin1Char('[')) && t.contains(QLatin1Char(']'))) {
            line.kind = Line::Kind::Section;
            section = t.mid(1, t.indexOf(QLatin1Char(']')) - 1).trimmed();
            line.section = section;
        } else if (!t.startsWith(QLatin1Char(';')) && t.contains(QLatin1Char('=')) && !section.isEmpty()) {
            line.kind = Line::Kind::Entry;
            line.section = section;
            line.key = t.left(t.indexOf(QLatin1Char('='))).trimmed();
            line.value = unquote(t.mid(t.indexOf(QLatin1Char('=')) + 1));
        }
        lines_.append(line);
    }
}

int IniFile::find(const QString& section, const QString& key) const
{
    for (int i = 0; i < lines_.size(); ++i)
        if (lines_[i].kind == Line::Kind::Entry && sameName(lines_[i].section, section) &&
            sameName(lines_[i].key, key))
            return i;
    return -1;
}

QString IniFile::value(const QString& section, const QString& key, const QString& fallback) const
{
    const int i = find(section, key);
    return i < 0 ? fallback : lines_[i].value;
}

bool IniFile::contains(const QString& section, const QString& key) const
{
    return find(section, key) >= 0;
}

void IniFile::setValue(const QString& section, const QString& key, const QString& value)
{
    const int i = find(section, key);
    if (i >= 0) {
        lines_[i].value = value;
        lines_[i].text.clear();
        return;
    }
    Line entry;
    entry.kind = Line::Kind::Entry;
    entry.section = section;
    entry.key = key;
    entry.value = value;
    // After the last entry of the section, or in a new section at the end.
    int at = -1;
    for (int j = 0; j < lines_.size(); ++j) {
        if (lines_[j].kind == Line::Kind::Section && sameName(lines_[j].section, section))
            at = j;
        else if (at >= 0 && lines_[j].kind == Line::Kind::Entry && sameName(lines_[j].section, section))
            at = j;
    }
    if (at >= 0) {
        lines_.insert(at + 1, entry);
        return;
    }
    Line header;
    header.kind = Line::Kind::Section;
    header.section = section;
    lines_.append(header);
    lines_.append(entry);
}

void IniFile::remove(const QString& section, const QString& key)
{
    for (int i = find(section, key); i >= 0; i = find(section, key))
        lines_.removeAt(i);
}

QString IniFile::render(const Line& line)
{
    switch (line.kind) {
        case Line::Kind::Section:
            return line.text.isEmpty() ? QLatin1Char('[') + line.section + QLatin1Char(']') : line.text;
        case Line::Kind::Entry:
            return line.text.isEmpty() ? line.key + QLatin1Char('=') + quoted(line.value) : line.text;
        case Line::Kind::Other:
            break;
    }
    return line.text;
}

bool IniFile::save(QString* why) const
{
    const auto fail = [why](int error) {
        if (why)
            *why = QString::fromLocal8Bit(std::strerror(error));
        return false;
    };
    QByteArray data;
    for (const Line& line : lines_)
        data += render(line).toUtf8() + "\r\n";

    // The temporary file is created owner-only, so the values are never readable by others.
    const QFileInfo info(path_);
    QByteArray temp =
        QFile::encodeName(QDir(info.absolutePath()).filePath(QStringLiteral(".Config.ini.XXXXXX")));
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return fail(errno);
    const bool written = ::fchmod(fd, 0600) == 0 && writeAll(fd, data) && ::fsync(fd) == 0;
    int error = written ? 0 : errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && ::rename(temp.constData(), QFile::encodeName(info.absoluteFilePath()).constData()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(temp.constData());
        return fail(error);
    }
    return true;
}

QString ConfigFileName()
{
    return g_workPath + QStringLiteral("Config.ini");
}

#include "db/WriteLog.h"

#include <QFile>

bool WriteLog(const QString& text, const QString& file)
{
    QFile f(file.isEmpty() ? QStringLiteral("测试日志.txt") : file);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    const QByteArray line = text.toUtf8() + "\r\n";
    return f.write(line) == line.size();
}

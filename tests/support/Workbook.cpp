#include "support/Workbook.h"

#include <gtest/gtest.h>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

namespace kvtest {

QString WorkbookCell::text() const
{
    if (type == QStringLiteral("int"))
        return QString::number(value.toLongLong());
    if (type == QStringLiteral("float"))
        return QString::number(value.toDouble(), 'g', 15);
    return value.toString();
}

QStringList WorkbookSheet::texts(int row) const
{
    QStringList out;
    for (const WorkbookCell& c : rows.value(row))
        out.append(c.text());
    while (!out.isEmpty() && out.last().isEmpty())
        out.removeLast();
    return out;
}

QVector<WorkbookSheet> readWorkbook(const QString& path)
{
    QProcess python;
    // Debian's python, which python3-openpyxl is installed for.
    python.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral(KV_SOURCE_DIR "/tests/support/read_workbook.py"), path});
    if (!python.waitForFinished(120000) || python.exitCode() != 0) {
        ADD_FAILURE() << "reading " << path.toStdString() << ": "
                      << python.readAllStandardError().toStdString();
        return {};
    }
    QVector<WorkbookSheet> sheets;
    for (const QJsonValue& s : QJsonDocument::fromJson(python.readAllStandardOutput()).array()) {
        const QJsonObject o = s.toObject();
        WorkbookSheet sheet{
            o.value(QStringLiteral("name")).toString(), o.value(QStringLiteral("freeze")).toString(), {}, {}};
        for (const QJsonValue& w : o.value(QStringLiteral("widths")).toArray())
            sheet.widths.append(w.toDouble());
        for (const QJsonValue& r : o.value(QStringLiteral("rows")).toArray()) {
            QVector<WorkbookCell> row;
            for (const QJsonValue& c : r.toArray()) {
                const QJsonObject x = c.toObject();
                row.append(
                    {x.value(QStringLiteral("type")).toString(), x.value(QStringLiteral("value")).toVariant(),
                     x.value(QStringLiteral("format")).toString(), x.value(QStringLiteral("bold")).toBool()});
            }
            sheet.rows.append(row);
        }
        sheets.append(sheet);
    }
    return sheets;
}

}  // namespace kvtest

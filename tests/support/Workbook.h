#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

namespace kvtest {

// A workbook as a spreadsheet program reads it (openpyxl, through tests/support/read_workbook.py).
struct WorkbookCell {
    QString type;  // "none", "str", "int", "float", "datetime"
    QVariant value;
    QString format;
    bool bold = false;
    // The value as text: numbers as Python writes them, moments "YYYY-MM-DD hh:mm:ss".
    QString text() const;
};
struct WorkbookSheet {
    QString name;
    QString freeze;  // the first cell that scrolls, "A2"; empty when nothing is frozen
    QVector<double> widths;
    QVector<QVector<WorkbookCell>> rows;
    // The cells' texts of a row, trailing empty cells left out.
    QStringList texts(int row) const;
};
// The sheets; empty after a failure, which fails the test.
QVector<WorkbookSheet> readWorkbook(const QString& path);

}  // namespace kvtest

#include "db/FillList.h"

#include "db/ListModel.h"
#include "db/Rows.h"
#include "db/mySQLTool.h"

#include <QVector>

FillResult FillList(mySQLTool& db, ListModel& list, const Statement& statement, bool clear,
                    const FillMatch& match)
{
    FillResult r;
    if (clear)
        list.clearRows();
    if (statement.empty())
        return r;
    if (!db.Query(statement, true)) {
        r.code = -1;
        r.message = db.GetError();
        r.caption = QStringLiteral("Error");
        return r;
    }
    const int fields = db.NumFields();
    if (fields != list.columns()) {
        db.FreeResult();
        r.code = -1;
        r.message = QStringLiteral("记录集与表格控件列数不符");
        r.caption = QStringLiteral("错误");
        return r;
    }

    // source[c] = result column shown in list column c (-1: none).
    QVector<int> source(list.columns());
    for (int c = 0; c < list.columns(); ++c) {
        if (!match.byHeader) {
            source[c] = c;
        } else if (c == 0) {
            source[c] = 0;
        } else {
            const QString caption = list.column(c).caption;
            source[c] = db.FindField(match.aliases.value(caption, caption));
        }
    }

    r.total = db.NumRows();
    QVector<QStringList> rows;
    while (rows.size() < kListCap && db.FetchRow()) {
        QStringList cells;
        cells.reserve(list.columns());
        for (int c = 0; c < list.columns(); ++c)
            cells.append(source[c] >= 0 ? db.Value(source[c]) : QString());
        rows.append(cells);
    }
    db.FreeResult();
    list.appendRows(rows);
    r.shown = static_cast<int>(rows.size());
    r.code = 1;
    return r;
}

FillResult FillList(ListModel& list, const Rows& rows, bool clear, const FillMatch& match)
{
    FillResult r;
    if (clear)
        list.clearRows();
    if (!rows) {
        r.code = -1;
        r.message = rows.error();
        r.caption = QStringLiteral("Error");
        return r;
    }
    if (rows.fields().size() != list.columns()) {
        r.code = -1;
        r.message = QStringLiteral("记录集与表格控件列数不符");
        r.caption = QStringLiteral("错误");
        return r;
    }
    QVector<int> source(list.columns());
    for (int c = 0; c < list.columns(); ++c) {
        const QString caption = list.column(c).caption;
        source[c] = !match.byHeader || c == 0 ? c : rows.field(match.aliases.value(caption, caption));
    }
    r.total = rows.total();
    QVector<QStringList> cells;
    for (int i = 0; i < rows.size() && cells.size() < kListCap; ++i) {
        QStringList row;
        row.reserve(list.columns());
        for (int c = 0; c < list.columns(); ++c)
            row.append(source[c] >= 0 ? rows.at(i).text(source[c]) : QString());
        cells.append(row);
    }
    list.appendRows(cells);
    r.shown = static_cast<int>(cells.size());
    r.code = 1;
    return r;
}

Statement limited(mySQLTool& db, const Statement& statement, quint64 offset, int count)
{
    return db.Format("%s limit %I64u, %d", statement, offset, count);
}

#include "db/FillList.h"

#include "db/ListModel.h"
#include "db/Rows.h"
#include "db/mySQLTool.h"

#include <QVector>

FillResult FillList(mySQLTool& db, ListModel& list, const Statement& statement, bool clear,
                    const FillMatch& match)
{
    if (statement.empty()) {
        if (clear)
            list.clearRows();
        return {};
    }
    return FillList(list, db.Read(statement, kListCap), clear, match);
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

#pragma once

#include "db/Statement.h"

#include <QHash>
#include <QString>

class ListModel;
class Rows;
class mySQLTool;

// Lists hold at most this many rows; query screens page through the rest.
inline constexpr int kListCap = 1024;
// One page of a statement that has no LIMIT: `count` rows from row `offset` on.
Statement limited(mySQLTool& db, const Statement& statement, quint64 offset, int count);

// What a fill did. code: 1 filled, 0 nothing to run, -1 failed; on failure `message` and
// `caption` say what the screen must show.
struct FillResult {
    int code = 0;
    quint64 total = 0;  // rows of the result
    int shown = 0;      // rows put into the list
    QString message;
    QString caption;
    bool ok() const { return code == 1; }
};

// How result columns are matched to list columns.
struct FillMatch {
    // By position (the default), or by the list column's caption, the first list column
    // always taking result column 0 and `aliases` mapping a caption to a result name.
    bool byHeader = false;
    QHash<QString, QString> aliases;
};

// The list-filling contract: with `clear` the list is emptied first, otherwise rows are
// appended; the result must have as many columns as the list ("记录集与表格控件列数不符");
// NULL cells stay empty; at most kListCap rows are put into the list.
FillResult FillList(mySQLTool& db, ListModel& list, const Statement& statement, bool clear,
                    const FillMatch& match = FillMatch());

// The same contract for rows read before (one answer of several read together).
FillResult FillList(ListModel& list, const Rows& rows, bool clear, const FillMatch& match = FillMatch());

#include "ui/Widgets.h"

#include "db/FillList.h"
#include "db/mySQLTool.h"
#include "ui/Prompt.h"

#include <QComboBox>
#include <QListWidget>

namespace {

// First column of each row, at most kListCap rows, a NULL skipped (no empty entry); false after
// a failure was shown.
bool firstColumn(const Rows& read, QStringList& out)
{
    out.clear();
    if (!prompt().report(read))
        return false;
    for (int i = 0; i < read.size() && i < kListCap; ++i)
        if (!read.at(i).isNull(0))
            out.append(read.at(i).text(0));
    return true;
}

bool firstColumn(mySQLTool& db, const Statement& statement, QStringList& out)
{
    return firstColumn(db.Read(statement, kListCap), out);
}

}  // namespace

bool FillCombo(mySQLTool& db, QComboBox& combo, const Statement& statement)
{
    combo.clear();
    QStringList items;
    if (!firstColumn(db, statement, items))
        return false;
    combo.addItems(items);
    combo.setCurrentIndex(-1);
    return true;
}

bool FillCombo(QComboBox& combo, const Rows& rows)
{
    combo.clear();
    QStringList items;
    if (!firstColumn(rows, items))
        return false;
    combo.addItems(items);
    combo.setCurrentIndex(-1);
    return true;
}

bool FillListBox(mySQLTool& db, QListWidget& list, const Statement& statement)
{
    list.clear();
    QStringList items;
    if (!firstColumn(db, statement, items))
        return false;
    list.addItems(items);
    return true;
}

bool SelectComboText(QComboBox& combo, const QString& text)
{
    const int i = combo.findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    combo.setCurrentIndex(i);
    return i >= 0;
}

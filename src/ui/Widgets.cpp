#include "ui/Widgets.h"

#include "db/FillList.h"
#include "db/mySQLTool.h"
#include "ui/Prompt.h"

#include <QComboBox>
#include <QListWidget>

namespace {

// First column of each row, at most kListCap rows, a NULL skipped (no empty entry); false after
// a failure was shown.
bool firstColumn(mySQLTool& db, const Statement& statement, QStringList& out)
{
    out.clear();
    const Rows read = db.Read(statement, kListCap);
    if (!prompt().report(read))
        return false;
    for (const Row& r : read)
        if (!r.isNull(0))
            out.append(r.text(0));
    return true;
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

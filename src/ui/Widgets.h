#pragma once

#include "db/Statement.h"

#include <QString>

class QComboBox;
class QListWidget;
class Rows;
class mySQLTool;

// Fills a drop-down list with the first column of each row (at most 1024 rows, in the
// server's order, a NULL skipped), emptying it first. A failed query shows the server's text.
bool FillCombo(mySQLTool& db, QComboBox& combo, const Statement& statement);
// The same from rows read before.
bool FillCombo(QComboBox& combo, const Rows& rows);
// The same for a list box.
bool FillListBox(mySQLTool& db, QListWidget& list, const Statement& statement);
// Selects the item whose text is exactly `text`; false (and no selection) when none is.
bool SelectComboText(QComboBox& combo, const QString& text);

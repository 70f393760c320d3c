#pragma once

#include <QString>

// The texts production management writes, checked against the columns' widths (db/Columns.h).
namespace textwidths {

// Why the text does not fit the column (too long, or a character GBK cannot hold); empty
// when it fits or the column is not a text column. `where` names the cell for the message,
// for example "第2行“名称”".
QString misfit(const char* table, const QString& column, const QString& text, const QString& where);

}  // namespace textwidths

#pragma once

#include <QString>

// What the text columns written by production management can hold, as sql/schema.sql declares
// them: VARCHAR(n) on a GBK table holds n characters, whatever their GBK byte length.
namespace textwidths {

// The characters the column holds; 0 for a column that is not a text column known here.
int maxChars(const char* table, const QString& column);

// Why the text does not fit the column (too long, or a character GBK cannot hold); empty
// when it fits. `where` names the cell for the message, for example "第2行“名称”".
QString misfit(const char* table, const QString& column, const QString& text, const QString& where);

}  // namespace textwidths

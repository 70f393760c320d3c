#pragma once

#include "db/Outcome.h"

#include <QString>
#include <initializer_list>

// The widths of the text columns of the database, in one place: what a VARCHAR(n) of a GBK
// table holds, n characters (a TEXT column: bytes). Every
// operation checks the texts it writes against them before it writes anything, so that
// no server cuts a text short (a non-strict one does so silently) or refuses it with its
// own English text. sql/schema.sql declares the same widths; a test holds them equal.
namespace columns {

// Width of a text column; 0 for a column not listed (fit() then fails).
int width(const char* table, const QString& column);
// The length of a text as a column of that width counts it.
int length(const QString& text, int width);

// One text about to be written into a column.
struct Text {
    const char* table;
    const char* column;
    QString value;
};

// Done when every text fits its column; otherwise refused, naming the first that does not
// and its width, in Chinese.
Outcome fit(std::initializer_list<Text> texts);

// The message for a text of `length` where `width` fit.
QString tooLong(const QString& column, int width, int length);

}  // namespace columns

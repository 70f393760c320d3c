#pragma once

#include <QString>

// Reading numbers from cells and edit boxes the way the screens need it: leading blanks
// are skipped, the number ends at the first character that does not belong to it, and
// text that is not a number counts as 0.
namespace convert {

int toInt(const QString& text);  // saturates at the int range
qint64 toInt64(const QString& text);
quint64 toId(const QString& text);     // a sign or anything not a digit first gives 0
double toDouble(const QString& text);  // a decimal point, whatever the desktop's numeric locale
float toFloat(const QString& text);    // single precision, as money is read from the screen

// True when the whole text (blanks around it allowed) is a whole number within the int range.
bool isInt(const QString& text);

}  // namespace convert
